#include "gen4/engines/ZyGen4LFM.h"

#include <string>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "platform/Exceptions.h"

TZyGen4LFM::TZyGen4LFM(TZyGen4Channel* channel) : channel_(channel) {
    // The channel builds its engines before it sets its own frequency.
    const double f = channel->Frequency();
    FreqTop_ = f >= 0.0 && f <= TZyGen4Channel::kMaxFrequency ? static_cast<int>(f) : 0;
}

void TZyGen4LFM::SetFreqTop(int v) {
    if (v == FreqTop_ || v < channel_->Frequency()) return;
    FreqTop_ = v;
    channel_->UpdateMode();
}

bool TZyGen4LFM::CheckTimeRange(double value) {
    if (value >= kMinTime && value <= kMaxTime) return true;
    TZyGen4* gen = channel_->Gen();
    if (gen->OnParamValueError) gen->OnParamValueError(channel_, ZGP_LFMTime, &value);
    return false;
}

void TZyGen4LFM::SetTime(int& field, int v) {
    if (v == field || !CheckTimeRange(v)) return;
    field = v;
    channel_->UpdateMode();
}

void TZyGen4LFM::SetTinc0(int v) {
    SetTime(Tinc0_, v);
}
void TZyGen4LFM::SetTinc1(int v) {
    SetTime(Tinc1_, v);
}
void TZyGen4LFM::SetTdec0(int v) {
    SetTime(Tdec0_, v);
}
void TZyGen4LFM::SetTdec1(int v) {
    SetTime(Tdec1_, v);
}

// --- Mode algorithms -----------------------------------------------------------
// Not implemented yet: they refuse rather than send an incomplete sequence.

namespace {
[[noreturn]] void NotAvailable(const char* what) {
    throw Exception(std::string("ЛЧМ: ") + what + " not available yet");
}
}  // namespace

void TZyGen4LFM::StartLFM(bool) {
    NotAvailable("StartLFM");
}

void TZyGen4LFM::XYtoAB(double, double, double, double, double& A, double& B) {
    A = B = 0;
    NotAvailable("XYtoAB");
}
