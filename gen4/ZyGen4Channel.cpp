#include "gen4/ZyGen4Channel.h"

#include <cmath>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/ZyGen4Cmd.h"
#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"
#include "gen4/ZyGen4Options.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "gen4/engines/ZyGen4Tuner.h"

namespace {

// Modes of the other channel that a channel entering `mode` switches off.
bool Conflicts(TZyGen4ModesCommon mode, TZyGen4ModesCommon other) {
    switch (mode) {
        case ZGMdC_off:
        case ZGMdC_gen:
            return other == ZGMdC_ExtModulationAB1;
        case ZGMdC_tuning:
            return other == ZGMdC_tuning || other == ZGMdC_IntModulation ||
                   other == ZGMdC_ExtModulation || other == ZGMdC_ExtModulationA12 ||
                   other == ZGMdC_ExtModulationAB1 || other == ZGMdC_LFM;
        case ZGMdC_IntModulation:
            return other == ZGMdC_tuning || other == ZGMdC_ExtModulation ||
                   other == ZGMdC_ExtModulationA12 || other == ZGMdC_ExtModulationAB1 ||
                   other == ZGMdC_LFM || other == ZGMdC_DDSMod;
        case ZGMdC_ExtModulation:
            return other == ZGMdC_tuning || other == ZGMdC_IntModulation ||
                   other == ZGMdC_ExtModulationA12 || other == ZGMdC_ExtModulationAB1 ||
                   other == ZGMdC_LFM;
        case ZGMdC_ExtModulationA12:
            return other == ZGMdC_tuning || other == ZGMdC_IntModulation ||
                   other == ZGMdC_ExtModulation || other == ZGMdC_ExtModulationAB1 ||
                   other == ZGMdC_LFM;
        case ZGMdC_LFM:
            return other == ZGMdC_tuning || other == ZGMdC_IntModulation ||
                   other == ZGMdC_ExtModulation || other == ZGMdC_ExtModulationA12 ||
                   other == ZGMdC_ExtModulationAB1;
        case ZGMdC_DDSMod:
            return other == ZGMdC_IntModulation || other == ZGMdC_ExtModulationAB1;
        default:
            return false;
    }
}

// 100 − 100 × 2^(scale − 21), in floating point so any int scale is safe.
double ScaleLimit(int scale) {
    return 100.0 - 100.0 * std::pow(2.0, static_cast<double>(scale) - 21.0);
}

}  // namespace

TZyGen4Channel::TZyGen4Channel(TZyGen4* gen, TZyGen4ChNames channelType)
    : gen_(gen), channelType_(channelType) {
    intModulation_ = std::make_unique<TZyGen4IntModulation>(this);
    extModulation_ = std::make_unique<TZyGen4ExtModulation>(this);
    tuner_ = std::make_unique<TZyGen4Tuner>(this);
    // The sweep takes its top from the frequency, which is still 0 here.
    lfm_ = std::make_unique<TZyGen4LFM>(this);
    ddsMod_ = std::make_unique<TZyGen4DDSMod>(this);
    frequency_ = 1000.0;
    amplitude_ = 100.0;
    phase_ = 0.0;
}

TZyGen4Channel::~TZyGen4Channel() {
    intModulation_.reset();
    extModulation_.reset();
    tuner_.reset();
    lfm_.reset();
    ddsMod_.reset();
}

TZyGen4Channel* TZyGen4Channel::GetOtherCh() const {
    if (channelType_ == ZGCN_A) return gen_->ChB();
    return gen_->ChA();
}

void TZyGen4Channel::UpdateMode() {
    gen_->TryUpdateMode();
}

void TZyGen4Channel::UpdateDependentTimers() {
    tuner_->UpdateADCTimer();
}

// --- Mode and compatibility ---------------------------------------------------------

void TZyGen4Channel::SetMode(TZyGen4ModesCommon m) {
    if (m == mode_ || !CheckEnableNewMode(m)) return;
    mode_ = m;
    if (gen_->OnChModeChange) gen_->OnChModeChange(this, false);
    CheckModesCompat();
    UpdateMode();
}

