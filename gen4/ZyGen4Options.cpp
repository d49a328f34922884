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

// --- Settings file -------------------------------------------------------------------
// The record layout is described in gen4/ZyGen4FileLayout.h.

#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"

TZyGen4FileWriter& TZyGen4Options::WriteDataToFile(TZyGen4FileWriter& out) const {
    out.WriteBool(enableDuplexIntMod_);
    out.WriteBool(overModulationNotify_);
    return out;
}

TZyGen4FileReader& TZyGen4Options::ReadDataFromFile(TZyGen4FileReader& in) {
    in.ReadBool(enableDuplexIntMod_);
    in.ReadBool(overModulationNotify_);
    return in;
}
