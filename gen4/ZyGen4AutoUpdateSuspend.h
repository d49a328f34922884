#pragma once

#include "gen4/ZyGen4.h"

// Switches the generator's AutoUpdate off for a scope and then sets it to the
// value it had (or to `resumeTo`). Restore() on the normal path lets the
// update cycle that switching it back on runs report its errors; when an
// exception leaves the scope instead, the destructor restores the value and
// swallows a second error so that the first one reaches the caller.
class TZyGen4AutoUpdateSuspend {
  public:
    explicit TZyGen4AutoUpdateSuspend(TZyGen4& gen)
        : TZyGen4AutoUpdateSuspend(gen, gen.AutoUpdate()) {}
    TZyGen4AutoUpdateSuspend(TZyGen4& gen, bool resumeTo) : gen_(gen), saved_(resumeTo) {
        gen_.SetAutoUpdate(false);
    }
    ~TZyGen4AutoUpdateSuspend() {
        if (restored_) return;
        try {
            Restore();
        } catch (...) {
        }
    }
    TZyGen4AutoUpdateSuspend(const TZyGen4AutoUpdateSuspend&) = delete;
    TZyGen4AutoUpdateSuspend& operator=(const TZyGen4AutoUpdateSuspend&) = delete;

    void Restore() {
        if (restored_) return;
        restored_ = true;
        gen_.SetAutoUpdate(saved_);
    }

  private:
    TZyGen4& gen_;
    bool saved_;
    bool restored_ = false;
};