bool TZyGen4Channel::CheckEnableNewMode(TZyGen4ModesCommon m) const {
    // Only channel A can take the sum of both external inputs.
    return !(channelType_ == ZGCN_B && m == ZGMdC_ExtModulationA12);
}

void TZyGen4Channel::CheckModesCompat() {
    TZyGen4Channel* other = GetOtherCh();
    if (!other) return;
    if (mode_ == ZGMdC_ExtModulationAB1) {
        other->mode_ = ZGMdC_ExtModulationAB1;
    } else if (Conflicts(mode_, other->mode_)) {
        other->mode_ = ZGMdC_off;
    } else {
        return;
    }
    if (gen_->OnChModeChange) gen_->OnChModeChange(other, true);
}

// --- Carrier and ranges -------------------------------------------------------------------

void TZyGen4Channel::Set_sinFrequency(double f) {
    if (f == frequency_) return;
    if (!CheckFreqRange(f)) return;
    frequency_ = f;
    // The sweep never starts above its top.
    if (lfm_->FreqTop_ < f) lfm_->FreqTop_ = static_cast<int>(f);
    UpdateMode();
}

bool TZyGen4Channel::CheckFreqRange(double f) {
    if (f >= 0.0 && f <= kMaxFrequency) return true;
    if (gen_->OnParamValueError) gen_->OnParamValueError(this, ZGP_ChFrequency, &f);
    return false;
}

bool TZyGen4Channel::CheckPhaseRange(double p) {
    if (p >= 0.0 && p < kPhaseLimit) return true;
    if (gen_->OnParamValueError) gen_->OnParamValueError(this, ZGP_ChPhase, &p);
    return false;
}

void TZyGen4Channel::Set_sinAmplitude(double a) {
    // Written so that a value that is not a number is refused too.
    if (a == amplitude_ || !(a > 0.0 && a <= kMaxAmplitude)) return;
    amplitude_ = a;
    UpdateMode();
}

void TZyGen4Channel::SetPhase(double p) {
    if (p == phase_ || !CheckPhaseRange(p)) return;
    phase_ = p;
    UpdateMode();
}

double TZyGen4Channel::GetMaxAmplAvoidOverMod() const {
    switch (mode_) {
        case ZGMdC_tuning:
            return ScaleLimit(tuner_->Scale());
        case ZGMdC_IntModulation:
            return std::nearbyint(100.0 / (1.0 + intModulation_->dA() * 0.01));
        case ZGMdC_ExtModulation:
        case ZGMdC_ExtModulationA12:
        case ZGMdC_ExtModulationAB1:
            return ScaleLimit(extModulation_->Scale());
        default:
            return 100.0;
    }
}

void TZyGen4Channel::CheckOverModulation(TZyGen4AFPModes engineType) {
    const double max = GetMaxAmplAvoidOverMod();
    if (!(amplitude_ > max) || engineType != ZGAFPms_ampl) return;
    if (!gen_->Options()->OverModulationNotify() || !gen_->OnOverModulation) return;
    if (mode_ == ZGMdC_tuning) {
        // No ADC polling while the question is open.
        // The handler may lower the amplitude, which runs a nested cycle whose
        // link error leaves through here: polling is restored on that path too.
        const bool enabled = tuner_->ADCTimerEnabled();
        tuner_->SetADCTimerEnabled(false);
        try {
            gen_->OnOverModulation(this, max);
        } catch (...) {
            // Polling stays allowed, but the timer waits for the next cycle to
            // arm it, so a link that just failed is not polled at once.
            tuner_->ADCTimerEnabled_ = enabled;
            throw;
        }
        tuner_->SetADCTimerEnabled(enabled);
    } else {
        gen_->OnOverModulation(this, max);
    }
}

// --- Frames -----------------------------------------------------------------------------

void TZyGen4Channel::SetOpened(bool v) {
    gen_->WriteCmdFTPort(TZyGen4Cmd(v ? GC_OutputOn : GC_OutputOff, channelType_));
}

