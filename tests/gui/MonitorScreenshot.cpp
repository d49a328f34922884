// Refreshes the pictures of the monitor in the README (docs/monitor-*.png).
// Run by hand from the repository's root:
//   QT_QPA_PLATFORM=offscreen build/asan/tests/test_gui
//       --gtest_also_run_disabled_tests --gtest_filter='*Screenshot*'
// (one command line)
#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
#include <QTabWidget>

#include "monitor/LinkTap.h"
#include "monitorui/frmMonitor.h"
#include "options/ZyAppColorOption.h"
#include "sim/VirtualInstrument.h"
#include "tests/fixtures/GuiFixture.h"
#include "ui/ColorValue.h"
#include "ui/MaskEdit.h"
#include "ui/chPageXSK.h"

class MonitorScreenshot : public GuiFixture {
  protected:
    void TearDown() override {
        mon.reset();
        GuiFixture::TearDown();
    }
    void Save(const char* name) {
        QApplication::processEvents();  // the charts redraw from the event loop
        QDir().mkpath(QStringLiteral("docs"));
        ASSERT_TRUE(mon->grab().save(QStringLiteral("docs/") + QString::fromLatin1(name)));
    }

    TVirtualInstrument sim;
    TLinkTap tap{sim, ticks};
    std::unique_ptr<TfrmMonitor> mon;
};

TEST_F(MonitorScreenshot, DISABLED_WritesDocsMonitorPngs) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    WriteOptions("[Common]\nAutoConnect=0\n");
    dm = std::make_unique<TDMmain>(tap, ticks, timers, OptionsPath().toStdString());
    frm = std::make_unique<TfrmMain>(dm.get(), true);
    mon = std::make_unique<TfrmMonitor>(tap);
    mon->ChannelColor = [this](int ch) {
        const TframeCh* f = ch == 0 ? A() : B();
        return ColorFromValue(f->NameTextClrOption->Value(), QColor(Qt::black));
    };
    frm->SetGenActive(true);
    for (TframeCh* f : {A(), B()}) f->actCh_SetMode->trigger();
    mon->resize(900, 640);
    mon->show();

    // Both channels sweeping: the log, then the plot.
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    mon->Poll();
    mon->pgMonitor->setCurrentIndex(0);
    Save("monitor-log.png");
    mon->pgMonitor->setCurrentIndex(2);
    Save("monitor-sweep.png");

    // Quaternary frequency keying on A, the carrier on B.
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miXSK);
    A()->pageXSK->xSKmodeItems[TchPageXSK::miQFSK]->click();
    const char* freqs[] = {"1", "1,5", "2,5", "2"};  // MHz, Russian locale
    const char* times[] = {"2", "1", "3", "1"};      // us
    for (std::size_t k = 0; k < 4; ++k) {
        A()->pageXSK->edt_xSK_p[k]->setText(QString::fromLatin1(freqs[k]));
        A()->pageXSK->edt_xSK_T[k]->setText(QString::fromLatin1(times[k]));
    }
    frm->UpdateChannels();
    mon->Poll();
    Save("monitor-keying.png");
}
