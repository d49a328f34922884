#include <algorithm>
#include <functional>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include "app/MessageBox.h"
#include "options/ZyAppOptionsRepository.h"
#include "tests/fixtures/GuiFixture.h"
#include "ui/MaskEdit.h"
#include "ui/chPageExtMod.h"

namespace {

std::vector<std::string> Carrier(const char* freq) {
    return {"F0 00 00 00 00 00", "F1 00 00 00 00 00", freq,
            "02 3F FF 00 00 00", "05 00 00 00 00 00", "7F 00 00 00 00 00"};
}

}  // namespace

using MainWindowTest = GuiFixture;

TEST_F(MainWindowTest, EnterInFrequencyEditSendsBothChannelsAndKeepsFocus) {
    Start();
    ShowActive();
    Connect();
    QTest::keyClick(frm.get(), Qt::Key_F2);  // channel A's output on
    ASSERT_TRUE(A()->actCh_SetMode->isChecked());
    driver.Clear();

    A()->edtFreq->setFocus();
    A()->edtFreq->clear();
    QTest::keyClicks(A()->edtFreq, "10");
    QTest::keyClick(A()->edtFreq, Qt::Key_Return);

    EXPECT_EQ(Frames(), Carrier("04 06 66 66 66 00"));
    EXPECT_DOUBLE_EQ(Gen()->ChA()->Frequency(), 10000.0);
    EXPECT_EQ(QApplication::focusWidget(), A()->edtFreq);
    EXPECT_EQ(A()->edtFreq->text(), "10");

    // A check box does not use Enter: the update runs there too.
    A()->edtFreq->setText("20");
    A()->chBox_ChOpen->setFocus();
    QTest::keyClick(A()->chBox_ChOpen, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(Gen()->ChA()->Frequency(), 20000.0);
    EXPECT_TRUE(A()->chBox_ChOpen->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), A()->chBox_ChOpen);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, CommaLocaleFixesTheSeparatorAndConverts) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Start();
    ShowActive();
    A()->edtFreq->setFocus();
    A()->edtFreq->clear();
    QTest::keyClicks(A()->edtFreq, "2.5");
    A()->edtPhase->setFocus();  // leaving the edit validates it
    EXPECT_EQ(A()->edtFreq->text(), "2,5");

    Connect();
    A()->actCh_SetMode->trigger();
    EXPECT_DOUBLE_EQ(Gen()->ChA()->Frequency(), 2500.0);
    EXPECT_EQ(A()->edtFreq->text(), "2,5");
}

TEST_F(MainWindowTest, LevelRoundTripsAndRefusedLevelShowsTheOldOne) {
    Start();
    Connect();
    A()->actCh_SetMode->trigger();
    struct {
        const char* typed;
        double amplitude;
        const char* shown;
    } cases[] = {
        {"-3", 70.7945784384138, "-3"},
        {"3", 70.7945784384138, "-3"},  // above 0 dB: refused, the old level stays
        {"-20", 10.0, "-20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        A()->edtAmpl->setEditText(QString::fromLatin1(c.typed));
        QTest::keyClick(A()->edtAmpl, Qt::Key_Return);
        EXPECT_NEAR(Gen()->ChA()->Amplitude(), c.amplitude, 1e-9);
        EXPECT_EQ(A()->edtAmpl->currentText(), QString::fromLatin1(c.shown));
    }
}

TEST_F(MainWindowTest, TextThatIsNoNumberStopsTheTransferWithAMessage) {
    Start();
    Connect();
    A()->actCh_SetMode->trigger();
    A()->edtFreq->setText("5");
    A()->edtAmpl->setEditText("-6");
    A()->edtPhase->setText("");
    frm->act_UpdateChls->trigger();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, miError);
    EXPECT_TRUE(messages[0].text.contains("''")) << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].caption, TZyApplication::Title());
    // Frequency and Amplitude were taken before the phase failed, and the
    // update resumed: they reached the instrument and later changes follow.
    EXPECT_DOUBLE_EQ(Gen()->ChA()->Frequency(), 5000.0);
    EXPECT_NEAR(Gen()->ChA()->Amplitude(), TZyGen4::Conv_AdBToAmpl(-6), 1e-9);
    EXPECT_TRUE(Gen()->AutoUpdate());
    const auto frames = Frames();
    EXPECT_NE(std::find(frames.begin(), frames.end(), "04 03 33 33 33 00"), frames.end());
}

