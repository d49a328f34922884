#include "gen4/engines/ZyGen4DDSMod.h"

#include <string>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/MathFunction.h"
#include "platform/Exceptions.h"

TZyGen4DDSMod::TZyGen4DDSMod(TZyGen4Channel* channel)
    : channel_(channel), MathFunc_(std::make_unique<TMathFunction>()) {
    MathFunc_->SetHalfOfPeriod(ContBidiRamp_);
    MathFunc_->SetBytesPerReading(BPR_4bytes);
    MathFunc_->SetDirectRdsBytes(false);  // most significant byte first
    MathFunc_->SetDirectRdsOrder(false);  // DDS address 0 holds the last reading
}

TZyGen4DDSMod::~TZyGen4DDSMod() = default;

void TZyGen4DDSMod::SetF(int i, double v) {
    if (v == F_[i] || !channel_->CheckFreqRange(v)) return;
    F_[i] = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::SetPh(int i, double v) {
    if (v == Ph_[i] || !channel_->CheckPhaseRange(v)) return;
    Ph_[i] = v;
    channel_->UpdateMode();
}

bool TZyGen4DDSMod::CheckTimeRange(double value) {
    if (value >= kMinTime && value <= kMaxTime) return true;
    TZyGen4* gen = channel_->Gen();
    if (gen->OnParamValueError) gen->OnParamValueError(channel_, ZGP_DDSModTime, &value);
    return false;
}

void TZyGen4DDSMod::SetT(int i, double v) {
    if (v == T_[i] || !CheckTimeRange(v)) return;
    T_[i] = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::Set_dF(double v) {
    if (v == dF_ || !(v >= 0.0 && v <= 2000000.0)) return;
    dF_ = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::Set_dPh(double v) {
    if (v == dPh_ || !(v >= 0.0 && v <= 180.0)) return;
    dPh_ = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::SetFm(double v) {
    if (v == Fm_ || !(v >= 200.0 && v <= 1500000.0)) return;
    Fm_ = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::SetReadingsCntMin(int v) {
    if (v == ReadingsCntMin_ || v < 16 || v > 1024) return;
    ReadingsCntMin_ = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::SetType(TZyGen4AFPModes v) {
    // Amplitude keying does not exist.
    if (v == Type_ || v == ZGAFPms_ampl) return;
    Type_ = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::SetMode(TZyGen4DDSmodModes v) {
    if (v == Mode_) return;
    Mode_ = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::SetContBidiRamp(bool v) {
    if (v == ContBidiRamp_) return;
    ContBidiRamp_ = v;
    channel_->UpdateMode();
}

void TZyGen4DDSMod::SetUseExtTimes(bool v) {
    if (v == UseExtTimes_) return;
    UseExtTimes_ = v;
    channel_->UpdateMode();
}

TMathFuncsTypes TZyGen4DDSMod::GetMathFuncType() const {
    return MathFunc_->FunctionType();
}

void TZyGen4DDSMod::SetMathFuncType(TMathFuncsTypes v) {
    if (v == MathFunc_->FunctionType()) return;
    MathFunc_->SetFunctionType(v);
    channel_->UpdateMode();
}

double TZyGen4DDSMod::GetCC() const {
    return MathFunc_->CC();
}

void TZyGen4DDSMod::SetCC(double v) {
    if (v == MathFunc_->CC()) return;
    // The table drops values outside 0 … 1; the update runs either way.
    MathFunc_->Set_CC(v);
    channel_->UpdateMode();
}

// --- Mode algorithms -----------------------------------------------------------
// Not implemented yet: they refuse rather than send an incomplete sequence.

namespace {
[[noreturn]] void NotAvailable(const char* what) {
    throw Exception(std::string("Модуляция ЦВС: ") + what + " not available yet");
}
}  // namespace

void TZyGen4DDSMod::StartDDSMod() {
    NotAvailable("StartDDSMod");
}

void TZyGen4DDSMod::Start_xSK() {
    NotAvailable("Start_xSK");
}

void TZyGen4DDSMod::OutputReading(char) {
    NotAvailable("OutputReading");
}

void TZyGen4DDSMod::StartUserMode() {
    NotAvailable("StartUserMode");
}

void TZyGen4DDSMod::Calc_N_Tau() {
    NotAvailable("Calc_N_Tau");
}

bool TZyGen4DDSMod::CanUseHalfOfPeriod() const {
    return GetMathFuncType() == ZMFT_sin;
}

void TZyGen4DDSMod::OutputUserReading() {
    NotAvailable("OutputUserReading");
}
