#pragma once

#include <QObject>
#include <map>
#include <memory>

#include "platform/TimerHost.h"

class QTimer;

// Timers of the platform layer run by Qt's event loop on the GUI thread. A
// tick that throws is reported like any other error of an event handler.
class TQtTimerHost : public QObject, public TTimerHost {
    Q_OBJECT

  public:
    explicit TQtTimerHost(QObject* parent = nullptr);
    ~TQtTimerHost() override;

    TTimerId SetTimer(uint32_t intervalMs, std::function<void()> onTick) override;
    void KillTimer(TTimerId id) override;

    int RunningCount() const { return static_cast<int>(timers_.size()); }

  private:
    struct TEntry {
        QTimer* timer;  // child of the host
        std::shared_ptr<std::function<void()>> onTick;
    };
    std::map<TTimerId, TEntry> timers_;
    TTimerId nextId_ = 1;
};
