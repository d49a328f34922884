#include "ui/frmMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QUrl>
#include <utility>

#include "app/DMmain.h"
#include "app/MessageBox.h"
#include "app/RemoteControl.h"
#include "app/ZyApplication.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4AutoUpdateSuspend.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/ZyGen4Options.h"
#include "options/ZyAppOptionsRepository.h"
#include "ui/BusyCursor.h"
#include "ui/Icons.h"
#include "ui/MaskEdit.h"
#include "ui/OpenFailureText.h"
#include "ui/WidgetBuild.h"
#include "ui/frameCh.h"
#include "ui/frmAbout.h"
#include "ui/frmOptions.h"

const char* const TfrmMain::kMakerWebAddress = "https://zypanel.example/";

namespace {

// Gives the focus back to a control when the scope ends, however it ends.
class TFocusRestorer {
  public:
    explicit TFocusRestorer(QWidget* widget) : widget_(widget) {}
    ~TFocusRestorer() {
        if (widget_) widget_->setFocus(Qt::OtherFocusReason);
    }
    TFocusRestorer(const TFocusRestorer&) = delete;
    TFocusRestorer& operator=(const TFocusRestorer&) = delete;

  private:
    QPointer<QWidget> widget_;
};

// Runs a function when the scope ends, however it ends.
template <class F>
class TOnExit {
  public:
    explicit TOnExit(F f) : f_(std::move(f)) {}
    ~TOnExit() { f_(); }
    TOnExit(const TOnExit&) = delete;
    TOnExit& operator=(const TOnExit&) = delete;

  private:
    F f_;
};

}  // namespace

