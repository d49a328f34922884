// The options dialog, the About box and help, on the whole window program
// over a recording driver, with an options file in a temporary folder.
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <limits>

#include "options/ZyAppBoolOption.h"
#include "options/ZyAppColorOption.h"
#include "options/ZyAppDblOption.h"
#include "options/ZyAppIntOption.h"
#include "options/ZyAppOptionsRepository.h"
#include "tests/fixtures/GuiFixture.h"
#include "ui/ColorComboBox.h"
#include "ui/HelpViewer.h"
#include "ui/MaskEdit.h"
#include "ui/frmAbout.h"
#include "ui/frmOptions.h"

namespace {

// Runs `f` as soon as the next modal dialog's event loop is running.
void WhenModal(std::function<void(QWidget*)> f) {
    QTimer::singleShot(0, qApp, [f] { f(QApplication::activeModalWidget()); });
}

// The program with its options dialog, created after the main window as at
// start-up and destroyed before it.
class OptionsDialogTest : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        Start();
        frmOptions = std::make_unique<TfrmOptions>(dm.get(), frm.get());
        frm->frmOptions = frmOptions.get();
    }

    void TearDown() override {
        frmOptions.reset();
        GuiFixture::TearDown();
    }

    TColorComboBox* Color(const char* name) {
        return frmOptions->findChild<TColorComboBox*>(QString::fromLatin1(name));
    }

    // Types `text` into the reference frequency edit and commits it.
    void CommitRefFreq(const QString& text) {
        TMaskEdit* edit = frmOptions->edt_RefFreq;
        edit->clear();
        QTest::keyClicks(edit, text);
        edit->ValidateEdit();
    }

    static QColor PanelColor(TframeCh* frame) {
        return frame->grBoxChParams->palette().color(QPalette::Window);
    }
    static QColor NameColor(TframeCh* frame) {
        return frame->chBox_ChOpen->palette().color(QPalette::WindowText);
    }

    std::unique_ptr<TfrmOptions> frmOptions;
};

TEST_F(OptionsDialogTest, CommittedReferenceFrequencyChoosesTheMultiplier) {
    struct Row {
        const char* typed;
        int scale;
        const char* result;
    };
    const Row rows[] = {
        {"25", 16, "400"},    {"30", 13, "390"}, {"24", 17, "408"}, {"41", 10, "410"},
        {"41.5", 9, "373.5"}, {"100", 4, "400"}, {"150", 4, "600"}, {"0.5", 255, "127.5"},
    };
    frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        EXPECT_EQ(TfrmOptions::FreqScaleFor(QString::fromLatin1(row.typed).toDouble()), row.scale);
        CommitRefFreq(QString::fromLatin1(row.typed));
        EXPECT_EQ(frmOptions->edtFreqScale->value(), row.scale);
        EXPECT_EQ(frmOptions->lblGenFreq->text(), QString::fromLatin1(row.result));
    }
    // The operator may still choose another multiplier; below 4 is raised to 4.
    frmOptions->edtFreqScale->setValue(20);
    EXPECT_EQ(frmOptions->lblGenFreq->text(), QStringLiteral("10"));
    frmOptions->edtFreqScale->setValue(2);
    EXPECT_EQ(frmOptions->edtFreqScale->value(), 4);
    // The instrument takes one byte of the multiplier.
    frmOptions->edtFreqScale->setValue(999999999);
    EXPECT_EQ(frmOptions->edtFreqScale->value(), 255);
    EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsDialogTest, CommaLocaleFixesTheSeparatorAndShowsItOnLoad) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
    CommitRefFreq(QStringLiteral("12.5"));
    EXPECT_EQ(frmOptions->edt_RefFreq->text(), QStringLiteral("12,5"));
    EXPECT_EQ(frmOptions->edtFreqScale->value(), 32);
    EXPECT_EQ(frmOptions->lblGenFreq->text(), QStringLiteral("400"));

    dm->RefFreqOption->SetValue(12.5);
    dm->FreqScaleOption->SetValue(30);
    frmOptions->LoadFromOptions(false);
    EXPECT_EQ(frmOptions->edt_RefFreq->text(), QStringLiteral("12,5"));
    // Filling the edit is no commit: the multiplier is the option's.
    EXPECT_EQ(frmOptions->edtFreqScale->value(), 30);
    EXPECT_EQ(frmOptions->lblGenFreq->text(), QStringLiteral("375"));
}

