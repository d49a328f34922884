#pragma once

#include <string>
#include <vector>

#include "scpi/ScpiMessage.h"

class TScpiEngine;
class TZyGen4;
class TZyGen4Channel;

// What a command's handler gets: the engine and generator, the suffixes of
// its header and its parameters.
struct TScpiCall {
    TScpiEngine& engine;
    TZyGen4& gen;
    int channel;  // 1 or 2
    int step;     // keying step, 1 to 4
    const std::vector<TScpiParam>& params;

    TZyGen4Channel* Channel() const;
    // "ChA" or "ChB", as in the property paths.
    std::string ChannelName() const { return channel == 2 ? "ChB" : "ChA"; }
};