TEST_F(MainWindowTest, OutputKeysNeedAConnection) {
    Start();
    ShowActive();
    QTest::keyClick(frm.get(), Qt::Key_F2);
    QTest::keyClick(frm.get(), Qt::Key_F3);
    for (TframeCh* f : {A(), B()}) {
        EXPECT_FALSE(f->actCh_SetMode->isChecked());
        EXPECT_FALSE(f->chBox_ChOpen->isChecked());
    }
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_off);
    EXPECT_EQ(A()->grBoxChParams->palette().color(QPalette::Window), QColor(0xEC, 0xD2, 0xD2));

    Connect();
    QTest::keyClick(frm.get(), Qt::Key_F2);
    EXPECT_EQ(A()->grBoxChParams->palette().color(QPalette::Window), QColor(0xFF, 0xC0, 0xC0));
    const QCheckBox* box = A()->chBox_ChOpen;
    EXPECT_EQ(box->palette().color(box->backgroundRole()), QColor(0xFF, 0xC0, 0xC0));
    QTest::keyClick(frm.get(), Qt::Key_F3);
    for (TframeCh* f : {A(), B()}) {
        EXPECT_TRUE(f->actCh_SetMode->isChecked());
        EXPECT_TRUE(f->chBox_ChOpen->isChecked());
        EXPECT_EQ(f->Channel->Mode(), ZGMdC_gen);
    }
    QTest::keyClick(frm.get(), Qt::Key_F3);
    EXPECT_FALSE(B()->chBox_ChOpen->isChecked());
    EXPECT_EQ(Gen()->ChB()->Mode(), ZGMdC_off);
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_gen);

    // The link going down switches both outputs off.
    frm->SetGenActive(false);
    EXPECT_FALSE(A()->chBox_ChOpen->isChecked());
    EXPECT_EQ(Gen()->ChA()->Mode(), ZGMdC_off);
}

// An inactive generator raises no update event, yet the panels must show the
// instrument's state after a disconnect: nothing stays disabled, ticked or
// shown that belonged to the mode the link took away.
TEST_F(MainWindowTest, PanelsFollowADisconnect) {
    struct {
        const char* name;
        std::function<void()> drive;  // connected, before the disconnect
        std::function<void()> after;  // disconnected
        std::function<void()> check;
    } cases[] = {
        {"channel A drives both from input 1",
         [this] {
             A()->actCh_SetMode->trigger();
             A()->cmbBoxChMode->setCurrentIndex(TframeCh::miExtMod);
             A()->pageExtMod->cmbBox_ExtModBy->setCurrentIndex(TchPageExtMod::piFreq);
             A()->pageExtMod->chBox_ExtModAB1->click();
             ASSERT_EQ(Gen()->ChB()->Mode(), ZGMdC_ExtModulationAB1);
             ASSERT_FALSE(B()->cmbBoxChMode->isEnabled());
             ASSERT_FALSE(B()->edtFreq->isEnabled());
         },
         nullptr,
         [this] {
             EXPECT_TRUE(B()->cmbBoxChMode->isEnabled());
             EXPECT_TRUE(B()->pgCtrlChModes->isEnabled());
             EXPECT_TRUE(B()->edtFreq->isEnabled());
             EXPECT_FALSE(A()->chBox_ChOpen->isChecked());
             EXPECT_FALSE(A()->pageExtMod->chBox_ExtModAB1->isChecked());
         }},
        {"channel B sweeping, then no mode",
         [this] {
             B()->actCh_SetMode->trigger();
             B()->cmbBoxChMode->setCurrentIndex(TframeCh::miLFM);
             ASSERT_FALSE(B()->edtFreq->isEnabled());
         },
         [this] { B()->cmbBoxChMode->setCurrentIndex(TframeCh::miNone); },
         [this] { EXPECT_TRUE(B()->edtFreq->isEnabled()); }},
        {"channel A tuned",
         [this] {
             A()->actCh_SetMode->trigger();
             A()->cmbBoxChMode->setCurrentIndex(TframeCh::miTuning);
             ASSERT_FALSE(A()->edtADCvalue->isHidden());
         },
         nullptr,
         [this] {
             EXPECT_TRUE(A()->edtADCvalue->isHidden());
             EXPECT_TRUE(A()->lblADCparam->isHidden());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        Connect();
        // Below full level: no overmodulation question on the way.
        A()->edtAmpl->setEditText(QStringLiteral("-10"));
        B()->edtAmpl->setEditText(QStringLiteral("-10"));
        c.drive();
        A()->edtPhase->setText(QStringLiteral("45"));  // typed, not yet sent
        frm->SetGenActive(false);
        if (c.after) c.after();
        c.check();
        for (TframeCh* f : {A(), B()}) {
            EXPECT_FALSE(f->chBox_ChOpen->isChecked());
            EXPECT_EQ(f->Channel->Mode(), ZGMdC_off);
        }
        // What the operator typed and chose stays.
        EXPECT_EQ(A()->edtPhase->text(), "45");
        EXPECT_TRUE(messages.empty());
        Stop();
    }
}

TEST_F(MainWindowTest, AutoConnectWithoutInstrumentReportsOnce) {
    WriteOptions("[Common]\nAutoConnect=1\n");
    driver.FailOpen(FT_DEVICE_NOT_FOUND);
    Start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Невозможно включить генератор!");
    EXPECT_EQ(messages[0].caption, "Подключение к устройству");
    EXPECT_EQ(messages[0].icon, miError);
    EXPECT_TRUE(frm->act_GenConnect->isEnabled());
    EXPECT_FALSE(frm->act_GenDisconnect->isEnabled());

    driver.FailOpen(FT_OK);
    frm->act_GenConnect->trigger();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(frm->act_GenConnect->isEnabled());
    EXPECT_TRUE(frm->act_GenDisconnect->isEnabled());
}

// Under the designed message, one more line names the cause the driver gave.
TEST_F(MainWindowTest, ConnectFailureNamesTheCause) {
    Start();
    driver.FailOpen(FT_DEVICE_NOT_OPENED, ofPermission);
    frm->act_GenConnect->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "Невозможно включить генератор!\nНет доступа к устройству USB: установите пакет "
              "zypanel (или его правило udev) и заново подключите генератор.");

    driver.FailOpen(FT_DEVICE_NOT_OPENED, ofBusy);
    frm->act_GenConnect->trigger();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text,
              "Невозможно включить генератор!\nУстройство занято: его уже открыла другая "
              "программа.");
}

