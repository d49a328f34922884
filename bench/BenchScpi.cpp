// The SCPI server of zygen4 over loopback: the latency of FREQ? round trips
// (target: median under 200 µs), and the frames one line of ten settings
// sends, which must be what one update cycle sends.
//
//   bench_scpi [round_trips]     default 10000

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "cli/ScpiSocketServer.h"
#include "gen4/ZyGen4.h"
#include "platform/FakeTickSource.h"
#include "platform/HexBytes.h"
#include "platform/ManualTimerHost.h"
#include "scpi/ScpiEngine.h"
#include "sim/VirtualInstrument.h"

namespace {

// The virtual instrument, every write kept for printing.
class TFrameLog : public TUsbDriver {
  public:
    FT_STATUS FT_Open(int n, FT_HANDLE& handle) override { return sim.FT_Open(n, handle); }
    FT_STATUS FT_Close(FT_HANDLE handle) override { return sim.FT_Close(handle); }
    FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                       uint32_t& written) override {
        writes.push_back(ToHex(data, count));
        return sim.FT_Write(handle, data, count, written);
    }
    FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count, uint32_t& read) override {
        return sim.FT_Read(handle, buffer, count, read);
    }
    TVirtualInstrument sim;
    std::vector<std::string> writes;
};

class TClient {
  public:
    explicit TClient(uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) std::exit(1);
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    ~TClient() { ::close(fd_); }
    TClient(const TClient&) = delete;
    TClient& operator=(const TClient&) = delete;

    std::string Query(const std::string& message) {
        const std::string line = message + "\n";
        if (::send(fd_, line.data(), line.size(), 0) != static_cast<ssize_t>(line.size()))
            std::exit(1);
        std::string answer;
        char buffer[256];
        while (answer.empty() || answer.back() != '\n') {
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) std::exit(1);
            answer.append(buffer, static_cast<std::size_t>(n));
        }
        answer.pop_back();
        return answer;
    }

  private:
    int fd_;
};

}  // namespace

int main(int argc, char** argv) {
    const int trips = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;

    TFrameLog driver;
    TFakeTickSource ticks;
    TManualTimerHost timers;
    TZyGen4 gen(nullptr, driver, ticks, timers);
    TScpiEngine engine(gen, ZyPanelScpiIdentity("bench"));
    TScpiSocketServer server(engine, "127.0.0.1", 0);
    std::thread serving([&server] { server.Run(); });

    TClient client(server.Port());
    client.Query("SYST:CONN ON;*OPC?");
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(trips));
    for (int i = 0; i < trips; ++i) {
        const auto start = std::chrono::steady_clock::now();
        client.Query("FREQ?");
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        micros.push_back(took.count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("round_trips=%d\nmedian_us=%.1f\np99_us=%.1f\n", trips, micros[micros.size() / 2],
                micros[micros.size() * 99 / 100]);

    const std::size_t before = driver.writes.size();
    client.Query(
        "OUTP1 ON;OUTP2 ON;SOUR1:FREQ 10 MHZ;POW -3;PHAS 45;:SOUR2:FREQ 20 MHZ;POW -6;PHAS 90;"
        ":SOUR1:FREQ 12 MHZ;:SOUR2:PHAS 30;*OPC?");
    server.Stop();
    serving.join();
    const std::vector<std::string> line(driver.writes.begin() + static_cast<long>(before),
                                        driver.writes.end());
    gen.UpdateMode();
    const std::vector<std::string> cycle(
        driver.writes.begin() + static_cast<long>(before) + static_cast<long>(line.size()),
        driver.writes.end());
    std::printf("line_frames=%zu\ncycle_frames=%zu\nline_is_one_cycle=%d\n", line.size(),
                cycle.size(), line == cycle ? 1 : 0);
    for (const auto& frame : line) std::printf("  %s\n", frame.c_str());
    return 0;
}
