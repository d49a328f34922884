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

// Waits until `ms` ticks have passed since the call, measured as an unsigned
// 32-bit difference so a wrapping counter is harmless. `onWait` runs at least
// once and again after every short sleep; the wait never spins.
void WaitTicks(TTickSource& ticks, uint32_t ms, const std::function<void()>& onWait);