// The instrument opens but the first update fails: the program keeps its
// window, shows the link error, and offers to disconnect the open link.
TEST_F(MainWindowTest, AutoConnectWhoseFirstUpdateFailsKeepsTheWindow) {
    WriteOptions("[Common]\nAutoConnect=1\n");
    driver.FailWrite(1);
    ASSERT_NO_THROW(Start());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, miError);
    EXPECT_NE(messages[0].text, "Невозможно включить генератор!");
    ASSERT_TRUE(Gen()->GetActive());
    EXPECT_FALSE(frm->act_GenConnect->isEnabled());
    EXPECT_TRUE(frm->act_GenDisconnect->isEnabled());
    EXPECT_EQ(dm->ChAFrame, A());

    frm->act_GenDisconnect->trigger();
    EXPECT_FALSE(Gen()->GetActive());
    EXPECT_TRUE(frm->act_GenConnect->isEnabled());
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(MainWindowTest, OverModulationQuestion) {
    Start();
    Connect();
    A()->actCh_SetMode->trigger();
    for (TMsgResult answer : {mrNo, mrYes}) {
        SCOPED_TRACE(answer);
        messages.clear();
        answers = {answer};
        Gen()->OnOverModulation(Gen()->ChA(), 50.0);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].caption, "Внешняя модуляция");
        EXPECT_EQ(messages[0].text,
                  "Обнаружено наличие перемодуляции.\nИсправить уровень сигнала?");
        EXPECT_EQ(messages[0].buttons, mbYesNo);
        EXPECT_EQ(messages[0].icon, miNone);
        if (answer == mrNo) {
            EXPECT_DOUBLE_EQ(Gen()->ChA()->Amplitude(), 100.0);
            EXPECT_EQ(A()->edtAmpl->currentText(), "0");
        } else {
            EXPECT_DOUBLE_EQ(Gen()->ChA()->Amplitude(), 50.0);
            EXPECT_EQ(A()->edtAmpl->currentText(), "-6.021");
        }
    }
}

TEST_F(MainWindowTest, OptionsLoadedAtStartAndSavedAtExit) {
    WriteOptions(
        "[Common]\nAutoConnect=0\n[Gen]\nUseExtFreq=1\nRefFreq=10\nFreqScale=20\n"
        "[ChA]\nOnColor=255\n");
    Start();
    EXPECT_DOUBLE_EQ(Gen()->GenFreq(), 200.0);
    EXPECT_FALSE(Gen()->GetActive());
    EXPECT_EQ(A()->OnColorOption->Value(), 255);
    EXPECT_EQ(B()->OnColorOption->Value(), 16761024);  // default
    EXPECT_EQ(help.front().command, HH_INITIALIZE);

    dm->FreqScaleOption->SetValue(24);
    Stop();
    const std::string saved = ReadOptions();
    EXPECT_NE(saved.find("FreqScale=24"), std::string::npos) << saved;
    EXPECT_NE(saved.find("AutoConnect=0"), std::string::npos) << saved;
    EXPECT_NE(saved.find("RefFreq=10"), std::string::npos) << saved;
    EXPECT_EQ(help.back().command, HH_UNINITIALIZE);
    EXPECT_EQ(help.back().data, 7u);
}

