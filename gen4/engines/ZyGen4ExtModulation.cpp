#include "gen4/engines/ZyGen4ExtModulation.h"

#include <string>

#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "platform/Exceptions.h"

void TZyGen4ExtModulation::SetType(TZyGen4AFPModes v) {
    if (v == Type_) return;
    Type_ = v;
    channel_->UpdateMode();
}

void TZyGen4ExtModulation::SetScale(int v) {
    if (v == Scale_) return;
    Scale_ = v;
    channel_->UpdateMode();
}

// --- Mode algorithms -----------------------------------------------------------
// Not implemented yet: they refuse rather than send an incomplete sequence.

namespace {
[[noreturn]] void NotAvailable(const char* what) {
    throw Exception(std::string("Внешняя модуляция: ") + what + " not available yet");
}
}  // namespace

void TZyGen4ExtModulation::SetModeFreqMod(bool, bool) {
    NotAvailable("SetModeFreqMod");
}

void TZyGen4ExtModulation::SetModeAmplMod(bool, bool) {
    NotAvailable("SetModeAmplMod");
}

void TZyGen4ExtModulation::SetModePhaseMod(bool, bool) {
    NotAvailable("SetModePhaseMod");
}

void TZyGen4ExtModulation::StartSingleModulation(bool) {
    NotAvailable("StartSingleModulation");
}

void TZyGen4ExtModulation::StartDoubleModulation(TZyGen4ChannelA*, TZyGen4ChannelB*) {
    NotAvailable("StartDoubleModulation");
}

void TZyGen4ExtModulation::StartDuplexModulation(TZyGen4ChannelA*) {
    NotAvailable("StartDuplexModulation");
}
