#include "gen4/engines/ZyGen4DDSMod.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"
#include "gen4/engines/MathFunction.h"

TZyGen4DDSMod::TZyGen4DDSMod(TZyGen4Channel* channel)
    : channel_(channel), MathFunc_(std::make_unique<TMathFunction>()) {
    MathFunc_->SetHalfOfPeriod(ContBidiRamp_);
    MathFunc_->SetBytesPerReading(BPR_4bytes);
    MathFunc_->SetDirectRdsBytes(false);  // most significant byte first
    MathFunc_->SetDirectRdsOrder(false);  // DDS address 0 holds the last reading
}

TZyGen4DDSMod::~TZyGen4DDSMod() = default;

void TZyGen4DDSMod::SetF(int i, double v) {
    SetAndUpdate(channel_, F_[i], v, [this](double f) { return channel_->CheckFreqRange(f); });
}

void TZyGen4DDSMod::SetPh(int i, double v) {
    SetAndUpdate(channel_, Ph_[i], v, [this](double p) { return channel_->CheckPhaseRange(p); });
}

bool TZyGen4DDSMod::CheckTimeRange(double value) {
    if (kTimeRange(value)) return true;
    TZyGen4* gen = channel_->Gen();
    if (gen->OnParamValueError) gen->OnParamValueError(channel_, ZGP_DDSModTime, &value);
    return false;
}

void TZyGen4DDSMod::SetT(int i, double v) {
    SetAndUpdate(channel_, T_[i], v, [this](double t) { return CheckTimeRange(t); });
}

void TZyGen4DDSMod::Set_dF(double v) {
    SetAndUpdate(channel_, dF_, v, kdFRange);
}

void TZyGen4DDSMod::Set_dPh(double v) {
    SetAndUpdate(channel_, dPh_, v, kdPhRange);
}

void TZyGen4DDSMod::SetFm(double v) {
    SetAndUpdate(channel_, Fm_, v, kFmRange);
}

void TZyGen4DDSMod::SetReadingsCntMin(int v) {
    SetAndUpdate(channel_, ReadingsCntMin_, v, kReadingsCntMinRange);
}

void TZyGen4DDSMod::SetType(TZyGen4AFPModes v) {
    // Amplitude keying does not exist.
    SetAndUpdate(channel_, Type_, v, [](TZyGen4AFPModes t) { return t != ZGAFPms_ampl; });
}

void TZyGen4DDSMod::SetMode(TZyGen4DDSmodModes v) {
    SetAndUpdate(channel_, Mode_, v, kAnyValue);
}

void TZyGen4DDSMod::SetContBidiRamp(bool v) {
    SetAndUpdate(channel_, ContBidiRamp_, v, kAnyValue);
}

