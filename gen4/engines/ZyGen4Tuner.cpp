#include "gen4/engines/ZyGen4Tuner.h"

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "platform/Exceptions.h"

TZyGen4Tuner::TZyGen4Tuner(TZyGen4Channel* channel) : channel_(channel) {}

TZyGen4Tuner::~TZyGen4Tuner() {
    ADCTimerEnabled_ = false;
    // Only stops the timer, which cannot fail.
    try {
        UpdateADCTimer();
    } catch (...) {
    }
}

void TZyGen4Tuner::SetType(TZyGen4AFPModes v) {
    if (v == Type_) return;
    Type_ = v;
    channel_->UpdateMode();
}

void TZyGen4Tuner::SetScale(int v) {
    if (v == Scale_) return;
    Scale_ = v;
    channel_->UpdateMode();
}

void TZyGen4Tuner::SetADCTimerInterval(int v) {
    if (v == ADCTimerInterval_ || v < 0) return;
    ADCTimerInterval_ = v;
    UpdateADCTimer();
}

void TZyGen4Tuner::SetADCTimerEnabled(bool v) {
    if (v == ADCTimerEnabled_) return;
    ADCTimerEnabled_ = v;
    UpdateADCTimer();
}

void TZyGen4Tuner::UpdateADCTimer() {
    TTimerHost& timers = channel_->Gen()->Timers();
    if (timerId_ != 0) {
        timers.KillTimer(timerId_);
        timerId_ = 0;
    }
    if (!ADCTimerEnabled_ || ADCTimerInterval_ <= 0) return;
    if (!channel_->Gen()->GetActive() || channel_->Mode() != ZGMdC_tuning) return;
    timerId_ = timers.SetTimer(static_cast<uint32_t>(ADCTimerInterval_), [this] { ADCTimer(); });
    if (timerId_ == 0) throw EOutOfResources("Невозможно создать таймер!");
}

void TZyGen4Tuner::ADCTimer() {
    GetADCValue();
    TZyGen4* gen = channel_->Gen();
    if (gen->OnADCTimer) gen->OnADCTimer(channel_);
}

// --- Mode algorithms -----------------------------------------------------------
// The tuning start and the ADC exchange are not implemented yet: they refuse
// rather than send an incomplete sequence.

namespace {
[[noreturn]] void NotAvailable(const char* what) {
    throw Exception(std::string("Ручная подстройка: ") + what + " not available yet");
}
}  // namespace

void TZyGen4Tuner::GetADCValue() {
    NotAvailable("GetADCValue");
}

void TZyGen4Tuner::SetModeFreqTune() {
    NotAvailable("SetModeFreqTune");
}

void TZyGen4Tuner::SetModeAmplTune() {
    NotAvailable("SetModeAmplTune");
}

void TZyGen4Tuner::SetModePhaseTune() {
    NotAvailable("SetModePhaseTune");
}
