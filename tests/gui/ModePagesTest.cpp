// The mode pages of the channel panels, driven through the window: the values
// the pages write into the engines, their lists, labels and visibility, and
// every channel mode run against the virtual instrument.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <algorithm>
#include <functional>

#include "gen4/ZyGen4Options.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "sim/VirtualInstrument.h"
#include "tests/fixtures/GuiFixture.h"
#include "ui/MaskEdit.h"
#include "ui/chPageExtMod.h"
#include "ui/chPageIntMod.h"
#include "ui/chPageLFM.h"
#include "ui/chPageLFMSync.h"
#include "ui/chPageTuning.h"
#include "ui/chPageXSK.h"

namespace {

void SetText(QLineEdit* edit, const char* text) {
    edit->setText(QString::fromUtf8(text));
}

}  // namespace

class ModePagesTest : public GuiFixture {
  protected:
    // Connected, channel A's output on, channel A's selector on `item`.
    void StartWithMode(int item, bool russian = false) {
        if (russian) QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        Start();
        Connect();
        // Below full level, so that amplitude modulation raises no overmodulation question.
        A()->edtAmpl->setEditText(QStringLiteral("-10"));
        A()->actCh_SetMode->trigger();
        A()->cmbBoxChMode->setCurrentIndex(item);
    }

    TZyGen4DDSMod* KeyA() const { return Gen()->ChA()->DDSMod(); }
};

TEST_F(ModePagesTest, RangeListsGiveTheScaleCodes) {
    StartWithMode(TframeCh::miTuning);
    struct {
        int param;
        std::vector<int> scales;
        const char* first;
        const char* last;
    } lists[] = {
        {0, {18, 19, 20}, "±12,5%", "±50%"},
        {1, {15, 16, 17, 18, 19, 20}, "±5,5°", "±180°"},
        {2, {1, 4, 7, 10, 12, 14}, "±92 Гц", "±750 кГц"},
    };
    TchPageTuning* tuner = A()->pageTuner;
    TchPageExtMod* ext = A()->pageExtMod;
    for (const auto& l : lists) {
        SCOPED_TRACE(l.param);
        // Tuning page: choosing the parameter resets the range to its first item.
        A()->cmbBoxChMode->setCurrentIndex(TframeCh::miTuning);
        tuner->cmbBox_TunerBy->setCurrentIndex(l.param);
        ASSERT_EQ(tuner->cmbBox_TunerScale->count(), static_cast<int>(l.scales.size()));
        EXPECT_EQ(tuner->cmbBox_TunerScale->itemText(0), QString::fromUtf8(l.first));
        EXPECT_EQ(tuner->cmbBox_TunerScale->itemText(l.scales.size() - 1),
                  QString::fromUtf8(l.last));
        EXPECT_EQ(tuner->cmbBox_TunerScale->currentIndex(), 0);
        EXPECT_EQ(Gen()->ChA()->Tuner()->Scale(), l.scales[0]);
        for (size_t i = 0; i < l.scales.size(); ++i) {
            tuner->cmbBox_TunerScale->setCurrentIndex(static_cast<int>(i));
            EXPECT_EQ(Gen()->ChA()->Tuner()->Scale(), l.scales[i]) << i;
        }
        // External-modulation page: the same lists and codes.
        A()->cmbBoxChMode->setCurrentIndex(TframeCh::miExtMod);
        ext->cmbBox_ExtModBy->setCurrentIndex(l.param);
        ASSERT_EQ(ext->cmbBox_ExtModScale->count(), static_cast<int>(l.scales.size()));
        for (size_t i = 0; i < l.scales.size(); ++i) {
            ext->cmbBox_ExtModScale->setCurrentIndex(static_cast<int>(i));
            EXPECT_EQ(Gen()->ChA()->ExtModulation()->Scale(), l.scales[i]) << i;
        }
    }
    EXPECT_EQ(Gen()->ChA()->Tuner()->Type(), ZGAFPms_freq);
    EXPECT_EQ(Gen()->ChA()->ExtModulation()->Type(), ZGAFPms_freq);
    EXPECT_EQ(ext->lblExtMod_ParamDeep->text(), "Девиация частоты");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ModePagesTest, TunerReadingShownByRangeAndTakenOver) {
    StartWithMode(TframeCh::miTuning);
    TchPageTuning* page = A()->pageTuner;
    EXPECT_FALSE(page->edtADCvalue->isHidden());  // tuning mode shows the reading
    page->cmbBox_TunerBy->setCurrentIndex(TchPageTuning::piFreq);
    const std::vector<uint8_t> reading = {0x00, 0x07, 0xFF, 0xFF};  // 48828,125 Hz

    // Whole hertz in every range, narrow or wide.
    for (int range : {2, 3}) {
        page->cmbBox_TunerScale->setCurrentIndex(range);
        driver.QueueRead(reading);
        Gen()->ChA()->Tuner()->ADCTimer();  // the data module shows it
        EXPECT_EQ(page->edtADCvalue->text(), "48828 Гц");
    }
    page->actADCvalueTakeOver->trigger();
    EXPECT_NEAR(Gen()->ChA()->Frequency(), 48.828125, 1e-6);
    EXPECT_TRUE(A()->edtFreq->text().startsWith("0.04882812"))
        << A()->edtFreq->text().toStdString();

    // Amplitude and phase come in the first two bytes.
    page->cmbBox_TunerBy->setCurrentIndex(TchPageTuning::piAmpl);
    driver.QueueRead({0x1F, 0xFF, 0x00, 0x00});  // code 8191: 50 %
    Gen()->ChA()->Tuner()->ADCTimer();
    EXPECT_EQ(page->edtADCvalue->text(), "-6.021 dB");
    EXPECT_EQ(page->lblADCparam->text(), "Амплитуда");
    page->cmbBox_TunerBy->setCurrentIndex(TchPageTuning::piPhase);
    driver.QueueRead({0x10, 0x00, 0x00, 0x00});  // code 4096: 90°
    Gen()->ChA()->Tuner()->ADCTimer();
    EXPECT_EQ(page->edtADCvalue->text(), "90.00 °");
    page->actADCvalueTakeOver->trigger();
    EXPECT_DOUBLE_EQ(Gen()->ChA()->Phase(), 90.0);
    EXPECT_TRUE(messages.empty());

    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);
    EXPECT_TRUE(page->edtADCvalue->isHidden());
}

