#include "platform/ManualTimerHost.h"

#include <vector>

TTimerHost::TTimerId TManualTimerHost::SetTimer(uint32_t intervalMs, std::function<void()> onTick) {
    if (refuseNew_) return 0;
    const TTimerId id = nextId_++;
    timers_[id] = TTimer{intervalMs, now_ + intervalMs, std::move(onTick)};
    return id;
}

void TManualTimerHost::KillTimer(TTimerId id) {
    timers_.erase(id);
}

void TManualTimerHost::Fire(TTimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    // Copy: the tick may kill its own timer.
    auto onTick = it->second.onTick;
    if (onTick) onTick();
}

void TManualTimerHost::FireAll() {
    std::vector<TTimerId> ids;
    for (const auto& [id, timer] : timers_) ids.push_back(id);
    for (TTimerId id : ids) Fire(id);
}

void TManualTimerHost::Advance(uint32_t ms) {
    const uint64_t end = now_ + ms;
    for (;;) {
        // The earliest due timer, if any falls within the span.
        TTimerId next = 0;
        uint64_t due = end + 1;
        for (const auto& [id, timer] : timers_) {
            if (timer.due < due) {
                due = timer.due;
                next = id;
            }
        }
        if (next == 0) break;
        now_ = due;
        auto& timer = timers_[next];
        timer.due += timer.interval == 0 ? 1 : timer.interval;
        Fire(next);
    }
    now_ = end;
}