void TZyGen4DDSMod::SetUseExtTimes(bool v) {
    SetAndUpdate(channel_, UseExtTimes_, v, kAnyValue);
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

namespace {

// Control word bytes b2 … b4 after the mode byte; b4 names the channel.
void PutControlWord(TZyGen4Cmd& cmd, uint8_t mode, TZyGen4ChNames ch) {
    cmd.PutByte(1, mode);
    cmd.PutByte(2, 0x80);
    cmd.PutByte(3, 0x02);
    cmd.PutByte(4, ch == ZGCN_A ? 0x40 : 0x42);
}

// Mode byte of the control word: DDS memory playback, plus 0x40 for phase.
uint8_t ModeByte(TZyGen4AFPModes type) {
    return type == ZGAFPms_phase ? 0xC6 : 0x86;
}

// A phase code in the top 14 bits of a 32-bit DDS word. A code of 16384
// (just below 360°) wraps to 0, which is the same phase.
uint32_t PhaseWord(int code) {
    return static_cast<uint32_t>(code) << 18;
}

}  // namespace

void TZyGen4DDSMod::StartDDSMod() {
    channel_->WriteAFPtoGen();
    switch (Mode_) {
        case ZGTMs_BxSK:
        case ZGTMs_QxSK:
            Start_xSK();
            break;
        case ZGTMs_User:
            StartUserMode();
            break;
        default:
            break;
    }
}

void TZyGen4DDSMod::Start_xSK() {
    TZyGen4* gen = channel_->Gen();
    const TZyGen4ChNames ch = channel_->ChannelType();
    const int slots = Mode_ == ZGTMs_QxSK ? 4 : 2;
    uint8_t m = ModeByte(Type_);

    TZyGen4Cmd control(GC_ControlWord, ch);
    PutControlWord(control, m, ch);
    gen->WriteCmdFTPort(control);

    // Slot k holds addresses 2k and 2k + 1; its rate is the hold time in
    // 20 ns steps, least significant byte first.
    static constexpr TZyGen4Commands kSlotCmd[4] = {GC_Aux7, GC_Aux8, GC_Aux9, GC_AuxA};
    for (int k = 0; k < slots; ++k) {
        TZyGen4Cmd slot(kSlotCmd[k], ch);
        slot.Put16LE(1, KeyRate(T_[k]));
        slot.PutByte(3, static_cast<uint8_t>(2 * k + 1));
        slot.PutByte(4, static_cast<uint8_t>(8 * k));
        gen->WriteCmdFTPort(slot);
    }
    gen->UpdateDDSs(false);

    for (int k = 0; k < slots; ++k) OutputReading(static_cast<char>(k));

    // Let the DDS cycle through the slots: two or four of them.
    m += Mode_ == ZGTMs_QxSK ? 0x30 : 0x20;
    if (UseExtTimes_) {
        gen->WriteCmdFTPort(TZyGen4Cmd(GC_KeyExtTimes, ch));
        return;
    }
    TZyGen4Cmd cycling(GC_ControlWord, ch);
    PutControlWord(cycling, m, ch);
    gen->WriteCmdFTPort(cycling);
    gen->UpdateDDSs(false);
}

uint16_t TZyGen4DDSMod::KeyRate(double t) {
    // The setters keep t within 20 … 1300000 ns, so the rate is 1 … 65000;
    // the guard only protects against values that bypassed them.
    const double r = std::trunc(0.05 * t);
    if (!(r >= 0.0)) return 0;
    return r > 65535.0 ? 65535 : static_cast<uint16_t>(r);
}

void TZyGen4DDSMod::OutputReading(char k) {
    TZyGen4* gen = channel_->Gen();
    const TZyGen4ChNames ch = channel_->ChannelType();
    const int slot = static_cast<unsigned char>(k) & 3;

    TZyGen4Cmd select(GC_SelectKeySlot, ch);
    select.PutByte(1, static_cast<uint8_t>((slot >> 1) & 1));
    select.PutByte(2, static_cast<uint8_t>(slot & 1));
    gen->WriteCmdFTPort(select);

    const uint32_t v = Type_ == ZGAFPms_phase ? PhaseWord(TZyGen4::Conv_PhaseToCode(Ph_[slot]))
                                              : static_cast<uint32_t>(gen->Conv_FreqToCode(
                                                    TZyGen4::Conv_Value(F_[slot], 1000.0, 1.0)));

    TZyGen4Cmd load(GC_LoadKeyTable, ch);
    load.Put16(1, 8);
    gen->WriteCmdFTPort(load);

    // Both addresses of the slot get the value, most significant byte first.
    uint8_t bytes[8];
    for (int i = 0; i < 4; ++i) bytes[i] = bytes[i + 4] = static_cast<uint8_t>(v >> (24 - 8 * i));
    gen->WriteBytesToFTPort(bytes, sizeof bytes);
}

void TZyGen4DDSMod::Calc_N_Tau() {
    // Steps of 10 ns in one modulation period; half of it when the table is
    // played forwards and backwards. Only a sine table is played that way:
    // other waveforms hold a whole period and wrap around, so they keep the
    // whole period and still repeat at Fm.
    double P = 1e8 / Fm_;
    if (ContBidiRamp_ && CanUseHalfOfPeriod()) P *= 0.5;

    // Steps per reading for i readings. A rate of 0 would stall the DDS: when
    // a period is shorter than half the readings, play at the fastest rate.
    auto rate = [P](int i) {
        const double t = std::nearbyint(P / i);
        if (!(t >= 1.0)) return 1.0;
        return t > 65535.0 ? 65535.0 : t;
    };

    // The readings count whose whole number of steps comes closest to the
    // period; on a tie the larger count, found first, stays.
    int n = kMaxReadings;
    double tau = rate(n);
    double best = std::fabs(n * tau - P);
    // The setter keeps the minimum within 16 … 1024; a value that bypassed it
    // must still leave at least one reading.
    const int fewest = std::clamp(ReadingsCntMin_, 1, kMaxReadings);
    for (int i = kMaxReadings - 1; i >= fewest; --i) {
        const double t = rate(i);
        const double e = std::fabs(i * t - P);
        if (e < best) {
            n = i;
            tau = t;
            best = e;
        }
    }
    N_ = n;
    Tau_ = static_cast<int>(tau);
}

void TZyGen4DDSMod::StartUserMode() {
    TZyGen4* gen = channel_->Gen();
    const TZyGen4ChNames ch = channel_->ChannelType();

    Calc_N_Tau();
    const bool half = CanUseHalfOfPeriod() && ContBidiRamp_;
    MathFunc_->SetHalfOfPeriod(half);

    // Centre and deviation as 32-bit DDS words; a phase sits in the top 14 bits.
    uint32_t ca, cb;
    if (Type_ == ZGAFPms_phase) {
        ca = PhaseWord(TZyGen4::Conv_PhaseToCode(channel_->Phase()));
        cb = PhaseWord(TZyGen4::Conv_PhaseToCode(dPh_));
    } else {
        ca = static_cast<uint32_t>(
            gen->Conv_FreqToCode(TZyGen4::Conv_Value(channel_->Frequency(), 1000.0, 1.0)));
        cb = static_cast<uint32_t>(gen->Conv_FreqToCode(dF_));
    }
    // Unchanged values leave the table as the previous start computed it.
    MathFunc_->Set_CA(ca);
    MathFunc_->Set_CB(cb);
    MathFunc_->SetReadingsCount(N_);

    TZyGen4Cmd control(GC_ControlWord, ch);
    PutControlWord(control, ModeByte(Type_), ch);
    gen->WriteCmdFTPort(control);

    gen->WriteCmdFTPort(TZyGen4Cmd(GC_SelectKeySlot, ch));

    // The whole table as slot 0: addresses 0 … N − 1 at Tau steps per reading,
    // played up and down (0x60) or wrapping around (0x80).
    const unsigned last = static_cast<unsigned>(N_ - 1);
    TZyGen4Cmd slot(GC_Aux7, ch);
    slot.Put16LE(1, static_cast<uint16_t>(Tau_));
    slot.PutByte(3, static_cast<uint8_t>(last));
    slot.PutByte(4, static_cast<uint8_t>((last >> 8) & 3));
    slot.PutByte(5, half ? 0x60 : 0x80);
    gen->WriteCmdFTPort(slot);
    gen->UpdateDDSs(false);

    OutputUserReading();
    gen->UpdateDDSs(false);
}

bool TZyGen4DDSMod::CanUseHalfOfPeriod() const {
    return GetMathFuncType() == ZMFT_sin;
}

void TZyGen4DDSMod::OutputUserReading() {
    TZyGen4* gen = channel_->Gen();
    const int size = MathFunc_->ReadingsMemorySize();
    TZyGen4Cmd load(GC_LoadKeyTable, channel_->ChannelType());
    load.Put16(1, static_cast<uint16_t>(size));
    gen->WriteCmdFTPort(load);
    if (size > 0) gen->WriteBytesToFTPort(MathFunc_->ReadingsMemory(), static_cast<unsigned>(size));
}

// --- Settings file -------------------------------------------------------------------
// The record layout is described in gen4/ZyGen4FileLayout.h.

TZyGen4FileWriter& TZyGen4DDSMod::WriteDataToFile(TZyGen4FileWriter& out) const {
    for (double f : F_) out.WriteDouble(f);
    out.WriteDouble(dF_);
    out.WriteDouble(Fm_);
    for (double ph : Ph_) out.WriteDouble(ph);
    out.WriteDouble(dPh_);
    for (double t : T_) out.WriteDouble(t);
    out.WriteEnum(Mode_);
    out.WriteEnum(Type_);
    out.WriteBool(UseExtTimes_);
    out.WriteBool(ContBidiRamp_);
    out.WriteInt(ReadingsCntMin_);
    out.WriteDouble(GetCC());
    out.WriteEnum(GetMathFuncType());
    return out;
}

TZyGen4FileReader& TZyGen4DDSMod::ReadDataFromFile(TZyGen4FileReader& in) {
    for (double& f : F_) in.ReadDouble(f);
    in.ReadDouble(dF_);
    in.ReadDouble(Fm_);
    for (double& ph : Ph_) in.ReadDouble(ph);
    in.ReadDouble(dPh_);
    for (double& t : T_) in.ReadDouble(t);
    in.ReadEnum(Mode_);
    in.ReadEnum(Type_);
    in.ReadBool(UseExtTimes_);
    in.ReadBool(ContBidiRamp_);
    in.ReadInt(ReadingsCntMin_);
    // The shape and the waveform live in MathFunc: through the setters.
    double cc;
    if (in.ReadDouble(cc)) SetCC(cc);
    TMathFuncsTypes type;
    if (in.ReadEnum(type)) SetMathFuncType(type);
    return in;
}
