#pragma once

#include "gen4/ZyGen4Channel.h"

// Channel A of the instrument.
class TZyGen4ChannelA : public TZyGen4Channel {
  public:
    explicit TZyGen4ChannelA(TZyGen4* gen) : TZyGen4Channel(gen, ZGCN_A) {}
    bool IsChannelA() const override;
};
