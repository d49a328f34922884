#include "platform/TickSource.h"

#include <algorithm>

void WaitTicks(TTickSource& ticks, uint32_t ms, const std::function<void()>& onWait) {
    // Sleeping in slices keeps the wait handler called repeatedly while the
    // processor stays idle.
    constexpr uint32_t kSliceMs = 5;
    const uint32_t t0 = ticks.GetTickCount();
    for (;;) {
        if (onWait) onWait();
        const uint32_t elapsed = ticks.GetTickCount() - t0;
        if (elapsed >= ms) return;
        ticks.Sleep(std::min(ms - elapsed, kSliceMs));
    }
}
