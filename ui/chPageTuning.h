#pragma once

#include "ui/chPage.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;

// Page 1 of the channel panel, manual tuning: which carrier parameter the
// instrument's tuning input acts on, its range, and the input's live reading
// with a button that takes the tuned value over as the carrier.
class TchPageTuning : public TchPage {
  public:
    TchPageTuning(TframeCh* frame, QWidget* parent);

    // Parameter selector positions.
    enum TParamItem : int32_t { piAmpl = 0, piPhase = 1, piFreq = 2 };

    void cmbBox_TunerByPropertiesChange();
    void edtADCvalueButtonClick();
    void ApplyTuner();
    void ShowADCValue();
    // The tuner's last reading in the text ShowADCValue shows.
    QString ADCValueText() const;

    QComboBox* cmbBox_TunerBy = nullptr;
    QComboBox* cmbBox_TunerScale = nullptr;
    QLabel* lblADCparam = nullptr;
    QLineEdit* edtADCvalue = nullptr;
    QAction* actADCvalueTakeOver = nullptr;  // the button of edtADCvalue

  private:
    // The reading as a frequency in Hz on the channel's generator.
    double ReadingHz() const;
};
