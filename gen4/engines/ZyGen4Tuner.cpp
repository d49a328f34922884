#include "gen4/engines/ZyGen4Tuner.h"

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"
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
    SetAndUpdate(channel_, Type_, v, kAnyValue);
}

void TZyGen4Tuner::SetScale(int v) {
    SetAndUpdate(channel_, Scale_, v, kAnyValue);
}

// The polling settings restart the timer instead of a whole cycle.
void TZyGen4Tuner::SetADCTimerInterval(int v) {
    SetEngineValue(ADCTimerInterval_, v, kADCTimerIntervalRange, [this] { UpdateADCTimer(); });
}

void TZyGen4Tuner::SetADCTimerEnabled(bool v) {
    SetEngineValue(ADCTimerEnabled_, v, kAnyValue, [this] { UpdateADCTimer(); });
}

void TZyGen4Tuner::UpdateADCTimer() {
    StopADCTimer();
    if (!ADCTimerEnabled_ || ADCTimerInterval_ <= 0) return;
    if (!channel_->Gen()->GetActive() || channel_->Mode() != ZGMdC_tuning) return;
    timerId_ = channel_->Gen()->Timers().SetTimer(static_cast<uint32_t>(ADCTimerInterval_),
                                                  [this] { ADCTimer(); });
    if (timerId_ == 0) throw EOutOfResources("Невозможно создать таймер!");
}

void TZyGen4Tuner::StopADCTimer() {
    if (timerId_ == 0) return;
    channel_->Gen()->Timers().KillTimer(timerId_);
    timerId_ = 0;
}

void TZyGen4Tuner::ADCTimer() {
    try {
        GetADCValue();
    } catch (...) {
        // A failed exchange (typically an unplugged instrument) stops the
        // polling before the error is shown, so one failure gives one message
        // rather than one every tick. The next update cycle re-arms the timer.
        StopADCTimer();
        throw;
    }
    TZyGen4* gen = channel_->Gen();
    if (gen->OnADCTimer) gen->OnADCTimer(channel_);
}

// --- Mode algorithms -----------------------------------------------------------

void TZyGen4Tuner::GetADCValue() {
    TZyGen4* gen = channel_->Gen();
    gen->WriteCmdFTPort(TZyGen4Cmd(GC_ReadADC, channel_->ChannelType(), 1));
    uint8_t r[4] = {0, 0, 0, 0};
    // While the link is closed nothing is read and the last value stays.
    if (gen->ReadBytesFromFTPort(r, 4) != 4) return;
    uint32_t v = static_cast<uint32_t>(r[0]) << 24 | static_cast<uint32_t>(r[1]) << 16 |
                 static_cast<uint32_t>(r[2]) << 8 | r[3];
    // Amplitude and phase come as a 16-bit value in the first two bytes.
    if (Type_ == ZGAFPms_ampl || Type_ == ZGAFPms_phase) v >>= 16;
    ADCValue_ = v;
}

void TZyGen4Tuner::SendTune(TZyGen4Commands code) {
    TZyGen4Cmd cmd(code, channel_->ChannelType());
    cmd.PutByte(1, static_cast<uint8_t>(Scale_));
    channel_->Gen()->WriteCmdFTPort(cmd);
}

void TZyGen4Tuner::SetModeFreqTune() {
    TZyGen4* gen = channel_->Gen();
    TZyGen4Cmd carrier(GC_SetCarrier, channel_->ChannelType());
    carrier.Put32(1, static_cast<uint32_t>(gen->Conv_FreqToCode(
                         TZyGen4::Conv_Value(channel_->Frequency(), 1000, 1))));
    gen->WriteCmdFTPort(carrier);
    SendTune(GC_TuneFreq);
}

void TZyGen4Tuner::SetModeAmplTune() {
    TZyGen4Cmd carrier(GC_SetCarrier, channel_->ChannelType());
    carrier.Put16(1, static_cast<uint16_t>(TZyGen4::Conv_AmplToCode(channel_->Amplitude())));
    channel_->Gen()->WriteCmdFTPort(carrier);
    SendTune(GC_TuneAmpl);
}

void TZyGen4Tuner::SetModePhaseTune() {
    TZyGen4Cmd carrier(GC_SetCarrier, channel_->ChannelType());
    carrier.Put16(1, static_cast<uint16_t>(TZyGen4::Conv_PhaseToCode(channel_->Phase())));
    channel_->Gen()->WriteCmdFTPort(carrier);
    SendTune(GC_TunePhase);
}

// --- Settings file -------------------------------------------------------------------
// The record layout is described in gen4/ZyGen4FileLayout.h.

TZyGen4FileWriter& TZyGen4Tuner::WriteDataToFile(TZyGen4FileWriter& out) const {
    out.WriteEnum(Type_);
    out.WriteInt(Scale_);
    out.WriteBool(ADCTimerEnabled_);
    out.WriteInt(ADCTimerInterval_);
    return out;
}

// The polling timer is not re-armed here: the next update cycle does it.
TZyGen4FileReader& TZyGen4Tuner::ReadDataFromFile(TZyGen4FileReader& in) {
    in.ReadEnum(Type_);
    in.ReadInt(Scale_);
    in.ReadBool(ADCTimerEnabled_);
    in.ReadInt(ADCTimerInterval_);
    return in;
}
