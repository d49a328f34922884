#pragma once

#include "ui/chPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class TMaskEdit;

// Page 2 of the channel panel, internal modulation: a sine, triangle or
// rectangle modulating frequency, phase or amplitude, played from the
// microcontroller's memory ("ОЗУ МК", the internal-modulation engine) or from
// the DDS memory ("ОЗУ ЦВС", the keying engine in user mode).
class TchPageIntMod : public TchPage {
  public:
    TchPageIntMod(TframeCh* frame, QWidget* parent);

    // Positions of the parameter and waveform selectors.
    enum TParamItem : int32_t { piFreq = 0, piPhase = 1, piAmpl = 2 };
    enum TFuncItem : int32_t { fiSin = 0, fiTriangle = 1, fiRect = 2 };

    // Per-channel layout, once the panel knows its channel: the duplex box
    // belongs to channel A's panel only.
    void InitPage();

    void rdBtnIntMod_ramXXXClick();
    void cmbBox_IntModByPropertiesChange();
    void cmbBox_IntModFuncPropertiesChange();
    void chBox_IntModDuplexABPropertiesChange();

    void ApplyIntModulation();
    void ShowIntModulation();
    void ApplyIntModDDS();
    void ShowIntModDDS();
    // Writes the depth edit from the internal-modulation engine, or from the
    // keying engine when `fromDDS`.
    void ShowModDepth(TZyGen4AFPModes param, bool fromDDS);
    // The readings counter after a generator update.
    void ShowReadingsCount(TZyGen4ModesCommon mode);

    static TZyGen4AFPModes ParamOf(int item);
    static TMathFuncsTypes FuncOf(int item);

    QRadioButton* rdBtnIntMod_ramMK = nullptr;
    QRadioButton* rdBtnIntMod_ramDDS = nullptr;
    QLabel* lblIntMod_RdsCnt = nullptr;
    QLabel* lblIntMod_RdsCntMin = nullptr;
    TMaskEdit* edtIntMod_RdsCntMin = nullptr;
    QComboBox* cmbBox_IntModFunc = nullptr;
    QComboBox* cmbBox_IntModBy = nullptr;
    TMaskEdit* edt_IntModFm = nullptr;
    QLabel* lblIntMod_ParamDeep = nullptr;
    TMaskEdit* edtIntMod_DeepParam = nullptr;
    QLabel* lblIntMod_ParamDeepDim = nullptr;
    QLabel* lblIntMod_OffDuty = nullptr;
    TMaskEdit* edtIntMod_OffDuty = nullptr;
    QCheckBox* chBox_IntModDuplexAB = nullptr;

  private:
    bool IsChannelA() const;
    // Reads the shape edit for the chosen waveform, replacing a value out of
    // range; returns the CC to set, or a negative value for the sine.
    double ShapeCC();
    void ShowShape(TMathFuncsTypes func, double cc);
};