TEST_F(OptionsDialogTest, StoredFrequencyThatIsNoFiniteNumberStillOpens) {
    // strtod reads "inf" from a hand-edited file; the dialog must still open.
    dm->RefFreqOption->SetValue(std::numeric_limits<double>::infinity());
    frmOptions->LoadFromOptions(false);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(frmOptions->edt_RefFreq->text(), QString());
    EXPECT_EQ(frmOptions->lblGenFreq->text(), QString());
}

TEST_F(OptionsDialogTest, BadReferenceFrequencyIsReportedAndChangesNothing) {
    frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
    CommitRefFreq(QStringLiteral("25"));
    for (const char* bad : {"", ",", "0"}) {
        SCOPED_TRACE(bad);
        messages.clear();
        CommitRefFreq(QString::fromLatin1(bad));
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(frmOptions->edtFreqScale->value(), 16);
        EXPECT_EQ(frmOptions->lblGenFreq->text(), QStringLiteral("400"));
    }
    // The multiplier changed while the edit is empty: reported, label kept.
    CommitRefFreq(QString());
    messages.clear();
    frmOptions->edtFreqScale->setValue(17);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(frmOptions->lblGenFreq->text(), QStringLiteral("400"));
}

TEST_F(OptionsDialogTest, ClockGroupFollowsTheExternalReferenceBox) {
    frmOptions->LoadFromOptions(false);
    ASSERT_FALSE(frmOptions->ChBox_gen_UseExtRefFreq->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(frmOptions->edt_RefFreq),
                       static_cast<QWidget*>(frmOptions->edtFreqScale),
                       static_cast<QWidget*>(frmOptions->lblGenFreq)}) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
    QTest::keyClicks(frmOptions->edt_RefFreq, QStringLiteral("7"));
    EXPECT_EQ(frmOptions->edt_RefFreq->text(), QStringLiteral("25"));
    EXPECT_EQ(frmOptions->lblGenFreq->text(), QStringLiteral("400"));

    frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
    EXPECT_TRUE(frmOptions->edt_RefFreq->isEnabled());
    EXPECT_TRUE(frmOptions->edtFreqScale->isEnabled());
}

TEST_F(OptionsDialogTest, DialogDestroyedWhileShownRunsNoHandler) {
    // The program ends with the dialog open and a typed, uncommitted value:
    // the edit loses the focus as the dialog goes, which must not validate.
    frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
    frmOptions->show();
    QApplication::setActiveWindow(frmOptions.get());
    frmOptions->edt_RefFreq->setFocus();
    frmOptions->edt_RefFreq->clear();
    QTest::keyClicks(frmOptions->edt_RefFreq, QStringLiteral("0"));
    messages.clear();
    frmOptions.reset();
    EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsDialogTest, TreeNeverCollapsesAndColoursGoToChannelA) {
    QTreeWidget* tree = frmOptions->treeViewCategrs;
    QTreeWidgetItem* colours = tree->topLevelItem(1);
    EXPECT_EQ(frmOptions->lblSection->text(), QStringLiteral(" Общие"));
    tree->collapseItem(colours);
    EXPECT_TRUE(colours->isExpanded());

    tree->setCurrentItem(colours);
    EXPECT_EQ(tree->currentItem(), colours->child(0));
    EXPECT_EQ(frmOptions->pgCtrlSections->currentWidget(), frmOptions->tabSh_clr_chA);
    EXPECT_EQ(frmOptions->lblSection->text(), QStringLiteral(" Цвета: Канал A"));

    tree->setCurrentItem(colours->child(1));
    EXPECT_EQ(frmOptions->pgCtrlSections->currentWidget(), frmOptions->tabSh_clr_chB);
    EXPECT_EQ(frmOptions->lblSection->text(), QStringLiteral(" Цвета: Канал B"));

    // Clicked with the mouse, "Цвета" hands both the current row and the
    // highlight to "Канал A".
    frmOptions->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frmOptions.get()));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(colours).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(tree->currentItem(), colours->child(0));
    EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>{colours->child(0)});
    frmOptions->hide();
}

