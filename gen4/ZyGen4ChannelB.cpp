#include "gen4/ZyGen4ChannelB.h"

bool TZyGen4ChannelB::IsChannelA() const {
    return false;
}
