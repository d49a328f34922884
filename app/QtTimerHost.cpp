#include "app/QtTimerHost.h"

#include <QTimer>
#include <climits>

#include "app/ZyApplication.h"

TQtTimerHost::TQtTimerHost(QObject* parent) : QObject(parent) {}

TQtTimerHost::~TQtTimerHost() = default;

TTimerHost::TTimerId TQtTimerHost::SetTimer(uint32_t intervalMs, std::function<void()> onTick) {
    if (intervalMs > static_cast<uint32_t>(INT_MAX)) return 0;
    if (nextId_ == 0) nextId_ = 1;
    const TTimerId id = nextId_++;
    TEntry entry;
    entry.timer = new QTimer(this);
    entry.onTick = std::make_shared<std::function<void()>>(std::move(onTick));
    entry.timer->setInterval(static_cast<int>(intervalMs));
    // The tick holds its own reference to the callback: a tick may kill its
    // own timer, which destroys the entry while the callback still runs.
    std::weak_ptr<std::function<void()>> weak = entry.onTick;
    connect(entry.timer, &QTimer::timeout, this, [weak] {
        if (auto tick = weak.lock()) {
            auto keep = tick;
            SafeCall([&] { (*keep)(); });
        }
    });
    entry.timer->start();
    timers_.emplace(id, std::move(entry));
    return id;
}

void TQtTimerHost::KillTimer(TTimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    it->second.timer->stop();
    // Deleting the QTimer from inside its own timeout would pull the object
    // out from under Qt; the event loop deletes it, or the host does.
    it->second.timer->deleteLater();
    timers_.erase(it);
}
