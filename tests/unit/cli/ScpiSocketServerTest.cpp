#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "cli/ScpiSocketServer.h"
#include "platform/RecordingDriver.h"
#include "scpi/ScpiEngine.h"
#include "tests/fixtures/GeneratorOn.h"

namespace {

// A TCP client of the server, blocking.
class Client {
  public:
    explicit Client(uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    }
    ~Client() { Close(); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void Send(const std::string& bytes) {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            ASSERT_GT(n, 0);
            done += static_cast<std::size_t>(n);
        }
    }
    // Sends without waiting; false once the connection takes no more.
    bool SendWhatFits(const std::string& bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT) ==
               static_cast<ssize_t>(bytes.size());
    }
    // One line without its end; "" when the server closed the connection.
    std::string ReadLine() {
        std::string line;
        char c;
        while (::recv(fd_, &c, 1, 0) == 1) {
            if (c == '\n') return line;
            line += c;
        }
        return line;
    }
    std::string Query(const std::string& message) {
        Send(message + "\n");
        return ReadLine();
    }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

// A server on a free loopback port, run on its own thread.
class ScpiSocketServerTest : public GeneratorOn<TRecordingDriver> {
  protected:
    TScpiEngine engine{*gen, ZyPanelScpiIdentity("0")};
    TScpiSocketServer server{engine, "127.0.0.1", 0};
    std::thread thread{[this] { server.Run(); }};

    void TearDown() override {
        server.Stop();
        thread.join();
        GeneratorOn::TearDown();
    }
};

TEST_F(ScpiSocketServerTest, ServesOneClientAndRefusesASecond) {
    Client first(server.Port());
    EXPECT_EQ(first.Query("FREQ 2 MHZ;FREQ?"), "2000000");
    Client second(server.Port());
    EXPECT_EQ(second.ReadLine(), "-200,\"Execution error;another client is connected\"");
    EXPECT_EQ(second.ReadLine(), "");  // closed
    EXPECT_EQ(first.Query("*IDN?"), "ZyPanel,TAYRA-9,0,0");
    first.Close();
    Client third(server.Port());
    EXPECT_EQ(third.Query("FREQ?"), "2000000");
}

TEST_F(ScpiSocketServerTest, ALineOver64KiBIsRefusedAndTheConnectionStaysUsable) {
    Client client(server.Port());
    client.Send("FREQ 3 MHZ;" + std::string(70000, ' ') + "\n");
    EXPECT_EQ(client.Query("SYST:ERR?;:FREQ?"),
              "-223,\"Too much data;line longer than 65536 bytes\";1000000");
}

TEST_F(ScpiSocketServerTest, AClientLeavingMidLineLeavesNothingBehind) {
    {
        Client leaving(server.Port());
        leaving.Send("FREQ 4 MHZ");
    }
    Client next(server.Port());
    EXPECT_EQ(next.Query("FREQ?"), "1000000");
}

TEST_F(ScpiSocketServerTest, AClientThatStallsOrReadsNothingHoldsNothingUp) {
    Client stalling(server.Port());
    stalling.Send("FREQ");
    Client greedy(server.Port());  // refused while the first one stalls
    EXPECT_EQ(greedy.ReadLine().substr(0, 4), "-200");
    EXPECT_EQ(stalling.Query(" 5 MHZ;FREQ?"), "5000000");
    // Queries whose answers are never read, as many as the connection takes.
    std::size_t sent = 0;
    for (std::string queries; sent < (64u << 20); sent += queries.size()) {
        queries.clear();
        for (int i = 0; i < 4096; ++i) queries += "*IDN?\n";
        if (!stalling.SendWhatFits(queries)) break;
    }
    EXPECT_LT(sent, 64u << 20);  // the server stopped reading
    // Stop (in TearDown) still ends the server.
}

}  // namespace
