// The mode pages of the channel panel (tuning, internal and external
// modulation, the two sweep pages, keying). The pages exist and are switched
// by the mode selector; their controls and transfers are filled in here.
#include <QLabel>
#include <QLineEdit>

#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4Types.h"
#include "ui/frameCh.h"

void TframeCh::BuildModePages() {
    // Pages 1 to 6 are empty for now; each page builds its controls into
    // tabSh_Tuner, tabSh_IntMod, tabSh_ExtMod, tabSh_LFMm, tabSh_LFMd and
    // tabSh_xSK and sets the page control pointers declared in frameCh.h.
}

void TframeCh::InitModePages() {
    // Runs, in this order, the change handlers of the tuning parameter, the
    // external-modulation parameter, the internal-modulation parameter and
    // waveform selectors and the keying mode group, then shows the keying
    // times. Nothing to do while the pages are empty.
}

void TframeCh::ApplyModePage(int32_t mode) {
    switch (mode) {
        case ZGMdC_tuning:
        case ZGMdC_IntModulation:
        case ZGMdC_ExtModulation:
        case ZGMdC_ExtModulationA12:
        case ZGMdC_ExtModulationAB1:
        case ZGMdC_DDSMod:
            break;
        case ZGMdC_LFM:
            ApplyLFM();
            break;
        case ZGMdC_gen:
        default:
            break;
    }
}

void TframeCh::SyncModePages(int32_t mode) {
    const bool tuning = mode == ZGMdC_tuning;
    if (lblADCparam) lblADCparam->setVisible(tuning);
    if (edtADCvalue) edtADCvalue->setVisible(tuning);
}

void TframeCh::ShowADCValue() {}

void TframeCh::ApplyLFM() {}
