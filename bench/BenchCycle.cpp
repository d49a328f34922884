// Runs the both-channels plain-generation update cycle against a driver that
// takes every write at once, on the real clock, with the monitor's link tap
// recording every transfer, and reports how close the cycle comes to its
// pauses (wall_ratio) and how idle the processor stays during them
// (cpu_ratio). Then it times the tap alone: frames written through it with
// no pauses, against the same frames written straight to the driver
// (tap_us_per_frame).
//
//   bench_cycle [cycles]     default 10 cycles (100 frames, about 2 s)

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "monitor/LinkTap.h"
#include "platform/ManualTimerHost.h"
#include "platform/SteadyTickSource.h"
#include "platform/UsbDriver.h"

namespace {

// Accepts every write in full at once and counts the frames.
class TInstantDriver : public TUsbDriver {
  public:
    FT_STATUS FT_Open(int, FT_HANDLE& handle) override {
        handle = 1;
        return FT_OK;
    }
    FT_STATUS FT_Close(FT_HANDLE) override { return FT_OK; }
    FT_STATUS FT_Write(FT_HANDLE, const uint8_t*, uint32_t count, uint32_t& written) override {
        written = count;
        ++writes;
        return FT_OK;
    }
    FT_STATUS FT_Read(FT_HANDLE, uint8_t*, uint32_t count, uint32_t& read) override {
        read = count;
        return FT_OK;
    }
    long writes = 0;
};

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Seconds to write `frames` six-byte frames through `driver`.
double WriteFrames(TUsbDriver& driver, long frames) {
    const uint8_t frame[6] = {0x04, 0x00, 0xA3, 0xD7, 0x0A, 0x00};
    FT_HANDLE handle = 0;
    driver.FT_Open(0, handle);
    uint32_t written = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (long i = 0; i < frames; ++i) driver.FT_Write(handle, frame, sizeof frame, written);
    const auto t1 = std::chrono::steady_clock::now();
    driver.FT_Close(handle);
    return std::chrono::duration<double>(t1 - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    TInstantDriver driver;
    TSteadyTickSource ticks;
    TLinkTap tap(driver, ticks);
    TManualTimerHost timers;
    TZyGen4 gen(nullptr, tap, ticks, timers);
    gen.SetAutoUpdate(false);
    gen.ChA()->SetMode(ZGMdC_gen);
    gen.ChB()->SetMode(ZGMdC_gen);
    gen.SetActive(true);                      // AutoUpdate off: opens without a cycle
    gen.OnGenResponseWait = [](TZyGen4*) {};  // as the application assigns it

    driver.writes = 0;
    const double cpu0 = ProcessCpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    for (int i = 0; i < cycles; ++i) gen.UpdateMode();
    const auto wall1 = std::chrono::steady_clock::now();
    const double cpu1 = ProcessCpuSeconds();

    const long frames = driver.writes;
    const double wall = std::chrono::duration<double>(wall1 - wall0).count();
    const double pauses = static_cast<double>(frames) * TZyGen4::kCmdPauseMs * 1e-3;
    std::printf("frames=%ld\n", frames);
    std::printf("wall_ratio=%.4f\n", wall / pauses);
    std::printf("cpu_ratio=%.4f\n", (cpu1 - cpu0) / wall);
    std::printf("tap_recorded=%zu\n", tap.Ring().Size());

    // The tap's own cost, over more frames than its ring holds so that the
    // steady state (reusing the ring's slots) is measured too.
    const long tapFrames = 300000;
    TInstantDriver bare;
    TLinkTap alone(bare, ticks);
    const double direct = WriteFrames(bare, tapFrames);
    const double tapped = WriteFrames(alone, tapFrames);
    std::printf("tap_us_per_frame=%.3f\n", (tapped - direct) / tapFrames * 1e6);
    std::printf("tap_dropped=%llu\n", static_cast<unsigned long long>(alone.Ring().Dropped()));
    return 0;
}