TfrmMain::TfrmMain(TDMmain* dm, bool simulation, QWidget* parent)
    : QMainWindow(parent), Gen(dm->ZyGen()), DM(dm) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Универсальный двухканальный генератор Тайра-9"));
    setProperty("helpContext", 2020);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    BuildActions();
    BuildChannels();
    BuildMenus();
    BuildToolBar();

    StatBarMain = new QStatusBar(this);
    StatBarMain->setObjectName(QStringLiteral("StatBarMain"));
    setStatusBar(StatBarMain);
    if (simulation) {
        lblSimulation = new QLabel(QStringLiteral("Виртуальный прибор"), StatBarMain);
        lblSimulation->setObjectName(QStringLiteral("lblSimulation"));
        StatBarMain->addPermanentWidget(lblSimulation);
    }
    lblRemote = new QLabel(StatBarMain);
    lblRemote->setObjectName(QStringLiteral("lblRemote"));
    StatBarMain->addPermanentWidget(lblRemote);
    RemoteControl = new TRemoteControl(DM, this);
    DM->RemoteControl = RemoteControl;
    connect(RemoteControl, &TRemoteControl::StatusChanged, this, [this] {
        lblRemote->setText(RemoteControl->StatusText());
        lblRemote->setVisible(!lblRemote->text().isEmpty());
    });
    // No menu for hiding the toolbar, which carries the default button.
    setContextMenuPolicy(Qt::NoContextMenu);
    // The window cannot be resized: its size follows its contents.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Key preview: Enter anywhere in the window runs the default button.
    qApp->installEventFilter(this);

    // An error while the window is being set up (a link error of the
    // auto-connect) is shown, and the program goes on with the window.
    SafeCall([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() {
    DM->RemoteControl = nullptr;
    DM->ChAFrame = nullptr;
    DM->ChBFrame = nullptr;
    DM->MainWindow = nullptr;
    DM->OnActiveStateChanged = nullptr;
}

void TfrmMain::BuildActions() {
    act_GenConnect = NewAction(this, "act_GenConnect", QStringLiteral("Подключиться"),
                               QStringLiteral("Подключиться|Подключение к генератору"));
    act_GenConnect->setIcon(ZyIcon(zimConnect));
    Bind(act_GenConnect, &QAction::triggered, this, [this] { miGen_ConnectClick(); });

    act_GenDisconnect = NewAction(this, "act_GenDisconnect", QStringLiteral("Отключиться"),
                                  QStringLiteral("Отключиться|Отключение от генератора"));
    act_GenDisconnect->setIcon(ZyIcon(zimDisconnect));
    Bind(act_GenDisconnect, &QAction::triggered, this, [this] { miGen_DisconnectClick(); });

    act_OptionsSet = NewAction(
        this, "act_OptionsSet", QStringLiteral("Параметры..."),
        QStringLiteral("Параметры|Открытие диалогового окна для настройки параметров приложения"));
    act_OptionsSet->setIcon(ZyIcon(zimOptions));
    Bind(act_OptionsSet, &QAction::triggered, this, [this] { act_OptionsSetExecute(); });

    act_Monitor = NewAction(
        this, "act_Monitor", QStringLiteral("Монитор"),
        QStringLiteral(
            "Монитор|Обмен с генератором: команды, их смысл, состояние и графики каналов"));
    act_Monitor->setShortcut(QKeySequence(Qt::Key_F4));
    Bind(act_Monitor, &QAction::triggered, this, [this] { act_MonitorExecute(); });

    act_UpdateChls = NewAction(this, "act_UpdateChls", QStringLiteral("Обновить"),
                               QStringLiteral("Обновить|Обновление параметров каналов генератора"));
    act_UpdateChls->setIcon(ZyIcon(zimUpdate));
    Bind(act_UpdateChls, &QAction::triggered, this, [this] { act_UpdateChlsExecute(); });

    actHelpContents = NewAction(this, "actHelpContents", QStringLiteral("&Содержание"),
                                QStringLiteral("Help Contents"));
    Bind(actHelpContents, &QAction::triggered, this, [this] { actHelpContentsExecute(); });

    act_HvwebPage =
        NewAction(this, "act_HvwebPage", QStringLiteral("Домашняя страница"), QString());
    Bind(act_HvwebPage, &QAction::triggered, this, [this] { act_HvwebPageExecute(); });

    actOnHelpContext =
        NewAction(this, "actOnHelpContext", QStringLiteral("Содержание..."), QString());
    actOnHelpContext->setShortcut(QKeySequence(Qt::Key_F1));
    Bind(actOnHelpContext, &QAction::triggered, this, [this] { actOnHelpContextExecute(); });
}

void TfrmMain::BuildChannels() {
    pnlChannels = new QWidget(this);
    pnlChannels->setObjectName(QStringLiteral("pnlChannels"));
    auto* row = new QHBoxLayout(pnlChannels);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    pnlChA = new QWidget(pnlChannels);
    pnlChA->setObjectName(QStringLiteral("pnlChA"));
    pnlChB = new QWidget(pnlChannels);
    pnlChB->setObjectName(QStringLiteral("pnlChB"));
    frameChA = new TframeCh(pnlChA);
    frameChA->setObjectName(QStringLiteral("frameChA"));
    frameChB = new TframeCh(pnlChB);
    frameChB->setObjectName(QStringLiteral("frameChB"));
    for (auto [pnl, frame] : {std::pair{pnlChA, frameChA}, std::pair{pnlChB, frameChB}}) {
        auto* fill = new QVBoxLayout(pnl);
        fill->setContentsMargins(2, 0, 2, 2);
        fill->addWidget(frame);
        row->addWidget(pnl, 1);  // equal halves
    }
    setCentralWidget(pnlChannels);

    frameChA->actCh_SetMode->setText(QStringLiteral("Выход канала &A"));
    frameChA->actCh_SetMode->setShortcut(QKeySequence(Qt::Key_F2));
    frameChA->chBox_ChOpen->setText(QStringLiteral("Канал A"));
    frameChB->actCh_SetMode->setText(QStringLiteral("Выход канала &B"));
    frameChB->actCh_SetMode->setShortcut(QKeySequence(Qt::Key_F3));
    frameChB->chBox_ChOpen->setText(QStringLiteral("Канал B"));
    addAction(frameChA->actCh_SetMode);
    addAction(frameChB->actCh_SetMode);
}

void TfrmMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuMain"));

    miGenerator = bar->addMenu(QStringLiteral("&Генератор"));
    miGenerator->setObjectName(QStringLiteral("miGenerator"));
    miGenerator->addAction(act_GenConnect);
    miGenerator->addAction(act_GenDisconnect);
    miGenerator->addSeparator();
    miGenerator->addAction(act_OptionsSet);
    miGenerator->addAction(act_Monitor);
    miGenerator->addSeparator();
    miExit = miGenerator->addAction(QStringLiteral("В&ыход"));
    miExit->setObjectName(QStringLiteral("miExit"));
    Bind(miExit, &QAction::triggered, this, [this] { miExitClick(); });

    miChannel = bar->addMenu(QStringLiteral("&Канал"));
    miChannel->setObjectName(QStringLiteral("miChannel"));
    miChannel->addAction(frameChA->actCh_SetMode);
    miChannel->addAction(frameChB->actCh_SetMode);
    miChannel->addSeparator();
    miChannel->addAction(act_UpdateChls);

    miHelp = bar->addMenu(QStringLiteral("&Справка"));
    miHelp->setObjectName(QStringLiteral("miHelp"));
    miHelp->addAction(actHelpContents);
    miHelp->addSeparator();
    miHelp->addAction(act_HvwebPage);
    miHelp->addSeparator();
    miHelpAbout = miHelp->addAction(QStringLiteral("&О программе..."));
    miHelpAbout->setObjectName(QStringLiteral("miHelpAbout"));
    Bind(miHelpAbout, &QAction::triggered, this, [this] { miHelpAboutClick(); });
}

void TfrmMain::BuildToolBar() {
    ToolBarMain = addToolBar(QStringLiteral("Панель инструментов"));
    ToolBarMain->setObjectName(QStringLiteral("ToolBarMain"));
    ToolBarMain->setMovable(false);
    ToolBarMain->setIconSize(QSize(18, 18));
    ToolBarMain->addAction(act_GenConnect);
    ToolBarMain->addAction(act_GenDisconnect);
    ToolBarMain->addSeparator();
    ToolBarMain->addAction(act_OptionsSet);
    ToolBarMain->addAction(act_Monitor);
    ToolBarMain->addSeparator();

    btnGenUpdate = new QPushButton(act_UpdateChls->text(), ToolBarMain);
    btnGenUpdate->setObjectName(QStringLiteral("btnGenUpdate"));
    btnGenUpdate->setFlat(true);
    btnGenUpdate->setIcon(act_UpdateChls->icon());
    btnGenUpdate->setMinimumSize(86, 25);
    btnGenUpdate->setToolTip(act_UpdateChls->toolTip());
    btnGenUpdate->setStatusTip(act_UpdateChls->statusTip());
    btnGenUpdate->setDefault(true);
    connect(btnGenUpdate, &QPushButton::clicked, act_UpdateChls, &QAction::trigger);
    ToolBarMain->addWidget(btnGenUpdate);

    auto* spacer = new QWidget(ToolBarMain);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBarMain->addWidget(spacer);

    btnHvweb = new QPushButton(ToolBarMain);
    btnHvweb->setObjectName(QStringLiteral("btnHvweb"));
    btnHvweb->setFlat(true);
    btnHvweb->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    btnHvweb->setFixedSize(87, 32);
    btnHvweb->setIcon(QIcon(ZyLogo(QSize(83, 28))));
    btnHvweb->setIconSize(QSize(83, 28));
    btnHvweb->setToolTip(act_HvwebPage->text());
    Bind(btnHvweb, &QPushButton::clicked, this, [this] { btnHvwebClick(); });
    ToolBarMain->addWidget(btnHvweb);
}

void TfrmMain::FormCreate() {
    frameChA->Channel = Gen->ChA();
    frameChB->Channel = Gen->ChB();
    frameChA->DM = DM;
    frameChB->DM = DM;
    DM->ChAFrame = frameChA;
    DM->ChBFrame = frameChB;
    DM->MainWindow = this;
    DM->OnActiveStateChanged = [this] { UpdateActions(); };
    frameChA->ChLetter = 'A';
    frameChB->ChLetter = 'B';
    frameChA->InitFrame();
    frameChB->InitFrame();
    for (TframeCh* frame : {frameChA, frameChB}) {
        frame->OnModeSelect = [this](TframeCh* f) { ChFrameSetMode(f); };
        frame->OnLFMPrepare = [this](TframeCh* f) { ChLFMmodePrep(f); };
        frame->OnIntModApplied = [this](TframeCh* f) { ChIntModPrep(f); };
    }
    UpdateActions();
    if (DM->AutoConnectOption->Value()) SetGenActive(true);
    RemoteControl->Apply();
}

void TfrmMain::UpdateActions() {
    act_GenConnectUpdate();
    act_GenDisconnectUpdate();
}

void TfrmMain::act_GenConnectUpdate() {
    act_GenConnect->setEnabled(!Gen->GetActive());
}

void TfrmMain::act_GenDisconnectUpdate() {
    act_GenDisconnect->setEnabled(Gen->GetActive());
}

void TfrmMain::SetGenActive(bool v) {
    {
        // The actions follow Active even when the connection's first update
        // fails with a link error and the link stays open.
        const TOnExit refresh([this] { UpdateActions(); });
        TBusyCursor busy;
        Gen->SetActive(v);
    }
    if (Gen->GetActive() == v) return;
    QString text = QStringLiteral("Невозможно %1ключить генератор!")
                       .arg(v ? QStringLiteral("в") : QStringLiteral("вы"));
    const QString cause = v ? OpenFailureText(Gen->OpenFailure()) : QString();
    if (!cause.isEmpty()) text += QLatin1Char('\n') + cause;
    TMessageBox::Show(this, text, QStringLiteral("Подключение к устройству"), miError, mbOK);
}

void TfrmMain::miGen_ConnectClick() {
    SetGenActive(true);
}

void TfrmMain::miGen_DisconnectClick() {
    SetGenActive(false);
}

void TfrmMain::miExitClick() {
    // The window closes even when the disconnect failed.
    SafeCall([this] { SetGenActive(false); });
    close();
}

void TfrmMain::UpdateChannels() {
    TBusyCursor busy;
    // As in a panel's ApplyNow, the update resumes also when a transfer stops
    // at a text that is no number.
    TZyGen4AutoUpdateSuspend batch(*Gen, true);
    frameChA->ApplyToChannel();
    frameChB->ApplyToChannel();
    batch.Restore();
}

void TfrmMain::act_UpdateChlsExecute() {
    QWidget* focused = QApplication::focusWidget();
    // Leaving the editor commits its text; do it explicitly too, so that the
    // text is validated even where no focus change is delivered.
    TMaskEdit* edit = qobject_cast<TMaskEdit*>(focused);
    if (auto* combo = qobject_cast<QComboBox*>(focused))
        edit = qobject_cast<TMaskEdit*>(combo->lineEdit());
    if (edit) edit->ValidateEdit();
    btnGenUpdate->setFocus(Qt::OtherFocusReason);
    const TFocusRestorer restore(focused);
    UpdateChannels();
}

void TfrmMain::act_OptionsSetExecute() {
    if (!frmOptions) return;
    frmOptions->LoadFromOptions(false);
    if (frmOptions->exec() != QDialog::Accepted) return;
    // An error while storing ends here: the panels keep their colours.
    frmOptions->StoreToOptions(true);
    frameChA->ApplyColors(false);
    frameChB->ApplyColors(false);
}

void TfrmMain::act_MonitorExecute() {
    if (!frmMonitor) return;
    frmMonitor->show();
    frmMonitor->raise();
    frmMonitor->activateWindow();
}

void TfrmMain::miHelpAboutClick() {
    TfrmAbout about(this);
    about.exec();
}

void TfrmMain::btnHvwebClick() {
    act_HvwebPage->trigger();
    btnGenUpdate->setFocus(Qt::OtherFocusReason);
}

void TfrmMain::act_HvwebPageExecute() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerWebAddress)));
}

