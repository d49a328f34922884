#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/TimerHost.h"

// Timers kept in a table and fired explicitly: by tests, and by the
// command-line tool's loop through Advance.
class TManualTimerHost : public TTimerHost {
  public:
    TTimerId SetTimer(uint32_t intervalMs, std::function<void()> onTick) override;
    void KillTimer(TTimerId id) override;

    int RunningCount() const { return static_cast<int>(timers_.size()); }
    // Fires one timer now, as if its interval had passed.
    void Fire(TTimerId id);
    // Fires every running timer once, in order of creation.
    void FireAll();
    // Moves this host's clock on by `ms`, firing each timer whenever its
    // interval elapses; a tick may create or kill timers.
    void Advance(uint32_t ms);
    // Refuses to create timers from now on, as an exhausted system would.
    void SetRefuseNew(bool refuse) { refuseNew_ = refuse; }

  private:
    struct TTimer {
        uint32_t interval;
        uint64_t due;
        std::function<void()> onTick;
    };
    std::map<TTimerId, TTimer> timers_;
    TTimerId nextId_ = 1;
    uint64_t now_ = 0;
    bool refuseNew_ = false;
};