// The reading shows every digit the tuning moves: whole hertz of a carrier
// of many MHz, and the level and phase to the size of their step.
TEST_F(ModePagesTest, TunerReadingKeepsTheDigitsThatMove) {
    const QString nbsp(QChar(0x00A0));
    struct {
        const char* name;
        bool russian;
        int param;
        std::vector<uint8_t> reading;
        QString shown;
    } cases[] = {
        {"10 MHz tuned by ±92 Hz",
         false,
         TchPageTuning::piFreq,
         {0x06, 0x66, 0x68, 0x59},
         "10000047 Гц"},
        {"the same, grouped",
         true,
         TchPageTuning::piFreq,
         {0x06, 0x66, 0x68, 0x59},
         "10" + nbsp + "000" + nbsp + "047 Гц"},
        {"200 MHz", false, TchPageTuning::piFreq, {0x7F, 0xFF, 0xFF, 0xFF}, "200000000 Гц"},
        {"lowest level: 6 dB steps", true, TchPageTuning::piAmpl, {0x00, 0x00, 0, 0}, "-84 dB"},
        {"full level: steps of 0.0005 dB",
         false,
         TchPageTuning::piAmpl,
         {0x3F, 0xFF, 0, 0},
         "0.0000 dB"},
        {"phase: steps of 0.022°", true, TchPageTuning::piPhase, {0x10, 0x01, 0, 0}, "90,02 °"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithMode(TframeCh::miTuning, c.russian);
        TchPageTuning* page = A()->pageTuner;
        page->cmbBox_TunerBy->setCurrentIndex(c.param);
        driver.QueueRead(c.reading);
        Gen()->ChA()->Tuner()->ADCTimer();
        EXPECT_EQ(page->edtADCvalue->text(), c.shown);
        Stop();
        QLocale::setDefault(QLocale::c());
    }
}

TEST_F(ModePagesTest, DdsMemoryDropsAmplitudeAndMicrocontrollerMemoryRestoresIt) {
    StartWithMode(TframeCh::miIntMod);
    TchPageIntMod* page = A()->pageIntMod;
    EXPECT_FALSE(page->chBox_IntModDuplexAB->isHidden());
    EXPECT_TRUE(page->edtIntMod_RdsCntMin->isHidden());
    EXPECT_TRUE(B()->pageIntMod->chBox_IntModDuplexAB->isHidden());

    page->cmbBox_IntModBy->setCurrentIndex(TchPageIntMod::piAmpl);
    EXPECT_EQ(page->lblIntMod_ParamDeep->text(), "Глубина модуляции");
    EXPECT_EQ(page->lblIntMod_ParamDeepDim->text(), "%");
    EXPECT_EQ(Gen()->ChA()->IntModulation()->Type(), ZGAFPms_ampl);

    page->rdBtnIntMod_ramDDS->click();
    EXPECT_EQ(page->cmbBox_IntModBy->count(), 2);
    EXPECT_EQ(page->cmbBox_IntModBy->currentText(), "Частота");
    EXPECT_EQ(page->lblIntMod_ParamDeep->text(), "Девиация частоты");
    EXPECT_TRUE(page->chBox_IntModDuplexAB->isHidden());
    EXPECT_FALSE(page->edtIntMod_RdsCntMin->isHidden());
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_DDSMod);
    EXPECT_EQ(KeyA()->Mode(), ZGTMs_User);
    EXPECT_EQ(KeyA()->Type(), ZGAFPms_freq);
    // The readings counter shows the keying engine's count in use.
    EXPECT_EQ(page->lblIntMod_RdsCnt->text(), QString::number(KeyA()->N()));
    EXPECT_GT(KeyA()->N(), 0);

    page->rdBtnIntMod_ramMK->click();
    EXPECT_EQ(page->cmbBox_IntModBy->count(), 3);
    EXPECT_EQ(page->cmbBox_IntModBy->itemText(2), "Амплитуда");
    EXPECT_EQ(page->cmbBox_IntModBy->currentText(), "Частота");
    EXPECT_FALSE(page->chBox_IntModDuplexAB->isHidden());
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_IntModulation);
    EXPECT_EQ(page->lblIntMod_RdsCnt->text(),
              QString::number(Gen()->ChA()->IntModulation()->RdsCnt()));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ModePagesTest, ShapeValuesOutOfRangeAreReplaced) {
    StartWithMode(TframeCh::miIntMod);
    TchPageIntMod* page = A()->pageIntMod;
    EXPECT_TRUE(page->edtIntMod_OffDuty->isHidden());
    page->cmbBox_IntModFunc->setCurrentIndex(TchPageIntMod::fiRect);
    EXPECT_FALSE(page->edtIntMod_OffDuty->isHidden());
    EXPECT_EQ(page->lblIntMod_OffDuty->text(), "Скважность");

    struct {
        int func;
        const char* typed;
        double cc;
        const char* shown;
    } cases[] = {
        {TchPageIntMod::fiRect, "20", 1.0, "1"},
        {TchPageIntMod::fiRect, "4", 0.25, "4"},
        {TchPageIntMod::fiTriangle, "1.5", 0.5, "0.5"},
        {TchPageIntMod::fiTriangle, "0.2", 0.2, "0.2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        page->cmbBox_IntModFunc->setCurrentIndex(c.func);
        SetText(page->edtIntMod_OffDuty, c.typed);
        frm->UpdateChannels();
        EXPECT_DOUBLE_EQ(Gen()->ChA()->IntModulation()->GetCC(), c.cc);
        EXPECT_EQ(page->edtIntMod_OffDuty->text(), QString::fromUtf8(c.shown));
    }
    EXPECT_EQ(page->lblIntMod_OffDuty->text(), "Коэффициент");
    EXPECT_EQ(Gen()->ChA()->IntModulation()->GetMathFuncType(), ZMFT_triangle);
}

TEST_F(ModePagesTest, DepthInBothMemoriesUnderACommaLocale) {
    StartWithMode(TframeCh::miIntMod, true);
    TchPageIntMod* page = A()->pageIntMod;
    SetText(page->edtIntMod_DeepParam, "0,5");
    SetText(page->edt_IntModFm, "2");
    frm->UpdateChannels();
    EXPECT_EQ(Gen()->ChA()->IntModulation()->dF(), 500);
    EXPECT_EQ(Gen()->ChA()->IntModulation()->Fm(), 2000);
    EXPECT_EQ(page->edtIntMod_DeepParam->text(), "0,5");

    page->rdBtnIntMod_ramDDS->click();  // shows the keying engine's depth
    SetText(page->edtIntMod_DeepParam, "0,5");
    SetText(page->edtIntMod_RdsCntMin, "64");
    frm->UpdateChannels();
    EXPECT_DOUBLE_EQ(KeyA()->dF(), 500.0);
    EXPECT_DOUBLE_EQ(KeyA()->Fm(), 2000.0);
    EXPECT_EQ(KeyA()->ReadingsCntMin(), 64);
    EXPECT_EQ(page->edtIntMod_DeepParam->text(), "0,5");

    // The readings minimum must be a whole number.
    SetText(page->edtIntMod_RdsCntMin, "");
    frm->act_UpdateChls->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(KeyA()->ReadingsCntMin(), 64);
}

TEST_F(ModePagesTest, DuplexMovesChannelBToInternalModulation) {
    StartWithMode(TframeCh::miIntMod);
    B()->actCh_SetMode->trigger();
    A()->pageIntMod->chBox_IntModDuplexAB->click();
    EXPECT_TRUE(Gen()->Options()->EnableDuplexIntMod());
    EXPECT_EQ(B()->cmbBoxChMode->currentIndex(), TframeCh::miIntMod);
    EXPECT_EQ(B()->pgCtrlChModes->currentIndex(), TframeCh::pgIntMod);
    // Only the selector moved: channel B is transferred with the next update.
    EXPECT_EQ(Gen()->ChB()->Mode(), ZGMdC_gen);
}

TEST_F(ModePagesTest, ExternalInputChoicesExcludeEachOther) {
    StartWithMode(TframeCh::miExtMod);
    TchPageExtMod* page = A()->pageExtMod;
    page->chBox_ExtModA12->click();
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_ExtModulationA12);
    page->chBox_ExtModAB1->click();
    EXPECT_FALSE(page->chBox_ExtModA12->isChecked());
    EXPECT_TRUE(page->chBox_ExtModAB1->isChecked());
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_ExtModulationAB1);
    page->chBox_ExtModA12->click();
    EXPECT_FALSE(page->chBox_ExtModAB1->isChecked());
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_ExtModulationA12);
    page->chBox_ExtModA12->click();
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_ExtModulation);

    for (QCheckBox* box : {B()->pageExtMod->chBox_ExtModA12, B()->pageExtMod->chBox_ExtModAB1}) {
        EXPECT_TRUE(box->isHidden());
        EXPECT_FALSE(box->isEnabled());
    }
}

