#pragma once

#include <QObject>
#include <QString>
#include <QTcpServer>
#include <memory>

#include "scpi/ScpiLineBuffer.h"

class QTcpSocket;
class TScpiEngine;

// The window's SCPI server: the engine behind a TCP socket, on the GUI thread.
// One client at a time (a second one gets an error line and is closed); each
// line is one program message. A client that stops reading is not read from
// until it takes its answers, and one that leaves mid-line leaves nothing
// behind.
class TScpiTcpServer : public QObject {
    Q_OBJECT

  public:
    explicit TScpiTcpServer(TScpiEngine& engine, QObject* parent = nullptr);
    ~TScpiTcpServer() override;

    // Listens on `address` (dotted IPv4 or IPv6) at `port`, closing what was
    // open before; false, with ErrorText(), when it cannot.
    bool Listen(const QString& address, quint16 port);
    void Close();

    bool IsListening() const { return server_.isListening(); }
    bool HasClient() const { return client_ != nullptr; }
    // "127.0.0.1:5025"
    QString AddressText() const;
    QString ErrorText() const { return errorText_; }

  signals:
    // Listening started or stopped, a client came or went.
    void StateChanged();

  private:
    void Accept();
    void Receive();
    // Runs the lines received while the answers waiting stay small.
    void RunLines();
    void DropClient();

    TScpiEngine& engine_;
    QTcpServer server_;
    QTcpSocket* client_ = nullptr;
    TScpiLineBuffer lines_;
    QString errorText_;
    bool running_ = false;  // inside RunLines
};
