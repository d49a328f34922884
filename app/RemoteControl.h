#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "platform/Component.h"

class TDMmain;
class TframeCh;
class TScpiEngine;
class TScpiTcpServer;
class TZyAppBoolOption;
class TZyAppIntOption;
class TZyAppStrOption;

// Remote control of the window: the options of the page "Удалённое
// управление" (off, port 5025, address 127.0.0.1 unless another one is typed
// in), the SCPI engine over the data module's generator and its server on the
// GUI thread. After every message that changed the generator the panels show
// the new values, as after "Обновить".
class TRemoteControl : public QObject, public TComponent {
    Q_OBJECT

  public:
    static constexpr int kDefaultPort = 5025;

    // `dm` must outlive this; its panels are shown once the main window set them.
    explicit TRemoteControl(TDMmain* dm, QObject* parent = nullptr);
    ~TRemoteControl() override;

    TZyAppBoolOption* EnabledOption = nullptr;
    TZyAppIntOption* PortOption = nullptr;
    TZyAppStrOption* AddressOption = nullptr;

    // Starts, moves or stops the server as the options say.
    void Apply();
    // For the status bar: where the server listens and whether a client is
    // connected, why it could not start, or "" while it is off.
    QString StatusText() const;
    TScpiTcpServer* Server() const { return server_.get(); }

  signals:
    void StatusChanged();

  private:
    void ShowInPanels();
    static void ShowInPanel(TframeCh* frame);
    static void ShowIntModulationChoices(TframeCh* frame);

    TDMmain* dm_;
    std::unique_ptr<TScpiEngine> engine_;
    std::unique_ptr<TScpiTcpServer> server_;
};
