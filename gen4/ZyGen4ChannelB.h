#pragma once

#include "gen4/ZyGen4Channel.h"

// Channel B of the instrument.
class TZyGen4ChannelB : public TZyGen4Channel {
  public:
    explicit TZyGen4ChannelB(TZyGen4* gen) : TZyGen4Channel(gen, ZGCN_B) {}
    bool IsChannelA() const override;
};
