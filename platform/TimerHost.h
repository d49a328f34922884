#pragma once

#include <cstdint>
#include <functional>

// Periodic timers on the one thread of the program. The window binds this to
// its event loop, the command-line tool to its own loop, tests fire by hand.
class TTimerHost {
  public:
    using TTimerId = uint32_t;  // 0 is never a valid timer

    virtual ~TTimerHost() = default;
    // Starts a timer firing every `intervalMs`; returns 0 when none can be made.
    virtual TTimerId SetTimer(uint32_t intervalMs, std::function<void()> onTick) = 0;
    // Stops a timer; unknown or 0 ids are ignored.
    virtual void KillTimer(TTimerId id) = 0;
};
