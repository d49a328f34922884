// Refreshes the pictures of the mode pages in the README (docs/page-*.png).
// Run by hand from the repository's root:
//   QT_QPA_PLATFORM=offscreen build/asan/tests/test_gui
//       --gtest_also_run_disabled_tests --gtest_filter='*Screenshot*'
// (one command line)
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>

#include "sim/VirtualInstrument.h"
#include "tests/fixtures/GuiFixture.h"
#include "ui/chPageIntMod.h"
#include "ui/chPageTuning.h"
#include "ui/chPageXSK.h"

class ModePagesScreenshot : public GuiFixture {
  protected:
    void StartSim() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        WriteOptions("[Common]\nAutoConnect=0\n");
        dm = std::make_unique<TDMmain>(sim, ticks, timers, OptionsPath().toStdString());
        frm = std::make_unique<TfrmMain>(dm.get(), true);
        ShowActive();
        frm->SetGenActive(true);
        for (TframeCh* f : {A(), B()}) {
            f->edtAmpl->setEditText(QStringLiteral("-6"));
            f->actCh_SetMode->trigger();
        }
    }

    void Save(QWidget* w, const char* name) {
        QDir().mkpath(QStringLiteral("docs"));
        ASSERT_TRUE(w->grab().save(QStringLiteral("docs/") + QString::fromLatin1(name)));
    }

    TVirtualInstrument sim;
};

TEST_F(ModePagesScreenshot, DISABLED_WritesDocsModePagePngs) {
    StartSim();
    // Internal modulation from DDS memory on B, tuning on A with a reading.
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miIntMod);
    B()->pageIntMod->cmbBox_IntModFunc->setCurrentIndex(TchPageIntMod::fiTriangle);
    B()->pageIntMod->rdBtnIntMod_ramDDS->click();
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miTuning);
    A()->pageTuner->cmbBox_TunerBy->setCurrentIndex(TchPageTuning::piFreq);
    A()->pageTuner->cmbBox_TunerScale->setCurrentIndex(3);
    sim.SetADCValue(0x0007FFFF);
    timers.FireAll();
    Save(frm.get(), "page-tuning-intmod.png");

    // External modulation on A, quaternary phase keying on B.
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miExtMod);
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miXSK);
    B()->pageXSK->xSKmodeItems[TchPageXSK::miQPSK]->click();
    Save(frm.get(), "page-extmod-keying.png");

    // Both channels sweeping: the ordinary page on A, the synchronous on B.
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    Save(frm.get(), "page-sweep.png");
}