TEST_F(ModePagesTest, OrdinarySweepTransfersAndRedisplays) {
    StartWithMode(TframeCh::miLFM, true);
    TchPageLFM* page = A()->pageLFMm;
    EXPECT_EQ(A()->pgCtrlChModes->currentIndex(), TframeCh::pgLFMm);
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_LFM);
    EXPECT_EQ(Gen()->ChA()->LFM()->FreqTop(), 2000);
    EXPECT_DOUBLE_EQ(Gen()->ChA()->Frequency(), 1000.0);
    const TZyGen4LFM* lfm = Gen()->ChA()->LFM();
    for (int t : {lfm->Tinc0(), lfm->Tinc1(), lfm->Tdec0(), lfm->Tdec1()}) EXPECT_EQ(t, 1000);
    EXPECT_EQ(page->edtLFM_freqTop->text(), "2");
    EXPECT_EQ(page->edtLFM_freqBot->text(), "1");
    EXPECT_EQ(page->edtLFM_incT0->text(), "1");
    EXPECT_FALSE(A()->edtFreq->isEnabled());

    SetText(page->edtLFM_incT1, "2,5");
    SetText(page->edtLFM_decT0, "1,005");  // no loss to the binary fraction
    frm->UpdateChannels();
    EXPECT_EQ(lfm->Tinc1(), 2500);
    EXPECT_EQ(lfm->Tdec0(), 1005);
    EXPECT_EQ(page->edtLFM_incT1->text(), "2,5");
    EXPECT_EQ(page->edtLFM_decT0->text(), "1,005");

    // Outside the sweep the carrier feeds the lower frequency edit.
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);
    SetText(A()->edtFreq, "3");
    frm->UpdateChannels();
    EXPECT_EQ(page->edtLFM_freqBot->text(), "3");
}