void TZyGen4Channel::WriteAFPtoGen() {
    TZyGen4Cmd freq(GC_SetFreq, channelType_);
    freq.Put32(
        1, static_cast<uint32_t>(gen_->Conv_FreqToCode(TZyGen4::Conv_Value(frequency_, 1000, 1))));
    gen_->WriteCmdFTPort(freq);

    TZyGen4Cmd ampl(GC_SetAmpl, channelType_);
    ampl.Put16(1, static_cast<uint16_t>(TZyGen4::Conv_AmplToCode(amplitude_)));
    gen_->WriteCmdFTPort(ampl);

    TZyGen4Cmd phase(GC_SetPhase, channelType_);
    phase.Put16(1, static_cast<uint16_t>(TZyGen4::Conv_PhaseToCode(phase_)));
    gen_->WriteCmdFTPort(phase);
}

void TZyGen4Channel::SetModeSinGeneration() {
    SetOpened(true);
    WriteAFPtoGen();
}

void TZyGen4Channel::SetModeTuning() {
    CheckOverModulation(tuner_->Type());
    SetOpened(true);
    WriteAFPtoGen();
    switch (tuner_->Type()) {
        case ZGAFPms_freq:
            tuner_->SetModeFreqTune();
            break;
        case ZGAFPms_ampl:
            tuner_->SetModeAmplTune();
            break;
        case ZGAFPms_phase:
            tuner_->SetModePhaseTune();
            break;
        default:
            break;
    }
}

void TZyGen4Channel::SetModeIntModulation(bool SingleCh) {
    CheckOverModulation(intModulation_->Type());
    SetOpened(true);
    WriteAFPtoGen();
    intModulation_->WriteReadings(SingleCh);
}

void TZyGen4Channel::SetModeExtModulation(bool Start) {
    CheckOverModulation(extModulation_->Type());
    SetOpened(true);
    WriteAFPtoGen();
    const bool modeA12 = mode_ == ZGMdC_ExtModulationA12;
    switch (extModulation_->Type()) {
        case ZGAFPms_freq:
            extModulation_->SetModeFreqMod(Start, modeA12);
            break;
        case ZGAFPms_ampl:
            extModulation_->SetModeAmplMod(Start, modeA12);
            break;
        case ZGAFPms_phase:
            extModulation_->SetModePhaseMod(Start, modeA12);
            break;
        default:
            break;
    }
}

void TZyGen4Channel::SetModeLFM(bool Start) {
    SetOpened(true);
    WriteAFPtoGen();
    lfm_->StartLFM(Start);
}

void TZyGen4Channel::SetModeDDSMod() {
    // The keying engine writes the carrier itself.
    SetOpened(true);
    ddsMod_->StartDDSMod();
}

// --- Settings file -------------------------------------------------------------------
// The record layout is described in gen4/ZyGen4FileLayout.h.

TZyGen4FileWriter& TZyGen4Channel::WriteDataToFile(TZyGen4FileWriter& out) const {
    out.WriteEnum(mode_);
    out.WriteDouble(frequency_);
    out.WriteDouble(amplitude_);
    out.WriteDouble(phase_);
    tuner_->WriteDataToFile(out);
    intModulation_->WriteDataToFile(out);
    extModulation_->WriteDataToFile(out);
    lfm_->WriteDataToFile(out);
    ddsMod_->WriteDataToFile(out);
    return out;
}

TZyGen4FileReader& TZyGen4Channel::ReadDataFromFile(TZyGen4FileReader& in) {
    in.ReadEnum(mode_);
    in.ReadDouble(frequency_);
    in.ReadDouble(amplitude_);
    in.ReadDouble(phase_);
    tuner_->ReadDataFromFile(in);
    intModulation_->ReadDataFromFile(in);
    extModulation_->ReadDataFromFile(in);
    lfm_->ReadDataFromFile(in);
    ddsMod_->ReadDataFromFile(in);
    return in;
}
