#include "gen4/ZyGen4ChannelA.h"

bool TZyGen4ChannelA::IsChannelA() const {
    return true;
}
