#pragma once

#include "ui/chPage.h"

class QLabel;
class TLFMShape;
class TMaskEdit;

// Page 4 of the channel panel, the ordinary sweep: the trapezoid picture with
// the upper and lower frequencies (MHz) and the four times (ms) on it. The
// lower frequency is the channel's carrier.
class TchPageLFM : public TchPage {
  public:
    TchPageLFM(TframeCh* frame, QWidget* parent);

    // Transfers the page into the sweep engine and the carrier: the top
    // first, then the bottom, then the four times.
    void ApplyOrdinary();
    // Redisplays what the engine and the channel hold.
    void ShowLFM();

    TLFMShape* imgLFM = nullptr;
    TMaskEdit* edtLFM_freqTop = nullptr;
    TMaskEdit* edtLFM_freqBot = nullptr;
    TMaskEdit* edtLFM_incT0 = nullptr;
    TMaskEdit* edtLFM_incT1 = nullptr;
    TMaskEdit* edtLFM_decT0 = nullptr;
    TMaskEdit* edtLFM_decT1 = nullptr;

  private:
    int TimeInMicroSec(const TMaskEdit* edit) const;
};
