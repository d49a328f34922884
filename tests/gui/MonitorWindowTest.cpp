#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QValueAxis>
#include <algorithm>
#include <sstream>

#include "cli/CliMain.h"
#include "monitor/LinkTap.h"
#include "monitorui/frmMonitor.h"
#include "platform/Exceptions.h"
#include "sim/VirtualInstrument.h"
#include "tests/fixtures/GuiFixture.h"

namespace {

// The program on the virtual instrument with the link tap in between, and
// the monitor window as start-up builds it.
class MonitorWindowTest : public GuiFixture {
  protected:
    void StartSim() {
        WriteOptions("[Common]\nAutoConnect=0\n");
        dm = std::make_unique<TDMmain>(tap, ticks, timers, OptionsPath().toStdString());
        frm = std::make_unique<TfrmMain>(dm.get(), true);
        mon = std::make_unique<TfrmMonitor>(tap);
        frm->frmMonitor = mon.get();
        ShowActive();
        frm->SetGenActive(true);
        for (TframeCh* f : {A(), B()}) f->actCh_SetMode->trigger();
    }

    void TearDown() override {
        mon.reset();
        GuiFixture::TearDown();
    }

    // The meanings of the rows the log shows (after its filter).
    std::vector<QString> ShownMeanings() const {
        std::vector<QString> shown;
        const QAbstractItemModel* m = mon->grdLog->model();
        for (int row = 0; row < m->rowCount(); ++row)
            shown.push_back(m->index(row, 3).data().toString());
        return shown;
    }

    TVirtualInstrument sim;
    TLinkTap tap{sim, ticks};
    std::unique_ptr<TfrmMonitor> mon;
};

TEST_F(MonitorWindowTest, F4OpensItBesideTheWindowAndEveryModeFamilyIsExplainedAndPlotted) {
    StartSim();
    QTest::keyClick(frm.get(), Qt::Key_F4);
    ASSERT_TRUE(mon->isVisible());
    EXPECT_FALSE(mon->isModal());
    EXPECT_TRUE(frm->act_Monitor->shortcut() == QKeySequence(Qt::Key_F4));

    for (int mode : {TframeCh::miTuning, TframeCh::miIntMod, TframeCh::miExtMod, TframeCh::miXSK,
                     TframeCh::miLFM}) {
        A()->cmbBoxChMode->setCurrentIndex(mode);
        B()->cmbBoxChMode->setCurrentIndex(mode == TframeCh::miLFM ? mode : TframeCh::miNone);
        mon->Poll();
        for (const QString& meaning : ShownMeanings())
            EXPECT_FALSE(meaning.startsWith(QStringLiteral("неизвестная"))) << mode;
        const QChart* chart = mon->chartA->chart();
        EXPECT_FALSE(chart->series().isEmpty()) << mode;
        EXPECT_FALSE(chart->title().endsWith(QStringLiteral("несущая"))) << mode;
    }
    // The last set-up is the synchronous sweep: both channels on each chart.
    EXPECT_EQ(mon->chartA->chart()->title(), QStringLiteral("A: синхронная ЛЧМ"));
    EXPECT_EQ(mon->chartB->chart()->series().size(), 2);
    const auto axes = mon->chartA->chart()->axes(Qt::Vertical);
    ASSERT_EQ(axes.size(), 1);
    EXPECT_EQ(axes[0]->titleText(), QStringLiteral("Частота, МГц"));
    // What the monitor decoded is what the instrument holds.
    bool errorsShown = false;
    for (int row = 0; row < mon->grdState->rowCount(); ++row) {
        if (mon->grdState->item(row, 0)->text() != QStringLiteral("Ошибки протокола")) continue;
        EXPECT_EQ(mon->grdState->item(row, 1)->text(), QStringLiteral("0"));
        errorsShown = true;
    }
    EXPECT_TRUE(errorsShown);
}

TEST_F(MonitorWindowTest, TheLogFiltersByChannelAndTextAndPauses) {
    StartSim();
    mon->show();
    mon->Poll();
    const std::size_t all = ShownMeanings().size();
    ASSERT_GT(all, 10u);

    mon->cmbChannel->setCurrentIndex(2);  // channel B
    const auto onlyB = ShownMeanings();
    EXPECT_LT(onlyB.size(), all);
    for (const QString& meaning : onlyB) EXPECT_FALSE(meaning.startsWith(QStringLiteral("A:")));
    mon->cmbChannel->setCurrentIndex(0);

    mon->edtFilter->setText(QStringLiteral("выход включён"));
    // Each switch-on of a channel, and nothing else.
    std::vector<QString> switchedOn = ShownMeanings();
    switchedOn.erase(std::unique(switchedOn.begin(), switchedOn.end()), switchedOn.end());
    EXPECT_EQ(switchedOn, (std::vector<QString>{QStringLiteral("A: выход включён"),
                                                QStringLiteral("B: выход включён")}));
    mon->edtFilter->clear();

    mon->btnPause->click();
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miExtMod);
    timers.FireAll();
    QTest::qWait(250);  // the poll timer would have run
    EXPECT_EQ(ShownMeanings().size(), all);
    mon->btnPause->click();  // catches up at once
    EXPECT_GT(ShownMeanings().size(), all);
}

TEST_F(MonitorWindowTest, ASavedTraceReplaysInZygen4AndOpensWithoutTouchingTheInstrument) {
    StartSim();
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miXSK);
    B()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
    mon->Poll();
    const QString file = dir.filePath(QStringLiteral("cycle.trace"));
    mon->SaveTrace(file);

    std::ostringstream out, err;
    ASSERT_EQ(RunZygen4({"replay", file.toStdString()}, out, err), 0) << err.str();
    std::string expected;
    for (const auto& line : sim.StateLines()) expected += line + "\n";
    EXPECT_EQ(out.str(), expected);

    const auto writes = sim.WriteCount();
    A()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone);  // the instrument moves on
    mon->OpenTrace(file);
    EXPECT_TRUE(mon->lblSource->text().startsWith(QStringLiteral("Трасса: ")));
    EXPECT_EQ(mon->chartA->chart()->title(), QStringLiteral("A: манипуляция"));
    EXPECT_TRUE(mon->btnLink->isEnabled());
    EXPECT_GT(sim.WriteCount(), writes);  // only from the panel's change
    const auto afterOpen = sim.WriteCount();
    mon->ShowLink();
    EXPECT_EQ(sim.WriteCount(), afterOpen);
    EXPECT_EQ(mon->chartA->chart()->title(), QStringLiteral("A: несущая"));

    const QString bad = dir.filePath(QStringLiteral("bad.trace"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("C F0 00 00 00 00 00\nnot a transfer\n");
    }
    EXPECT_THROW(mon->OpenTrace(bad), EConvertError);
    EXPECT_THROW(mon->OpenTrace(dir.filePath(QStringLiteral("none.trace"))), EInOutError);
}

}  // namespace
