// The mode pages of the channel panel (tuning, internal and external
// modulation, the two sweep pages, keying): each page's contents is its own
// widget (ui/chPage*.h); here the panel builds them into pgCtrlChModes and
// dispatches its transfers and redisplays to them.
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4Types.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "ui/MaskEdit.h"
#include "ui/chPageExtMod.h"
#include "ui/chPageIntMod.h"
#include "ui/chPageLFM.h"
#include "ui/chPageLFMSync.h"
#include "ui/chPageTuning.h"
#include "ui/chPageXSK.h"
#include "ui/frameCh.h"

namespace {
template <class TPage>
TPage* AddPage(TframeCh* frame, QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new TPage(frame, tab);
    layout->addWidget(page);
    return page;
}
}  // namespace

void TframeCh::BuildModePages() {
    pageTuner = AddPage<TchPageTuning>(this, tabSh_Tuner);
    pageIntMod = AddPage<TchPageIntMod>(this, tabSh_IntMod);
    pageExtMod = AddPage<TchPageExtMod>(this, tabSh_ExtMod);
    pageLFMm = AddPage<TchPageLFM>(this, tabSh_LFMm);
    pageLFMd = AddPage<TchPageLFMSync>(this, tabSh_LFMd);
    pageXSK = AddPage<TchPageXSK>(this, tabSh_xSK);

    // Controls the carrier logic reads or adjusts.
    rdBtnIntMod_ramMK = pageIntMod->rdBtnIntMod_ramMK;
    rdBtnIntMod_ramDDS = pageIntMod->rdBtnIntMod_ramDDS;
    chBox_ExtModA12 = pageExtMod->chBox_ExtModA12;
    chBox_ExtModAB1 = pageExtMod->chBox_ExtModAB1;
    lblADCparam = pageTuner->lblADCparam;
    edtADCvalue = pageTuner->edtADCvalue;
    lblIntMod_RdsCnt = pageIntMod->lblIntMod_RdsCnt;
    edtLFM_freqBot = pageLFMm->edtLFM_freqBot;
}

void TframeCh::InitModePages() {
    // Channel B's panel has no controls of channel A's inputs.
    pageIntMod->InitPage();
    pageExtMod->InitPage();
    pageTuner->cmbBox_TunerByPropertiesChange();
    pageExtMod->cmbBox_ExtModByPropertiesChange();
    pageIntMod->cmbBox_IntModByPropertiesChange();
    pageIntMod->cmbBox_IntModFuncPropertiesChange();
    pageXSK->radGr_xSKmodeClick();
    pageXSK->ShowKeyingTimes();
}

void TframeCh::ApplyModePage(int32_t mode) {
    switch (mode) {
        case ZGMdC_tuning:
            pageTuner->ApplyTuner();
            break;
        case ZGMdC_IntModulation:
            pageIntMod->ApplyIntModulation();
            pageIntMod->ShowIntModulation();
            break;
        case ZGMdC_ExtModulation:
        case ZGMdC_ExtModulationA12:
        case ZGMdC_ExtModulationAB1:
            pageExtMod->ApplyExtModulation();
            break;
        case ZGMdC_LFM:
            ApplyLFM();
            break;
        case ZGMdC_DDSMod:
            if (Channel->DDSMod()->Mode() == ZGTMs_User) {
                pageIntMod->ApplyIntModDDS();
                pageIntMod->ShowIntModDDS();
            } else {
                pageXSK->ApplyKeying();
            }
            break;
        case ZGMdC_gen:
        default:
            break;
    }
}

void TframeCh::SyncModePages(int32_t mode) {
    pageIntMod->ShowReadingsCount(static_cast<TZyGen4ModesCommon>(mode));
}

void TframeCh::ShowADCValue() {
    pageTuner->ShowADCValue();
}

void TframeCh::ApplyLFM() {
    // The page shown decides, not the other channel's state.
    if (pgCtrlChModes->currentIndex() == pgLFMd) {
        if (OnLFMPrepare) OnLFMPrepare(this);
        pageLFMd->ApplySync();
    } else {
        pageLFMm->ApplyOrdinary();
    }
    pageLFMm->ShowLFM();
}