TEST_F(MainWindowTest, StoredExternalClockIsIgnoredWithTheInternalReference) {
    WriteOptions("[Common]\nAutoConnect=0\n[Gen]\nUseExtFreq=0\nRefFreq=30\n");
    Start();
    EXPECT_DOUBLE_EQ(Gen()->RefFreq(), 25.0);
    EXPECT_DOUBLE_EQ(Gen()->GenFreq(), 400.0);
}

// A hand-edited clock the instrument cannot run on: a reference that is no
// number above 0 falls back to 25 MHz, a multiplier is kept within 4 … 255
// (the instrument takes one byte), and the file is written back usable.
TEST_F(MainWindowTest, StoredClockIsKeptToWhatTheInstrumentRunsOn) {
    struct {
        const char* refFreq;
        const char* freqScale;
        double refFreqUsed;
        int freqScaleUsed;
    } rows[] = {
        {"abc", "999999999", 25.0, 255}, {"0", "2", 25.0, 4},      {"-5", "-1", 25.0, 4},
        {"inf", "255", 25.0, 255},       {"12.5", "32", 12.5, 32},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.refFreq);
        WriteOptions(std::string("[Common]\nAutoConnect=0\n[Gen]\nUseExtFreq=1\nRefFreq=") +
                     row.refFreq + "\nFreqScale=" + row.freqScale + "\n");
        Start();
        EXPECT_DOUBLE_EQ(dm->RefFreqOption->Value(), row.refFreqUsed);
        EXPECT_EQ(dm->FreqScaleOption->Value(), row.freqScaleUsed);
        EXPECT_DOUBLE_EQ(Gen()->GenFreq(), row.refFreqUsed * row.freqScaleUsed);
        Stop();
        const std::string saved = ReadOptions();
        EXPECT_NE(saved.find("FreqScale=" + std::to_string(row.freqScaleUsed)), std::string::npos)
            << saved;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, StartsWithTheStoredValues) {
    Start();
    // The generator starts with the automatic update off; the panels' first
    // transfer (their pages' initial lists) switches it on.
    EXPECT_TRUE(Gen()->AutoUpdate());
    EXPECT_EQ(A()->chBox_ChOpen->text(), "Канал A");
    EXPECT_EQ(frm->frameChB->actCh_SetMode->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(frm->act_GenConnect->toolTip(), "Подключиться");
    EXPECT_EQ(frm->act_GenConnect->statusTip(), "Подключение к генератору");
    EXPECT_EQ(A()->edtFreq->text(), "1");
    EXPECT_EQ(A()->pgCtrlChModes->count(), 7);
}

TEST_F(MainWindowTest, HelpCommandsMapToTheHelpLayer) {
    Start();
    help.clear();
    bool callHelp = true;
    EXPECT_TRUE(dm->ApplicationEventsMainHelp(1, 2003, callHelp));
    EXPECT_FALSE(callHelp);
    EXPECT_TRUE(dm->ApplicationEventsMainHelp(2, 0, callHelp));
    EXPECT_FALSE(dm->ApplicationEventsMainHelp(13, 0, callHelp));
    frm->actHelpContents->trigger();
    ASSERT_EQ(help.size(), 3u);
    EXPECT_EQ(help[0].command, HH_HELP_CONTEXT);
    EXPECT_EQ(help[0].data, 2003u);
    EXPECT_EQ(help[0].file, "ZyPanel.chm");
    EXPECT_EQ(help[1].command, HH_CLOSE_ALL);
    EXPECT_TRUE(help[1].file.isEmpty());
    EXPECT_EQ(help[2].command, HH_DISPLAY_TOPIC);
}

TEST_F(MainWindowTest, ExitClosesTheWindowEvenWhenTheDisconnectFails) {
    Start();
    ShowActive();
    Connect();
    driver.FailWrite(driver.WriteCount() + 1);  // the reset of the disconnect
    frm->miExit->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, miError);
    EXPECT_FALSE(frm->isVisible());
}

// The help window does not keep the program alive once the main window closed.
TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramWithTheHelpOpen) {
    Start();
    ShowActive();
    const THtmlHelp::THandler recorder = THtmlHelp::SetHandler({});  // the real help window
    frm->actHelpContents->trigger();
    bool helpShown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        helpShown = helpShown || (w->objectName() == "frmHelp" && w->isVisible());
    EXPECT_TRUE(helpShown);

    // The message loop ends when the window closes; a program kept alive by
    // the help window would run on until the timeout.
    bool timedOut = false;
    QTimer::singleShot(0, frm.get(), [this] { frm->close(); });
    QTimer::singleShot(5000, qApp, [&timedOut] {
        timedOut = true;
        QApplication::quit();
    });
    QApplication::exec();
    EXPECT_FALSE(timedOut);
    THtmlHelp::HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
    THtmlHelp::SetHandler(recorder);
}