TEST_F(OptionsDialogTest, CancelChangesNothing) {
    const int32_t oldOn = frm->frameChA->OnColorOption->Value();
    const QColor oldPanel = PanelColor(frm->frameChA);
    const std::string oldFile = ReadOptions();
    WhenModal([this](QWidget* modal) {
        ASSERT_EQ(modal, frmOptions.get());
        Color("clrBox_clr_chA_Off")->SetColorValue(0x0000FF);
        Color("clrBox_clr_chA_On")->SetColorValue(0x0000FF);
        frmOptions->chBox_comn_AutoConnect->setChecked(true);
        QTest::mouseClick(frmOptions->btnCancel, Qt::LeftButton);
    });
    frm->act_OptionsSet->trigger();

    EXPECT_EQ(frm->frameChA->OnColorOption->Value(), oldOn);
    EXPECT_FALSE(dm->AutoConnectOption->Value());
    EXPECT_EQ(PanelColor(frm->frameChA), oldPanel);
    EXPECT_EQ(ReadOptions(), oldFile);
    // The next showing starts again from the option values.
    frmOptions->LoadFromOptions(false);
    EXPECT_EQ(Color("clrBox_clr_chA_On")->ColorValue(), oldOn);
    EXPECT_FALSE(frmOptions->chBox_comn_AutoConnect->isChecked());
}

TEST_F(OptionsDialogTest, OkStoresAppliesSavesAndRecoloursBothPanels) {
    WhenModal([this](QWidget*) {
        frmOptions->chBox_comn_AutoConnect->setChecked(true);
        frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
        CommitRefFreq(QStringLiteral("10"));
        frmOptions->edtFreqScale->setValue(20);
        Color("clrBox_clr_chA_NameText")->SetColorValue(0x008000);
        Color("clrBox_clr_chB_NameText")->SetColorValue(0x800000);
        Color("clrBox_clr_chA_Off")->SetColorValue(0x00FFFF);
        Color("clrBox_clr_chB_Off")->SetColorValue(0x123456);  // outside the list
        Color("clrBox_clr_chA_On")->SetColorValue(0x0000FF);
        Color("clrBox_clr_chB_On")->SetColorValue(0xFF0000);
        QTest::mouseClick(frmOptions->btnOK, Qt::LeftButton);
    });
    frm->act_OptionsSet->trigger();

    EXPECT_TRUE(messages.empty());
    TframeCh* a = frm->frameChA;
    TframeCh* b = frm->frameChB;
    EXPECT_EQ(a->OnColorOption->Value(), 0x0000FF);
    EXPECT_EQ(b->OnColorOption->Value(), 0xFF0000);
    // Both panels (outputs off) show their new off colours and name colours.
    EXPECT_EQ(PanelColor(a), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(PanelColor(b), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(NameColor(a), QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(NameColor(b), QColor(0x00, 0x00, 0x80));
    // The clock went to the generator: 10 MHz x 20.
    EXPECT_TRUE(dm->ZyGen()->UseExtRefFreq());
    EXPECT_DOUBLE_EQ(dm->ZyGen()->RefFreq(), 10.0);
    EXPECT_EQ(dm->ZyGen()->FreqScale(), 20);

    // Every registered option is in the file.
    const QString file = QString::fromStdString(ReadOptions());
    TZyAppOptionsRepository* rep = dm->ZyAppOptionsRep();
    ASSERT_EQ(rep->GetAppOptionsCount(), 13);
    for (int i = 0; i < rep->GetAppOptionsCount(); ++i) {
        const QString key = QString::fromStdString(rep->GetAppOptions(i)->IdentName());
        EXPECT_TRUE(file.contains(key + QLatin1Char('='))) << key.toStdString();
    }
    EXPECT_TRUE(file.contains(QStringLiteral("OffColor=1193046")));
    EXPECT_TRUE(file.contains(QStringLiteral("RefFreq=10")));
    EXPECT_TRUE(file.contains(QStringLiteral("FreqScale=20")));
}

// A clock of 0 MHz would silence the instrument: OK is refused with a
// message until the reference frequency is above 0, and nothing is stored.
TEST_F(OptionsDialogTest, OkRefusedWhileTheReferenceIsNotAboveZero) {
    const std::string oldFile = ReadOptions();
    WhenModal([this](QWidget*) {
        frmOptions->chBox_comn_AutoConnect->setChecked(true);
        frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
        Color("clrBox_clr_chA_Off")->SetColorValue(0x00FFFF);
        for (const char* bad : {"", ",", "0", "0,000000"}) {
            SCOPED_TRACE(bad);
            messages.clear();
            frmOptions->edt_RefFreq->setText(QString::fromLatin1(bad));
            QTest::mouseClick(frmOptions->btnOK, Qt::LeftButton);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].text,
                      "Опорная частота должна быть больше 0 МГц.\n"
                      "Исправьте значение в поле \"Опорная частота\".");
            EXPECT_EQ(messages[0].icon, miError);
            EXPECT_TRUE(frmOptions->isVisible());
        }
        QTest::mouseClick(frmOptions->btnCancel, Qt::LeftButton);
    });
    frm->act_OptionsSet->trigger();
    EXPECT_FALSE(dm->AutoConnectOption->Value());
    EXPECT_FALSE(dm->UseExtFreqOption->Value());
    EXPECT_DOUBLE_EQ(dm->RefFreqOption->Value(), 25.0);
    EXPECT_EQ(ReadOptions(), oldFile);

    // With a usable reference the same OK goes through.
    messages.clear();
    WhenModal([this](QWidget*) {
        frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
        frmOptions->edt_RefFreq->setText(QStringLiteral("0.5"));
        QTest::mouseClick(frmOptions->btnOK, Qt::LeftButton);
    });
    frm->act_OptionsSet->trigger();
    EXPECT_TRUE(messages.empty());
    EXPECT_DOUBLE_EQ(dm->ZyGen()->RefFreq(), 0.5);
}

// Called directly, the store still stops at a text that is no number.
TEST_F(OptionsDialogTest, EmptyReferenceFrequencyAtStoreStopsAfterTheFirstValues) {
    const std::string oldFile = ReadOptions();
    const QColor oldPanel = PanelColor(frm->frameChA);
    frmOptions->LoadFromOptions(false);
    frmOptions->chBox_comn_AutoConnect->setChecked(true);
    frmOptions->ChBox_gen_UseExtRefFreq->setChecked(true);
    frmOptions->edtFreqScale->setValue(20);
    Color("clrBox_clr_chA_Off")->SetColorValue(0x00FFFF);
    frmOptions->edt_RefFreq->setText(QString());
    messages.clear();
    SafeCall([this] { frmOptions->StoreToOptions(true); });

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("'' is not a valid floating point value"));
    // Stored before the failing step.
    EXPECT_TRUE(dm->AutoConnectOption->Value());
    EXPECT_TRUE(dm->UseExtFreqOption->Value());
    EXPECT_EQ(frm->frameChA->OffColorOption->Value(), 0x00FFFF);
    // Not stored, not applied, not saved, not shown.
    EXPECT_DOUBLE_EQ(dm->RefFreqOption->Value(), 25.0);
    EXPECT_EQ(dm->FreqScaleOption->Value(), 16);
    EXPECT_FALSE(dm->ZyGen()->UseExtRefFreq());
    EXPECT_EQ(ReadOptions(), oldFile);
    EXPECT_EQ(PanelColor(frm->frameChA), oldPanel);
}