TEST_F(ModePagesTest, SynchronousSweepCopiesChannelAWithTheOffset) {
    StartWithMode(TframeCh::miNone, true);
    B()->actCh_SetMode->trigger();
    TchPageLFM* pageA = A()->pageLFMm;
    SetText(pageA->edtLFM_incT0, "1");
    SetText(pageA->edtLFM_incT1, "2");
    SetText(pageA->edtLFM_decT0, "3");
    SetText(pageA->edtLFM_decT1, "4");
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    ASSERT_DOUBLE_EQ(Gen()->ChB()->Frequency(), 1000.0);

    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    EXPECT_EQ(B()->pgCtrlChModes->currentIndex(), TframeCh::pgLFMd);
    EXPECT_EQ(B()->pageLFMd->edtLFM_freqDelta->text(), "0,5");
    const TZyGen4LFM* b = Gen()->ChB()->LFM();
    EXPECT_EQ(Gen()->ChB()->Mode(), ZGMdC_LFM);
    EXPECT_EQ(b->FreqTop(), 2500);
    EXPECT_DOUBLE_EQ(Gen()->ChB()->Frequency(), 1500.0);
    EXPECT_EQ(b->Tinc0(), 1000);
    EXPECT_EQ(b->Tinc1(), 2000);
    EXPECT_EQ(b->Tdec0(), 3000);
    EXPECT_EQ(b->Tdec1(), 4000);
    EXPECT_EQ(B()->pageLFMm->edtLFM_freqTop->text(), "2,5");
    EXPECT_EQ(B()->pageLFMm->edtLFM_freqBot->text(), "1,5");

    // Channel A's page is transferred first: a change there reaches B at once.
    SetText(pageA->edtLFM_freqTop, "3");
    frm->UpdateChannels();
    EXPECT_EQ(b->FreqTop(), 3500);

    // Channel A leaving the sweep gives channel B its ordinary page back.
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);
    EXPECT_EQ(B()->pgCtrlChModes->currentIndex(), TframeCh::pgLFMm);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ModePagesTest, KeyingLayoutsFollowTheMode) {
    StartWithMode(TframeCh::miXSK);
    TchPageXSK* page = A()->pageXSK;
    EXPECT_TRUE(page->edt_xSK_p[2]->isHidden());
    EXPECT_TRUE(page->edt_xSK_T[3]->isHidden());

    page->xSKmodeItems[TchPageXSK::miQPSK]->click();
    EXPECT_EQ(KeyA()->Mode(), ZGTMs_QxSK);
    EXPECT_EQ(KeyA()->Type(), ZGAFPms_phase);
    const char* phases[] = {"0", "180", "90", "270"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(page->edt_xSK_p[k]->text(), phases[k]);
        EXPECT_EQ(page->lbl_xSK_p[k]->text(), QStringLiteral("Ph%1").arg(k + 1));
        EXPECT_EQ(page->lbl_xSK_pdim[k]->text(), "°");
        EXPECT_FALSE(page->edt_xSK_p[k]->isHidden());
        EXPECT_FALSE(page->edt_xSK_T[k]->isHidden());
    }

    page->xSKmodeItems[TchPageXSK::miBFSK]->click();
    EXPECT_EQ(KeyA()->Mode(), ZGTMs_BxSK);
    EXPECT_EQ(KeyA()->Type(), ZGAFPms_freq);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(page->edt_xSK_p[k]->text(), "1");  // 1000 kHz in MHz
        EXPECT_EQ(page->lbl_xSK_p[k]->text(), QStringLiteral("F%1").arg(k + 1));
        EXPECT_EQ(page->lbl_xSK_pdim[k]->text(), "МГц");
        EXPECT_EQ(page->edt_xSK_p[k]->isHidden(), k >= 2);
        EXPECT_EQ(page->lbl_xSK_Tdim[k]->isHidden(), k >= 2);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(ModePagesTest, KeyingTimesAndExternalTiming) {
    StartWithMode(TframeCh::miXSK);
    TchPageXSK* page = A()->pageXSK;
    page->xSKmodeItems[TchPageXSK::miQFSK]->click();
    SetText(page->edt_xSK_T[0], "1");
    SetText(page->edt_xSK_T[1], "2.5");
    SetText(page->edt_xSK_T[2], "1.005");
    SetText(page->edt_xSK_p[3], "12.5");
    frm->UpdateChannels();
    EXPECT_DOUBLE_EQ(KeyA()->T1(), 1000.0);
    EXPECT_DOUBLE_EQ(KeyA()->T2(), 2500.0);
    EXPECT_DOUBLE_EQ(KeyA()->T3(), 1005.0);
    EXPECT_DOUBLE_EQ(KeyA()->F4(), 12500.0);
    EXPECT_EQ(page->edt_xSK_T[2]->text(), "1.005");

    page->ChBox_xSKUseExtTimes->click();
    EXPECT_TRUE(KeyA()->UseExtTimes());
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(page->edt_xSK_T[k]->isEnabled());
        EXPECT_FALSE(page->lbl_xSK_T[k]->isEnabled());
        EXPECT_TRUE(page->edt_xSK_p[k]->isEnabled());
    }
    page->ChBox_xSKUseExtTimes->click();
    EXPECT_FALSE(KeyA()->UseExtTimes());
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(page->edt_xSK_T[k]->isEnabled());

    // A value that is no number stops the transfer there: the values before
    // it are set, the ones after it are not.
    SetText(page->edt_xSK_p[0], "2");
    SetText(page->edt_xSK_p[2], "");
    SetText(page->edt_xSK_p[3], "3");
    frm->act_UpdateChls->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_DOUBLE_EQ(KeyA()->F1(), 2000.0);
    EXPECT_DOUBLE_EQ(KeyA()->F4(), 12500.0);
}

