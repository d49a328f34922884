#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolBar;
class TDMmain;
class TRemoteControl;
class TframeCh;
class TfrmOptions;
class TZyGen4;

// The main window: both channel panels side by side (A left, B right), the
// menu, the toolbar and the status bar. It connects and disconnects the
// instrument, applies both panels in one batch ("Обновить", also Enter in any
// control that does not use Enter itself) and arbitrates the rules that
// involve both panels through the panels' hooks.
class TfrmMain : public QMainWindow {
    Q_OBJECT

  public:
    // `simulation` adds the permanent "Виртуальный прибор" label to the
    // status bar. Runs FormCreate, which may connect (AutoConnect).
    explicit TfrmMain(TDMmain* dm, bool simulation = false, QWidget* parent = nullptr);
    // Clears the data module's references to the panels first.
    ~TfrmMain() override;

    TZyGen4* Gen = nullptr;
    TDMmain* DM = nullptr;
    // The options dialog, created by start-up after this window; not owned.
    TfrmOptions* frmOptions = nullptr;
    // The instrument monitor, a window of its own created by start-up; not owned.
    QWidget* frmMonitor = nullptr;

    // Operations.
    void SetGenActive(bool v);
    void UpdateChannels();
    void ChIntModPrep(TframeCh* frame);

    // Handlers.
    void FormCreate();
    void miGen_ConnectClick();
    void miGen_DisconnectClick();
    void miExitClick();
    void act_GenConnectUpdate();
    void act_GenDisconnectUpdate();
    void act_OptionsSetExecute();
    void act_MonitorExecute();
    void act_UpdateChlsExecute();
    void miHelpAboutClick();
    void btnHvwebClick();
    void act_HvwebPageExecute();
    void actHelpContentsExecute();
    void actOnHelpContextExecute();
    void ChFrameSetMode(TframeCh* frame);
    void ChLFMmodePrep(TframeCh* frame);

    // Components.
    QToolBar* ToolBarMain = nullptr;
    QWidget* pnlChannels = nullptr;
    QWidget* pnlChA = nullptr;
    QWidget* pnlChB = nullptr;
    TframeCh* frameChA = nullptr;
    TframeCh* frameChB = nullptr;
    QStatusBar* StatBarMain = nullptr;
    QLabel* lblSimulation = nullptr;
    QLabel* lblRemote = nullptr;  // the SCPI server's address and client
    TRemoteControl* RemoteControl = nullptr;
    QPushButton* btnGenUpdate = nullptr;
    QPushButton* btnHvweb = nullptr;
    QMenu* miGenerator = nullptr;
    QMenu* miChannel = nullptr;
    QMenu* miHelp = nullptr;
    QAction* miExit = nullptr;
    QAction* miHelpAbout = nullptr;
    QAction* act_GenConnect = nullptr;
    QAction* act_GenDisconnect = nullptr;
    QAction* act_OptionsSet = nullptr;
    QAction* act_Monitor = nullptr;
    QAction* act_UpdateChls = nullptr;
    QAction* actHelpContents = nullptr;
    QAction* act_HvwebPage = nullptr;
    QAction* actOnHelpContext = nullptr;

    // The maker's web page.
    static const char* const kMakerWebAddress;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildChannels();
    void UpdateActions();
    // Enter in a control of this window that does not use Enter itself.
    bool IsDefaultButtonKey(QObject* watched, QEvent* event) const;
};
