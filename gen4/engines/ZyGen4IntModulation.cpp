#include "gen4/engines/ZyGen4IntModulation.h"

#include <string>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/MathFunction.h"
#include "platform/Exceptions.h"

TZyGen4IntModulation::TZyGen4IntModulation(TZyGen4Channel* channel)
    : channel_(channel), MathFunc_(std::make_unique<TMathFunction>()) {
    MathFunc_->SetHalfOfPeriod(false);
    MathFunc_->SetDirectRdsBytes(false);  // most significant byte first
    MathFunc_->SetDirectRdsOrder(true);
}

TZyGen4IntModulation::~TZyGen4IntModulation() = default;

void TZyGen4IntModulation::SetType(TZyGen4AFPModes v) {
    if (v == Type_) return;
    Type_ = v;
    channel_->UpdateMode();
}

void TZyGen4IntModulation::SetFm(int v) {
    if (v == Fm_ || v < 1 || v > 20000) return;
    Fm_ = v;
    channel_->UpdateMode();
}

void TZyGen4IntModulation::SetdA(int v) {
    if (v == dA_ || v < 0 || v > 100) return;
    dA_ = v;
    channel_->UpdateMode();
}

void TZyGen4IntModulation::SetdF(int v) {
    if (v == dF_ || v < 0 || v > 2000000) return;
    dF_ = v;
    channel_->UpdateMode();
}

void TZyGen4IntModulation::SetdPh(int v) {
    if (v == dPh_ || v < 0 || v > 180) return;
    dPh_ = v;
    channel_->UpdateMode();
}

double TZyGen4IntModulation::GetCC() const {
    return MathFunc_->CC();
}

void TZyGen4IntModulation::SetCC(double v) {
    if (v == MathFunc_->CC()) return;
    // The table drops values outside 0 … 1; the update runs either way.
    MathFunc_->Set_CC(v);
    channel_->UpdateMode();
}

TMathFuncsTypes TZyGen4IntModulation::GetMathFuncType() const {
    return MathFunc_->FunctionType();
}

void TZyGen4IntModulation::SetMathFuncType(TMathFuncsTypes v) {
    if (v == MathFunc_->FunctionType()) return;
    MathFunc_->SetFunctionType(v);
    channel_->UpdateMode();
}

// --- Mode algorithms -----------------------------------------------------------
// Not implemented yet: they refuse rather than send an incomplete sequence.

namespace {
[[noreturn]] void NotAvailable(const char* what) {
    throw Exception(std::string("Внутренняя модуляция: ") + what + " not available yet");
}
}  // namespace

void TZyGen4IntModulation::WriteReadings(bool) {
    NotAvailable("WriteReadings");
}

void TZyGen4IntModulation::CreateReadings(bool) {
    NotAvailable("CreateReadings");
}

void TZyGen4IntModulation::OutputReadings(bool) {
    NotAvailable("OutputReadings");
}

unsigned TZyGen4IntModulation::GetMaxReadingsCnt(unsigned, bool, bool) {
    NotAvailable("GetMaxReadingsCnt");
}

unsigned TZyGen4IntModulation::GetLa(unsigned, bool, bool, unsigned) {
    NotAvailable("GetLa");
}

void TZyGen4IntModulation::StartModulationCmd(TZyGen4Commands) {
    NotAvailable("StartModulationCmd");
}

void TZyGen4IntModulation::StartSingleModulation(bool) {
    NotAvailable("StartSingleModulation");
}

void TZyGen4IntModulation::StartDuplexModulation(bool) {
    NotAvailable("StartDuplexModulation");
}

void TZyGen4IntModulation::StopSingleModulation() {
    NotAvailable("StopSingleModulation");
}

void TZyGen4IntModulation::StartDoubleModulation(bool) {
    NotAvailable("StartDoubleModulation");
}

void TZyGen4IntModulation::StopDoubleModulation() {
    NotAvailable("StopDoubleModulation");
}

void TZyGen4IntModulation::StopDuplexModulation() {
    NotAvailable("StopDuplexModulation");
}
