#pragma once

#include <cstdint>
#include <string>

#include "scpi/ScpiLineBuffer.h"

class TScpiEngine;

// A SCPI server on a TCP socket with a plain poll loop: one client at a time
// (a second one gets an error line and is closed), each line one program
// message. A client that stops reading is not read from until it takes its
// answers; one that leaves mid-line leaves nothing behind.
class TScpiSocketServer {
  public:
    // Listens on `address` (IPv4, dotted) at `port`, 0 for any free one.
    // Throws Exception when it cannot.
    TScpiSocketServer(TScpiEngine& engine, const std::string& address, uint16_t port);
    ~TScpiSocketServer();
    TScpiSocketServer(const TScpiSocketServer&) = delete;
    TScpiSocketServer& operator=(const TScpiSocketServer&) = delete;

    // The port listened on.
    uint16_t Port() const { return port_; }

    // Serves until Stop().
    void Run();
    // Ends Run; safe from another thread and from a signal handler.
    void Stop();

  private:
    void Accept();
    // The client closed its end (maybe with bytes still unread).
    bool ClientHasLeft() const;
    // Reads what has arrived and runs its lines; false when the client has gone.
    bool Receive();
    bool Send();
    // Runs the lines received while the answers waiting stay small.
    void RunLines();
    void DropClient();

    TScpiEngine& engine_;
    int listen_ = -1;
    int client_ = -1;
    int wake_[2] = {-1, -1};  // Stop writes a byte to wake the poll
    uint16_t port_ = 0;
    TScpiLineBuffer lines_;
    std::string out_;  // answers not yet sent
};
