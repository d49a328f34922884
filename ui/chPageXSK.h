#pragma once

#include <array>

#include "ui/chPage.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class TMaskEdit;

// Page 6 of the channel panel, DDS keying: binary or quaternary frequency or
// phase shift keying with a hold time per keyed value, or timed by the
// instrument's external inputs.
class TchPageXSK : public TchPage {
  public:
    TchPageXSK(TframeCh* frame, QWidget* parent);

    // Items of the mode group.
    enum TModeItem : int32_t { miBFSK = 0, miQFSK = 1, miBPSK = 2, miQPSK = 3 };

    int ModeItem() const;
    bool IsQuaternary() const;
    bool IsFrequencyKeying() const;

    void radGr_xSKmodeClick();
    void ChBox_xSKUseExtTimesPropertiesChange();

    void ApplyKeying();
    void ApplyKeyingFreqs();
    void ApplyKeyingPhases();
    void ApplyKeyingTimes();
    void ShowKeyingFreqs();
    void ShowKeyingPhases();
    void ShowKeyingTimes();

    QGroupBox* radGr_xSKmode = nullptr;
    QButtonGroup* xSKmodeButtons = nullptr;
    std::array<QRadioButton*, 4> xSKmodeItems{};
    std::array<QLabel*, 4> lbl_xSK_p{};
    std::array<TMaskEdit*, 4> edt_xSK_p{};
    std::array<QLabel*, 4> lbl_xSK_pdim{};
    std::array<QLabel*, 4> lbl_xSK_T{};
    std::array<TMaskEdit*, 4> edt_xSK_T{};
    std::array<QLabel*, 4> lbl_xSK_Tdim{};
    QCheckBox* ChBox_xSKUseExtTimes = nullptr;

  private:
    // Time rows enabled unless the external inputs time the keying.
    void EnableTimeRows();
};
