#pragma once

#include <cstdint>

#include "platform/TickSource.h"

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
