#pragma once

#include "platform/TickSource.h"

// The system's monotonic clock, sleeping for real.
class TSteadyTickSource : public TTickSource {
  public:
    uint32_t GetTickCount() override;
    void Sleep(uint32_t ms) override;
};
