#include "app/ScpiTcpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

#include "scpi/ScpiEngine.h"
#include "scpi/ScpiError.h"

namespace {

// Answers are run no further ahead of a client that does not read them, and
// no more than this is read ahead of the lines that run.
constexpr qint64 kMaxPendingOutput = 1 << 20;
constexpr qint64 kReadChunk = 1 << 16;

const char kBusyLine[] = "-200,\"Execution error;another client is connected\"\n";

}  // namespace

TScpiTcpServer::TScpiTcpServer(TScpiEngine& engine, QObject* parent)
    : QObject(parent), engine_(engine) {
    setObjectName(QStringLiteral("ScpiServer"));
    connect(&server_, &QTcpServer::newConnection, this, &TScpiTcpServer::Accept);
}

TScpiTcpServer::~TScpiTcpServer() {
    DropClient();
}

bool TScpiTcpServer::Listen(const QString& address, quint16 port) {
    Close();
    QHostAddress host;
    if (!host.setAddress(address)) {
        errorText_ = QStringLiteral("«%1» — не IP-адрес").arg(address);
        emit StateChanged();
        return false;
    }
    const bool ok = server_.listen(host, port);
    errorText_ = ok ? QString() : server_.errorString();
    emit StateChanged();
    return ok;
}

void TScpiTcpServer::Close() {
    DropClient();
    server_.close();
    emit StateChanged();
}

QString TScpiTcpServer::AddressText() const {
    const QHostAddress host = server_.serverAddress();
    const QString text = host.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(host.toString())
                             : host.toString();
    return text + QStringLiteral(":") + QString::number(server_.serverPort());
}

void TScpiTcpServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (client_) {
            socket->write(kBusyLine, sizeof kBusyLine - 1);
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        client_ = socket;
        client_->setParent(this);
        // Qt reads no further ahead than this, so a client that sends
        // faster than the lines run meets TCP's own flow control.
        client_->setReadBufferSize(kReadChunk);
        connect(client_, &QTcpSocket::readyRead, this, &TScpiTcpServer::Receive);
        connect(client_, &QTcpSocket::bytesWritten, this, &TScpiTcpServer::Receive);
        connect(client_, &QTcpSocket::disconnected, this, &TScpiTcpServer::DropClient);
        emit StateChanged();
        Receive();  // what arrived with the connection
    }
}

void TScpiTcpServer::Receive() {
    if (!client_) return;
    RunLines();
    while (client_ && client_->bytesToWrite() < kMaxPendingOutput && client_->bytesAvailable()) {
        const QByteArray bytes = client_->read(kReadChunk);
        lines_.Append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        RunLines();
    }
}

void TScpiTcpServer::RunLines() {
    // Should a message ever run the event loop, the lines that arrive
    // meanwhile wait for this loop instead of starting another.
    if (running_) return;
    running_ = true;
    TScpiLineBuffer::TItem item;
    while (client_ && client_->bytesToWrite() < kMaxPendingOutput && lines_.Next(item)) {
        if (item.tooLong) {
            engine_.PushError(seTooMuchData, "line longer than 65536 bytes");
            continue;
        }
        const std::string answer = engine_.Execute(item.line);
        // The client may have gone while the message ran.
        if (client_ && !answer.empty())
            client_->write(answer.data(), static_cast<qint64>(answer.size()));
    }
    running_ = false;
}

void TScpiTcpServer::DropClient() {
    if (!client_) return;
    QTcpSocket* gone = client_;
    client_ = nullptr;
    lines_.Clear();
    gone->disconnect(this);
    gone->abort();
    gone->deleteLater();
    emit StateChanged();
}
