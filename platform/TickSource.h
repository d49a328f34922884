#pragma once

#include <cstdint>
#include <functional>

// A millisecond tick counter that wraps at 2^32, and a way to let time pass.
class TTickSource {
  public:
    virtual ~TTickSource() = default;
    virtual uint32_t GetTickCount() = 0;
    // Gives up the processor for about `ms` milliseconds.
    virtual void Sleep(uint32_t ms) = 0;
};

// The system's monotonic clock, sleeping for real.
class TSteadyTickSource : public TTickSource {
  public:
    uint32_t GetTickCount() override;
    void Sleep(uint32_t ms) override;
};

// Time that moves only when asked to: Sleep advances the counter at once, so a
// pause costs no real time and its length can still be checked.
class TFakeTickSource : public TTickSource {
  public:
    explicit TFakeTickSource(uint32_t start = 0) : now_(start) {}
    uint32_t GetTickCount() override { return now_; }
    void Sleep(uint32_t ms) override { now_ += ms; }
    void Advance(uint32_t ms) { now_ += ms; }

  private:
    uint32_t now_;
};

// Waits until `ms` ticks have passed since the call, measured as an unsigned
// 32-bit difference so a wrapping counter is harmless. `onWait` runs at least
// once and again after every short sleep; the wait never spins.
void WaitTicks(TTickSource& ticks, uint32_t ms, const std::function<void()>& onWait);