TEST_F(OptionsDialogTest, AboutBoxIsAFreshInstanceEachTime) {
    std::vector<TfrmAbout*> seen;
    const auto close = [&](QWidget* modal) {
        auto* about = qobject_cast<TfrmAbout*>(modal);
        ASSERT_NE(about, nullptr);
        EXPECT_FALSE(about->property("seen").isValid());
        about->setProperty("seen", true);
        EXPECT_EQ(about->cxLabel3->text(), QStringLiteral("Версия 1.0.2.20 (Spec. Ed.)"));
        EXPECT_EQ(frm->findChildren<TfrmAbout*>().size(), 1);
        seen.push_back(about);
        QTest::keyClick(about, Qt::Key_Return);
    };
    WhenModal(close);
    frm->miHelpAbout->trigger();
    WhenModal(close);
    frm->miHelpAbout->trigger();
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(frm->findChildren<TfrmAbout*>().isEmpty());
}

TEST_F(OptionsDialogTest, HelpRequestsCarryTheirContextNumbers) {
    help.clear();
    QTest::keyClick(frmOptions.get(), Qt::Key_F1);
    frm->actHelpContents->trigger();
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].command, HH_HELP_CONTEXT);
    EXPECT_EQ(help[0].data, 2010u);
    EXPECT_EQ(help[0].file, QStringLiteral("ZyPanel.chm"));
    EXPECT_EQ(help[1].command, HH_DISPLAY_TOPIC);

    // F1 in the main window asks for the page of the focused control.
    ShowActive();
    const struct {
        QWidget* focus;
        uintptr_t context;
    } cases[] = {{A()->edtFreq, 2002}, {B()->chBox_ChOpen, 2001}, {frm->btnGenUpdate, 2020}};
    for (const auto& c : cases) {
        help.clear();
        c.focus->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        ASSERT_EQ(help.size(), 1u);
        EXPECT_EQ(help[0].command, HH_HELP_CONTEXT);
        EXPECT_EQ(help[0].data, c.context) << c.focus->objectName().toStdString();
    }
}

