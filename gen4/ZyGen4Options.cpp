#include "gen4/ZyGen4Options.h"

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"

void TZyGen4Options::SetEnableDuplexIntMod(bool v) {
    if (v == enableDuplexIntMod_) return;
    enableDuplexIntMod_ = v;
    // Only matters when both channels run internal modulation.
    if (gen_->ChA()->Mode() == ZGMdC_IntModulation && gen_->ChB()->Mode() == ZGMdC_IntModulation)
        gen_->TryUpdateMode();
}