// Rows that come and go with the operator's choices neither grow nor widen
// the window, whose size cannot be changed otherwise.
TEST_F(ModePagesTest, WindowKeepsItsSizeWhateverThePagesShow) {
    StartWithMode(TframeCh::miNone);
    frm->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
    const QSize size = frm->sizeHint();
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miIntMod);
    A()->pageIntMod->cmbBox_IntModFunc->setCurrentIndex(TchPageIntMod::fiRect);
    EXPECT_EQ(frm->sizeHint(), size);
    A()->pageIntMod->rdBtnIntMod_ramDDS->click();
    EXPECT_EQ(frm->sizeHint(), size);
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miXSK);
    A()->pageXSK->xSKmodeItems[TchPageXSK::miQPSK]->click();
    EXPECT_EQ(frm->sizeHint(), size);
}

TEST_F(ModePagesTest, PageEditsTakeTheirMasksAndTheSeparatorFix) {
    StartWithMode(TframeCh::miXSK, true);
    TchPageXSK* xsk = A()->pageXSK;
    struct {
        TMaskEdit* edit;
        const char* typed;
        const char* kept;  // after typing and leaving the edit
    } cases[] = {
        {A()->pageLFMm->edtLFM_incT1, "2.5", "2,5"},
        {A()->pageLFMm->edtLFM_freqTop, "12.12345678", "12,1234567"},  // 7 decimals
        {xsk->edt_xSK_T[0], "12345.1", "1234,1"},                      // 4 integer digits
        {xsk->edt_xSK_p[0], "-1.5", "1,5"},                            // no sign
        {A()->pageIntMod->edtIntMod_RdsCntMin, "12a345", "1234"},
        {A()->pageLFMd->edtLFM_freqDelta, "0.25", "0,25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        c.edit->clear();
        QTest::keyClicks(c.edit, QString::fromUtf8(c.typed));
        c.edit->ValidateEdit();
        EXPECT_EQ(c.edit->text(), QString::fromUtf8(c.kept));
    }
    // Phase keying binds the value edits to the phase mask: 3 decimals.
    xsk->xSKmodeItems[TchPageXSK::miBPSK]->click();
    xsk->edt_xSK_p[1]->clear();
    QTest::keyClicks(xsk->edt_xSK_p[1], "45.12345");
    EXPECT_EQ(xsk->edt_xSK_p[1]->text(), "45.123");
    // The modulating frequency edit takes any text and is not fixed.
    TMaskEdit* fm = A()->pageIntMod->edt_IntModFm;
    fm->clear();
    QTest::keyClicks(fm, "1.5");
    fm->ValidateEdit();
    EXPECT_EQ(fm->text(), "1.5");
}

// Every channel mode run from the window against the virtual instrument: what
// the instrument decoded matches what the pages show.
class ModePagesSimTest : public ModePagesTest {
  protected:
    void StartSim() {
        WriteOptions("[Common]\nAutoConnect=0\n");
        dm = std::make_unique<TDMmain>(sim, ticks, timers, OptionsPath().toStdString());
        frm = std::make_unique<TfrmMain>(dm.get());
        frm->SetGenActive(true);
        A()->edtAmpl->setEditText(QStringLiteral("-10"));
        B()->edtAmpl->setEditText(QStringLiteral("-10"));
        A()->actCh_SetMode->trigger();
        B()->actCh_SetMode->trigger();
    }

    std::string Value(const std::string& key) const {
        for (const std::string& line : sim.StateLines())
            if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
        return "<missing " + key + ">";
    }

    // Frequencies match within one step of the 32-bit frequency code.
    void ExpectValue(const std::string& key, const std::string& expected) const {
        const std::string got = Value(key);
        if (key.size() > 3 && key.compare(key.size() - 3, 3, "_hz") == 0)
            EXPECT_NEAR(std::stod(got), std::stod(expected), 0.1) << key;
        else
            EXPECT_EQ(got, expected) << key;
    }

    TVirtualInstrument sim;
};

// Top and bottom typed below the old carrier both reach the instrument: the
// engine refuses a top under the carrier it still holds, so the order of the
// transfer decides.
TEST_F(ModePagesSimTest, TypedSweepBelowTheCarrierIsSwept) {
    StartSim();
    SetText(A()->edtFreq, "10");
    SetText(B()->edtFreq, "10");
    frm->UpdateChannels();
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    TchPageLFM* page = A()->pageLFMm;
    SetText(page->edtLFM_freqTop, "2");
    SetText(page->edtLFM_freqBot, "1");
    frm->UpdateChannels();
    ExpectValue("A.lfm.top_hz", "2000000");
    ExpectValue("A.frequency_hz", "1000000");
    EXPECT_EQ(page->edtLFM_freqTop->text(), "2");
    EXPECT_EQ(page->edtLFM_freqBot->text(), "1");

    // Channel B's synchronous sweep follows channel A's the same way.
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    ExpectValue("B.lfm.top_hz", "2500000");
    ExpectValue("B.frequency_hz", "1500000");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ModePagesSimTest, EveryModeRunsOnTheInstrument) {
    StartSim();
    TframeCh* a = A();
    struct TStep {
        const char* name;
        std::function<void()> drive;
        std::vector<std::pair<std::string, std::string>> expect;
    } steps[] = {
        {"tuning",
         [&] {
             a->cmbBoxChMode->setCurrentIndex(TframeCh::miTuning);
             a->pageTuner->cmbBox_TunerBy->setCurrentIndex(TchPageTuning::piPhase);
             a->pageTuner->cmbBox_TunerScale->setCurrentIndex(1);
         },
         {{"A.mode", "ZGMdC_tuning"}, {"A.tune.param", "phase"}, {"A.tune.scale", "16"}}},
        {"internal modulation, microcontroller memory",
         [&] {
             a->cmbBoxChMode->setCurrentIndex(TframeCh::miIntMod);
             a->pageIntMod->cmbBox_IntModBy->setCurrentIndex(TchPageIntMod::piPhase);
         },
         {{"A.mode", "ZGMdC_IntModulation"}, {"A.intmod.param", "phase"}}},
        {"internal modulation, DDS memory",
         [&] { a->pageIntMod->rdBtnIntMod_ramDDS->click(); },
         {{"A.mode", "ZGMdC_DDSMod"}, {"A.keying.kind", "user"}}},
        {"external modulation",
         [&] {
             a->cmbBoxChMode->setCurrentIndex(TframeCh::miExtMod);
             a->pageExtMod->cmbBox_ExtModBy->setCurrentIndex(TchPageExtMod::piFreq);
             a->pageExtMod->cmbBox_ExtModScale->setCurrentIndex(5);
         },
         {{"A.mode", "ZGMdC_ExtModulation"}, {"A.extmod.param", "freq"}, {"A.extmod.scale", "14"}}},
        {"inputs 1 and 2 summed",
         [&] { a->pageExtMod->chBox_ExtModA12->click(); },
         {{"A.mode", "ZGMdC_ExtModulationA12"}}},
        {"sweep",
         [&] { a->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM); },
         {{"A.mode", "ZGMdC_LFM"}, {"A.lfm.top_hz", "2000000"}, {"A.frequency_hz", "1000000"}}},
        {"keying",
         [&] {
             a->cmbBoxChMode->setCurrentIndex(TframeCh::miXSK);
             a->pageXSK->xSKmodeItems[TchPageXSK::miQPSK]->click();
         },
         {{"A.mode", "ZGMdC_DDSMod"},
          {"A.keying.kind", "qxsk"},
          {"A.keying.param", "phase"},
          {"A.keying.slot1.hold_ns", "1000"},
          {"A.keying.slot1.value", "180"}}},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.name);
        step.drive();
        for (const auto& [key, value] : step.expect) ExpectValue(key, value);
        EXPECT_EQ(Value("B.mode"), "ZGMdC_gen");
    }

    // The readings the page counts are the ones the instrument plays.
    a->cmbBoxChMode->setCurrentIndex(TframeCh::miIntMod);
    EXPECT_EQ(Value("A.user.readings"), a->pageIntMod->lblIntMod_RdsCnt->text().toStdString());
    a->pageIntMod->rdBtnIntMod_ramMK->click();
    EXPECT_EQ(Value("A.intmod.readings"), a->pageIntMod->lblIntMod_RdsCnt->text().toStdString());

    // Duplex: channel A's box moves channel B's selector; the next update
    // runs both channels from channel A's table.
    a->pageIntMod->chBox_IntModDuplexAB->click();
    EXPECT_EQ(B()->cmbBoxChMode->currentIndex(), TframeCh::miIntMod);
    frm->UpdateChannels();
    EXPECT_EQ(Gen()->ChB()->Mode(), ZGMdC_IntModulation);
    ExpectValue("A.intmod.variant", "duplex");
    a->pageIntMod->chBox_IntModDuplexAB->click();
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);

    // The tuning input's reading, polled by the timer.
    a->cmbBoxChMode->setCurrentIndex(TframeCh::miTuning);
    sim.SetADCValue(0x10000000);  // phase code 4096
    timers.FireAll();
    EXPECT_EQ(a->edtADCvalue->text(), "90.00 °");
    // Left to itself the reading moves within the tuning range around the
    // carrier (±92 Hz around 1 MHz).
    sim.SetADCDrifting();
    a->pageTuner->cmbBox_TunerBy->setCurrentIndex(TchPageTuning::piFreq);
    for (int k = 0; k < 40; ++k) {
        timers.FireAll();
        EXPECT_NEAR(Gen()->Conv_CodeToFreq(Gen()->ChA()->Tuner()->ADCValue()), 1e6, 100) << k;
    }

    // Both channels sweeping, channel B above channel A.
    a->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    EXPECT_EQ(Value("A.mode"), "ZGMdC_LFM");
    EXPECT_EQ(Value("B.mode"), "ZGMdC_LFM");
    ExpectValue("B.lfm.top_hz", "2500000");
    ExpectValue("B.frequency_hz", "1500000");

    // Channel B slaved to channel A's input 1.
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);
    a->cmbBoxChMode->setCurrentIndex(TframeCh::miExtMod);
    a->pageExtMod->chBox_ExtModAB1->click();
    EXPECT_EQ(Value("A.mode"), "ZGMdC_ExtModulationAB1");
    EXPECT_EQ(Gen()->ChB()->Mode(), ZGMdC_ExtModulationAB1);
    EXPECT_EQ(B()->cmbBoxChMode->currentIndex(), TframeCh::miExtMod);
    EXPECT_FALSE(B()->pgCtrlChModes->isEnabled());
    EXPECT_FALSE(B()->edtFreq->isEnabled());

    EXPECT_EQ(Value("protocol_errors"), "0");
    EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages[0].text.toStdString());
}
