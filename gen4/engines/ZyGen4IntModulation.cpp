#include "gen4/engines/ZyGen4IntModulation.h"

#include <cmath>
#include <string>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"
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
    SetAndUpdate(channel_, Type_, v, kAnyValue);
}

void TZyGen4IntModulation::SetFm(int v) {
    SetAndUpdate(channel_, Fm_, v, kFmRange);
}

void TZyGen4IntModulation::SetdA(int v) {
    SetAndUpdate(channel_, dA_, v, kdARange);
}

void TZyGen4IntModulation::SetdF(int v) {
    SetAndUpdate(channel_, dF_, v, kdFRange);
}

void TZyGen4IntModulation::SetdPh(int v) {
    SetAndUpdate(channel_, dPh_, v, kdPhRange);
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

namespace {

// Ticks per second of the instrument's reading timer.
constexpr uint32_t kTimeBase = 88473600;

// Table memory of the instrument: all of it for one table, half for each of two.
constexpr int kTableMemory = 8192;
constexpr int kHalfTableMemory = 4096;
// Where channel B's table starts when both channels have one.
constexpr int kChBTableStart = 4096;

const char* const kDividerOverflow = "Переполнение делителя! (> FF80 или > FF00 )";

// A code as the table's centre or deviation: unsigned 32-bit, except that an
// amplitude code below 0 (no output) counts as 0 rather than as 4294967295.
double AsCode(int code) {
    return static_cast<double>(static_cast<uint32_t>(code));
}
double AsAmplCode(int code) {
    return code < 0 ? 0.0 : static_cast<double>(code);
}

}  // namespace

void TZyGen4IntModulation::WriteReadings(bool SingleCh) {
    CreateReadings(SingleCh);
    OutputReadings(SingleCh);
}

void TZyGen4IntModulation::CreateReadings(bool SingleCh) {
    const int capacity = SingleCh ? kTableMemory : kHalfTableMemory;
    const bool isFreq = Type_ == ZGAFPms_freq;
    MathFunc_->SetAutoUpdate(false);
    MathFunc_->SetBytesPerReading(isFreq ? BPR_4bytes : BPR_2bytes);
    const int w = MathFunc_->BytesPerReadingCount();

    // As many readings as the memory holds and the reading timer keeps up with.
    RdsCnt_ = capacity / w;
    const unsigned maxCnt = GetMaxReadingsCnt(static_cast<unsigned>(Fm_), SingleCh, isFreq);
    if (maxCnt < static_cast<unsigned>(RdsCnt_)) RdsCnt_ = static_cast<int>(maxCnt);
    RdsBytes_ = w * RdsCnt_;

    const TZyGen4* gen = channel_->Gen();
    switch (Type_) {
        case ZGAFPms_freq:
            MathFunc_->Set_CA(
                AsCode(gen->Conv_FreqToCode(TZyGen4::Conv_Value(channel_->Frequency(), 1000, 1))));
            MathFunc_->Set_CB(AsCode(gen->Conv_FreqToCode(dF_)));
            break;
        case ZGAFPms_ampl:
            MathFunc_->Set_CA(AsAmplCode(TZyGen4::Conv_AmplToCode(channel_->Amplitude())));
            MathFunc_->Set_CB(
                AsAmplCode(TZyGen4::Conv_AmplToCode(dA_ * channel_->Amplitude() * 0.01)));
            break;
        case ZGAFPms_phase:
            MathFunc_->Set_CA(AsCode(TZyGen4::Conv_PhaseToCode(channel_->Phase())));
            MathFunc_->Set_CB(AsCode(TZyGen4::Conv_PhaseToCode(dPh_)));
            break;
        default:
            break;
    }
    MathFunc_->SetReadingsCount(RdsCnt_);
    MathFunc_->SetAutoUpdate(true);
}

void TZyGen4IntModulation::OutputReadings(bool SingleCh) {
    TZyGen4* gen = channel_->Gen();
    const TZyGen4ChNames ch = channel_->ChannelType();
    TZyGen4Cmd load(GC_LoadModTable, ch);
    if (ch == ZGCN_A) {
        load.Put16(1, static_cast<uint16_t>(RdsBytes_));
    } else {
        const int start = SingleCh ? 0 : kChBTableStart;
        load.Put16(1, static_cast<uint16_t>(start));
        load.Put16(3, static_cast<uint16_t>(start + RdsBytes_));
    }
    gen->WriteCmdFTPort(load);
    gen->WriteBytesToFTPort(MathFunc_->ReadingsMemory(),
                            static_cast<unsigned>(MathFunc_->ReadingsMemorySize()));
    La_ = GetLa(static_cast<unsigned>(Fm_), SingleCh, Type_ == ZGAFPms_freq,
                static_cast<unsigned>(RdsCnt_));
}

unsigned TZyGen4IntModulation::GetMaxReadingsCnt(unsigned Fm, bool SingleCh, bool IsFreq) {
    // Time-base ticks one reading needs: 4-byte readings take longer, and with
    // two tables the timer serves both.
    const uint32_t k = IsFreq ? (SingleCh ? 512u : 1024u) : (SingleCh ? 288u : 576u);
    const uint32_t ticks = k * static_cast<uint32_t>(Fm);
    if (ticks == 0) return 0xFFFFFFFFu;  // no modulation frequency: no limit
    return kTimeBase / ticks;
}

unsigned TZyGen4IntModulation::GetLa(unsigned Fm, bool SingleCh, bool IsFreq, unsigned Cnt) {
    if (Cnt == 0) Cnt = GetMaxReadingsCnt(Fm, SingleCh, IsFreq);
    // Ticks per reading so that Cnt readings last one period of Fm. The timer
    // counts 65536 − La ticks, at least 128 with one table and 256 with two.
    // More than 65536 ticks would make La negative, which as an unsigned
    // number exceeds both limits.
    const double readingsPerSecond = static_cast<double>(Fm) * static_cast<double>(Cnt);
    const double d = readingsPerSecond > 0 ? std::ceil(kTimeBase / readingsPerSecond) : 0.0;
    if (!(d >= 1.0 && d <= 65536.0)) throw Exception(kDividerOverflow);
    const uint32_t la = 65536u - static_cast<uint32_t>(d);
    if (la > (SingleCh ? 0xFF80u : 0xFF00u)) throw Exception(kDividerOverflow);
    return la;
}

void TZyGen4IntModulation::StartModulationCmd(TZyGen4Commands Code) {
    TZyGen4Cmd cmd(Code, channel_->ChannelType());
    cmd.Put16(1, static_cast<uint16_t>(La_));
    cmd.PutByte(3, 0x08);
    cmd.PutByte(4, ModSel(Type_));
    channel_->Gen()->WriteCmdFTPort(cmd);
}

void TZyGen4IntModulation::StartSingleModulation(bool) {
    StartModulationCmd(GC_IntModStart);
}

void TZyGen4IntModulation::StartDuplexModulation(bool) {
    StartModulationCmd(GC_IntModDuplex);
}

void TZyGen4IntModulation::StopSingleModulation() {
    channel_->Gen()->WriteCmdFTPort(TZyGen4Cmd(GC_IntModStop, channel_->ChannelType()));
}

void TZyGen4IntModulation::StartDoubleModulation(bool NoStop) {
    if (!NoStop) StopDoubleModulation();
    channel_->Gen()->WriteCmdFTPort(TZyGen4Cmd(GC_IntModDoubleStart, channel_->ChannelType()));
}

void TZyGen4IntModulation::StopDoubleModulation() {
    channel_->Gen()->WriteCmdFTPort(TZyGen4Cmd(GC_IntModDoubleStop, channel_->ChannelType()));
}

void TZyGen4IntModulation::StopDuplexModulation() {
    // The instrument stops the duplex modulation with its next reset.
}

// --- Settings file -------------------------------------------------------------------
// The record layout is described in gen4/ZyGen4FileLayout.h.

TZyGen4FileWriter& TZyGen4IntModulation::WriteDataToFile(TZyGen4FileWriter& out) const {
    out.WriteEnum(Type_);
    out.WriteInt(Fm_);
    out.WriteInt(dA_);
    out.WriteInt(dF_);
    out.WriteInt(dPh_);
    out.WriteEnum(GetMathFuncType());
    out.WriteDouble(GetCC());
    return out;
}

TZyGen4FileReader& TZyGen4IntModulation::ReadDataFromFile(TZyGen4FileReader& in) {
    in.ReadEnum(Type_);
    in.ReadInt(Fm_);
    in.ReadInt(dA_);
    in.ReadInt(dF_);
    in.ReadInt(dPh_);
    // The waveform and its shape live in MathFunc: through the setters.
    TMathFuncsTypes type;
    if (in.ReadEnum(type)) SetMathFuncType(type);
    double cc;
    if (in.ReadDouble(cc)) SetCC(cc);
    return in;
}
