#include "cli/ScpiSocketServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Exceptions.h"
#include "scpi/ScpiEngine.h"
#include "scpi/ScpiError.h"

namespace {

// Answers are run no further ahead of a client that does not read them.
constexpr std::size_t kMaxPendingOutput = 1 << 20;

const char kBusyLine[] = "-200,\"Execution error;another client is connected\"\n";

[[noreturn]] void Fail(const std::string& what) {
    throw Exception(what + ": " + std::strerror(errno));
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

TScpiSocketServer::TScpiSocketServer(TScpiEngine& engine, const std::string& address, uint16_t port)
    : engine_(engine) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &addr.sin_addr) != 1)
        throw Exception("not an IPv4 address: '" + address + "'");
    try {
        if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) Fail("pipe");
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (listen_ < 0) Fail("socket");
        const int on = 1;
        ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
            Fail("cannot listen on " + address + ":" + std::to_string(port));
        if (::listen(listen_, 4) != 0) Fail("listen");
        socklen_t len = sizeof addr;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
    } catch (...) {
        CloseFd(listen_);
        CloseFd(wake_[0]);
        CloseFd(wake_[1]);
        throw;
    }
}

TScpiSocketServer::~TScpiSocketServer() {
    CloseFd(client_);
    CloseFd(listen_);
    CloseFd(wake_[0]);
    CloseFd(wake_[1]);
}

void TScpiSocketServer::Stop() {
    const char byte = 1;
    // Only write(): this runs in signal handlers. A full pipe already wakes.
    [[maybe_unused]] ssize_t n = ::write(wake_[1], &byte, 1);
}

void TScpiSocketServer::Run() {
    while (true) {
        pollfd fds[3] = {{wake_[0], POLLIN, 0}, {listen_, POLLIN, 0}, {client_, 0, 0}};
        nfds_t count = 2;
        if (client_ >= 0) {
            // Nothing more is read while answers wait for the client.
            fds[2].events = out_.empty() ? POLLIN : POLLOUT;
            count = 3;
        }
        if (::poll(fds, count, -1) < 0) {
            if (errno == EINTR) continue;
            Fail("poll");
        }
        if (fds[0].revents) return;
        // The client first: one that has just left makes room for the next.
        if (count == 3 && fds[2].revents) {
            const bool alive = (fds[2].revents & POLLOUT) ? Send() : Receive();
            if (!alive) DropClient();
        }
        if (fds[1].revents & POLLIN) Accept();
    }
}

void TScpiSocketServer::Accept() {
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;  // gone again before it was taken
    if (client_ >= 0 && ClientHasLeft()) {
        // It left before its end was read: what it sent still runs (its
        // connection ends in a read of nothing).
        while (Receive()) {
        }
        DropClient();
    }
    if (client_ >= 0) {
        [[maybe_unused]] ssize_t n = ::send(fd, kBusyLine, sizeof kBusyLine - 1, MSG_NOSIGNAL);
        ::close(fd);
        return;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    client_ = fd;
}

bool TScpiSocketServer::ClientHasLeft() const {
    pollfd fd{client_, POLLRDHUP, 0};
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLRDHUP | POLLHUP | POLLERR));
}

bool TScpiSocketServer::Receive() {
    char buffer[65536];
    const ssize_t n = ::recv(client_, buffer, sizeof buffer, 0);
    if (n == 0) return false;
    if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    lines_.Append(std::string_view(buffer, static_cast<std::size_t>(n)));
    RunLines();
    return out_.empty() || Send();
}

bool TScpiSocketServer::Send() {
    while (!out_.empty()) {
        const ssize_t n = ::send(client_, out_.data(), out_.size(), MSG_NOSIGNAL);
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        out_.erase(0, static_cast<std::size_t>(n));
        if (out_.empty()) RunLines();
    }
    return true;
}

void TScpiSocketServer::RunLines() {
    TScpiLineBuffer::TItem item;
    while (out_.size() < kMaxPendingOutput && lines_.Next(item)) {
        if (item.tooLong)
            engine_.PushError(seTooMuchData, "line longer than 65536 bytes");
        else
            out_ += engine_.Execute(item.line);
    }
}

void TScpiSocketServer::DropClient() {
    CloseFd(client_);
    lines_.Clear();
    out_.clear();
}
