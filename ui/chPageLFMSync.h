#pragma once

#include "ui/chPage.h"

class TLFMShape;
class TMaskEdit;

// Page 5 of the channel panel, shown by channel B's panel while both channels
// sweep: channel B's sweep is channel A's, shifted up by a frequency offset.
class TchPageLFMSync : public TchPage {
  public:
    TchPageLFMSync(TframeCh* frame, QWidget* parent);

    // Copies the other channel's sweep into this channel, raised by the
    // offset. The other channel's page must have been transferred first.
    void ApplySync();

    TLFMShape* imgLFMd = nullptr;
    TMaskEdit* edtLFM_freqDelta = nullptr;
};