TEST_F(OptionsDialogTest, HelpShowsThePageOfEachContextNumber) {
    // The help folder of the sources stands in for the one beside the program.
    const QString chm = QString::fromStdString(
        (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "help.chm")
            .string());
    const THtmlHelp::THandler recorder = THtmlHelp::SetHandler({});  // the real viewer
    const auto shown = [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* viewer = qobject_cast<THelpViewer*>(w);
            if (viewer && viewer->isVisible()) return viewer;
        }
        return static_cast<THelpViewer*>(nullptr);
    };
    struct Case {
        uint32_t command;
        int data;
        QString page;
    };
    std::vector<Case> cases;
    for (int context : {2001, 2002, 2003, 2004, 2005, 2006, 2007, 2010, 2020})
        cases.push_back({HH_HELP_CONTEXT, context, QStringLiteral("%1.html").arg(context)});
    cases.push_back({HH_DISPLAY_TOPIC, 0, QStringLiteral("index.html")});
    cases.push_back({HH_HELP_CONTEXT, 9999, QStringLiteral("index.html")});  // unknown: contents
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        THtmlHelp::HtmlHelp(nullptr, chm, c.command, static_cast<uintptr_t>(c.data));
        THelpViewer* viewer = shown();
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(viewer->CurrentPage(), c.page);
        EXPECT_FALSE(viewer->txtBrowser->toPlainText().isEmpty());
    }
    // Links between the pages stay in the window, and Back returns.
    THtmlHelp::HtmlHelp(nullptr, chm, HH_HELP_CONTEXT, 2010);
    THelpViewer* viewer = shown();
    viewer->btnContents->click();
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("index.html"));
    viewer->btnBack->click();
    EXPECT_EQ(viewer->CurrentPage(), QStringLiteral("2010.html"));

    // Asked for from the modal options dialog, the help window is not
    // blocked by it: the operator can read and close it while the dialog is
    // open.
    struct TBlockedHelp : QObject {
        bool blocked = false;
        bool eventFilter(QObject* receiver, QEvent* event) override {
            if (event->type() == QEvent::WindowBlocked && qobject_cast<THelpViewer*>(receiver))
                blocked = true;
            return false;
        }
    } watch;
    THtmlHelp::HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
    qApp->installEventFilter(&watch);
    bool shownOverDialog = false;
    QTimer::singleShot(0, frmOptions.get(), [&] {
        THtmlHelp::HtmlHelp(frmOptions.get(), chm, HH_HELP_CONTEXT, 2010);
        shownOverDialog = shown() && QTest::qWaitForWindowExposed(shown());
        frmOptions->reject();
    });
    frmOptions->exec();
    qApp->removeEventFilter(&watch);
    EXPECT_TRUE(shownOverDialog);
    EXPECT_FALSE(watch.blocked);
    THtmlHelp::HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
    THtmlHelp::SetHandler(recorder);
}

}  // namespace

namespace {

TEST_F(OptionsDialogTest, MenuAndLogoOpenTheSameWebPage) {
    // A text browser stands in for the user's browser: QDesktopServices hands
    // it every https address through its setSource slot.
    ShowActive();
    QTextBrowser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "setSource");
    frm->act_HvwebPage->trigger();
    const QUrl fromMenu = browser.source();
    browser.clear();
    browser.setSource(QUrl());
    QTest::mouseClick(frm->btnHvweb, Qt::LeftButton);
    const QUrl fromLogo = browser.source();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

    EXPECT_EQ(fromMenu, QUrl(QStringLiteral("https://zypanel.example/")));
    EXPECT_EQ(fromLogo, fromMenu);
    EXPECT_EQ(QApplication::focusWidget(), frm->btnGenUpdate);
}

}  // namespace