void TfrmMain::actHelpContentsExecute() {
    bool callHelp = true;
    DM->ApplicationEventsMainHelp(3, 0, callHelp);
}

void TfrmMain::actOnHelpContextExecute() {
    // F1: the help page of the focused control, from the nearest control up
    // its parents that carries a help context number; the window's own page
    // otherwise.
    int context = 0;
    for (QWidget* w = QApplication::focusWidget(); w && !context; w = w->parentWidget())
        context = w->property("helpContext").toInt();
    if (!context) context = property("helpContext").toInt();
    bool callHelp = true;
    DM->ApplicationEventsMainHelp(1, context, callHelp);
}

void TfrmMain::ChFrameSetMode(TframeCh*) {
    if (frameChA->cmbBoxChMode->currentIndex() == TframeCh::miLFM)
        frameChA->pgCtrlChModes->setCurrentIndex(TframeCh::pgLFMm);
    if (frameChB->cmbBoxChMode->currentIndex() == TframeCh::miLFM) {
        const bool both = frameChA->cmbBoxChMode->currentIndex() == TframeCh::miLFM;
        frameChB->pgCtrlChModes->setCurrentIndex(both ? TframeCh::pgLFMd : TframeCh::pgLFMm);
    }
}

void TfrmMain::ChLFMmodePrep(TframeCh* frame) {
    if (frame == frameChB) frameChA->ApplyLFM();
}

void TfrmMain::ChIntModPrep(TframeCh* frame) {
    if (frame == frameChA && Gen->Options()->EnableDuplexIntMod()) frameChB->SelectIntModMode();
}

bool TfrmMain::IsDefaultButtonKey(QObject* watched, QEvent* event) const {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !widget->isEnabled()) return false;
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
    // Controls that use Enter themselves keep it; check boxes and radio
    // buttons do not.
    if (qobject_cast<QPushButton*>(widget) || qobject_cast<QTextEdit*>(widget) ||
        qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QAbstractItemView*>(widget))
        return false;
    return true;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (IsDefaultButtonKey(watched, event)) {
        // The editor validates on Enter before the default button runs.
        if (auto* edit = qobject_cast<TMaskEdit*>(watched)) edit->ValidateEdit();
        act_UpdateChls->trigger();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
