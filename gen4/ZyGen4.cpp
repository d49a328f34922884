#include "gen4/ZyGen4.h"

#include <algorithm>
#include <cmath>

#include "gen4/CodeRounding.h"
#include "gen4/ZyGen4AutoUpdateSuspend.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/ZyGen4FileLayout.h"
#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"
#include "gen4/ZyGen4Options.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "platform/Exceptions.h"

namespace {

constexpr char kMsgWriteCmd[] = "Ошибка при записи команды в FTPort";
constexpr char kMsgWriteData[] = "Ошибка при записи данных в FTPort";
constexpr char kMsgRead[] = "Ошибка при чтении данных из FTPort";

}  // namespace

TZyGen4::TZyGen4(TComponent* Owner, TUsbDriver& driver, TTickSource& ticks, TTimerHost& timers)
    : TComponent(Owner), driver_(driver), ticks_(ticks), timers_(timers) {
    chA_ = std::make_unique<TZyGen4ChannelA>(this);
    chB_ = std::make_unique<TZyGen4ChannelB>(this);
    options_ = std::make_unique<TZyGen4Options>(this);
}

TZyGen4::~TZyGen4() {
    // A reset that fails here still closes the link (SetActive) and the error
    // goes no further: a destructor must not throw.
    try {
        SetActive(false);
    } catch (...) {
    }
    chB_.reset();
    chA_.reset();
    options_.reset();
}

// --- Active ------------------------------------------------------------------

void TZyGen4::SetActive(bool v) {
    if (v == active_) return;
    if (!v) {
        // Stop the tuners' polling before the link goes.
        active_ = false;
        UpdateDependentTimers();
        active_ = true;
        try {
            ResetGen();
        } catch (...) {
            // An unplugged instrument must not keep the link half open: close
            // it, tell the listeners, then report the failure.
            CloseFTPort();
            if (OnChangeActiveState) OnChangeActiveState(this);
            throw;
        }
        CloseFTPort();
    } else {
        if (OpenFTPort()) TryUpdateMode();
    }
    if (OnChangeActiveState) OnChangeActiveState(this);
}

// --- Update cycle ---------------------------------------------------------------

void TZyGen4::SetAutoUpdate(bool v) {
    if (v == autoUpdate_) return;
    autoUpdate_ = v;
    if (v) TryUpdateMode();
}

void TZyGen4::TryUpdateMode() {
    if (autoUpdate_) UpdateMode();
}

void TZyGen4::UpdateMode() {
    TZyGen4Channel* a = chA_.get();
    TZyGen4Channel* b = chB_.get();
    // The channels in mode m: the first one (A before B) and the second when
    // both are in it.
    auto pair = [a, b](TZyGen4ModesCommon m, TZyGen4Channel*& first, TZyGen4Channel*& second) {
        first = second = nullptr;
        if (a->Mode() == m) {
            first = a;
            if (b->Mode() == m) second = b;
        } else if (b->Mode() == m) {
            first = b;
        }
        return first != nullptr;
    };
    TZyGen4Channel* first = nullptr;
    TZyGen4Channel* second = nullptr;

    UpdateDependentTimers();
    if (!active_) return;
    ResetGen();
    if (useExtRefFreq_) WriteExtFreqScale();

    if (pair(ZGMdC_gen, first, second)) {
        first->SetModeSinGeneration();
        if (second) second->SetModeSinGeneration();
        UpdateDDSs(true);
    }
    if (pair(ZGMdC_IntModulation, first, second)) SetModeIntModulation(first, second);
    if (a->Mode() == ZGMdC_DDSMod) a->SetModeDDSMod();
    if (b->Mode() == ZGMdC_DDSMod) b->SetModeDDSMod();
    if (pair(ZGMdC_tuning, first, second)) first->SetModeTuning();
    if (pair(ZGMdC_ExtModulation, first, second)) SetModeExtModulation(first, second);
    if (a->Mode() == ZGMdC_ExtModulationA12) SetModeExtModulation(a, nullptr);
    if (a->Mode() == ZGMdC_ExtModulationAB1) {
        b->SetOpened(true);
        b->WriteAFPtoGen();
        a->SetModeExtModulation(false);
        TZyGen4ExtModulation::StartDuplexModulation(chA_.get());
    }
    if (pair(ZGMdC_LFM, first, second)) SetModeLFM(first, second);

    if (AfterUpdate) AfterUpdate(this);
}

void TZyGen4::UpdateDependentTimers() {
    chA_->UpdateDependentTimers();
    chB_->UpdateDependentTimers();
}

void TZyGen4::ResetGen() {
    WriteCmdFTPort(TZyGen4Cmd(GC_Reset, ZGCN_A));
}

void TZyGen4::UpdateDDSs(bool v) {
    WriteCmdFTPort(TZyGen4Cmd(v ? GC_UpdateDDSs1 : GC_UpdateDDSs0, ZGCN_A));
}

void TZyGen4::SetModeIntModulation(TZyGen4Channel* first, TZyGen4Channel* second) {
    if (!second) {
        first->SetModeIntModulation(true);
        first->IntModulation()->StartSingleModulation(true);
    } else if (options_->EnableDuplexIntMod()) {
        // Both channels play the first one's table.
        first->SetModeIntModulation(true);
        second->SetOpened(true);
        second->WriteAFPtoGen();
        first->IntModulation()->StartDuplexModulation(true);
    } else {
        // Each channel its own table in half the memory, started together.
        first->SetModeIntModulation(false);
        first->IntModulation()->StartModulationCmd(GC_IntModArm);
        second->SetModeIntModulation(false);
        second->IntModulation()->StartModulationCmd(GC_IntModArm);
        first->IntModulation()->StartDoubleModulation(true);
    }
}

void TZyGen4::SetModeExtModulation(TZyGen4Channel* first, TZyGen4Channel* second) {
    if (!second) {
        first->SetModeExtModulation(true);
    } else {
        first->SetModeExtModulation(false);
        second->SetModeExtModulation(false);
        TZyGen4ExtModulation::StartDoubleModulation(chA_.get(), chB_.get());
    }
}

void TZyGen4::SetModeLFM(TZyGen4Channel* first, TZyGen4Channel* second) {
    if (!second) {
        first->SetModeLFM(true);
    } else {
        // The second channel's timing and start command serve both.
        first->SetModeLFM(false);
        second->SetModeLFM(true);
    }
}

// --- Clock --------------------------------------------------------------------

void TZyGen4::CalcGenFreq() {
    genFreq_ = freqScale_ * refFreq_;
}

void TZyGen4::SetUseExtRefFreq(bool v) {
    if (v == useExtRefFreq_) return;
    useExtRefFreq_ = v;
    if (!v) {
        refFreq_ = kIntRefFreq;
        freqScale_ = kIntFreqScale;
        CalcGenFreq();
    }
    TryUpdateMode();
}

void TZyGen4::SetRefFreq(double v) {
    if (!useExtRefFreq_ || v == refFreq_) return;
    refFreq_ = v;
    CalcGenFreq();
}

void TZyGen4::SetFreqScale(int v) {
    if (!useExtRefFreq_ || v == freqScale_) return;
    freqScale_ = v >= kMinFreqScale ? v : 0;
    CalcGenFreq();
}

void TZyGen4::WriteExtFreqScale() {
    TZyGen4Cmd cmd(GC_ExtFreqScale, ZGCN_A);
    cmd.PutByte(1, static_cast<uint8_t>(freqScale_ & 0xFF));
    WriteCmdFTPort(cmd);
}

// --- Link -----------------------------------------------------------------------

void TZyGen4::FireFTError() {
    if (OnFTError) OnFTError(this);
}

bool TZyGen4::OpenFTPort() {
    FT_HANDLE handle = 0;
    status_ = driver_.FT_Open(0, handle);
    if (status_ == FT_OK) {
        handle_ = handle;
        active_ = true;
        return true;
    }
    active_ = false;
    FireFTError();
    return false;
}

bool TZyGen4::CloseFTPort() {
    status_ = driver_.FT_Close(handle_);
    if (status_ == FT_OK) {
        handle_ = 0;
        active_ = false;
        return true;
    }
    FireFTError();
    return false;
}

bool TZyGen4::WriteCmdFTPort(TZyGen4Cmd cmd) {
    if (!active_) return false;
    uint8_t wire[TZyGen4Cmd::kFrameSize];
    const uint32_t length = static_cast<uint32_t>(cmd.WireImage(wire));
    uint32_t written = 0;
    const FT_STATUS result = driver_.FT_Write(handle_, wire, length, written);
    // The instrument needs the pause whether or not the write went through.
    WaitTicks(ticks_, kCmdPauseMs, [this] {
        if (OnGenResponseWait) OnGenResponseWait(this);
    });
    status_ = result;
    if (status_ == FT_OK && written == length && static_cast<int32_t>(length) == cmd.Length)
        return true;
    FireFTError();
    throw Exception(kMsgWriteCmd);
}

bool TZyGen4::WriteBytesToFTPort(const uint8_t* data, unsigned count) {
    if (!active_) return false;
    uint32_t written = 0;
    status_ = driver_.FT_Write(handle_, data, count, written);
    if (status_ == FT_OK && written == count) return true;
    FireFTError();
    throw Exception(kMsgWriteData);
}

int TZyGen4::ReadBytesFromFTPort(uint8_t* buffer, unsigned count) {
    if (!active_) return 0;
    uint32_t read = 0;
    status_ = driver_.FT_Read(handle_, buffer, count, read);
    if (status_ == FT_OK && read == count) return static_cast<int>(count);
    FireFTError();
    throw Exception(kMsgRead);
}

// --- Conversions -------------------------------------------------------------------

int TZyGen4::Conv_FreqToCode(double f) const {
    // A clock of 0 (multiplier below 4) has no frequency word.
    if (genFreq_ == 0.0 || !std::isfinite(genFreq_) || !std::isfinite(f)) return 0;
    const double k = 4294.967296 / genFreq_;
    return RoundLow32(f * k);
}

double TZyGen4::Conv_CodeToFreq(int64_t c) const {
    return (static_cast<double>(c) + 1.0) * (0.000232830643654 * genFreq_);
}

int TZyGen4::Conv_AmplToCode(double a) {
    // Below one code step the formula gives −1, which would go out as 0xFFFF
    // (full scale); such an amplitude is no output at all.
    const double v = 163.84 * a - 1.0;
    if (!(v >= 0.0)) return 0;
    return RoundLow32(v);
}

double TZyGen4::Conv_CodeToAmpl(int64_t c) {
    return (static_cast<double>(c) + 1.0) * 0.0061035156;
}

int TZyGen4::Conv_PhaseToCode(double p) {
    constexpr double kFactor = 16384.0 / 360.0;
    return RoundLow32(p * kFactor);
}

double TZyGen4::Conv_CodeToPhase(int64_t c) {
    const double v = static_cast<double>(c) * 0.0219726563;
    return v >= 360.0 ? v - 1080.0 : v;
}

double TZyGen4::Conv_AmplTodB(double a) {
    const double ratio = static_cast<double>(0.01L * a);
    return 20.0 * std::log10(ratio);
}

double TZyGen4::Conv_AdBToAmpl(double d) {
    return 100.0 * std::pow(1.12201845430196, d);
}

double TZyGen4::Conv_Value(double x, double num, double den) {
    const double q = num / den;
    return x * q;
}

double TZyGen4::Conv_Value(double x, double num, double den, int8_t digit) {
    const int d = std::clamp<int>(digit, -20, 20);
    const double v = Conv_Value(x, num, den);
    if (d < 0) {
        // Powers of ten up to 10^20 are exact doubles, whereas 10^-3 is not:
        // scaling up and dividing back gives the double nearest to the
        // multiple (1.235, not 1.2350000000000001).
        const double scale = std::pow(10.0, -d);
        const double scaled = v * scale;
        // Too large to carry that many decimals: already a whole multiple.
        if (!std::isfinite(scaled)) return v;
        return std::nearbyint(scaled) / scale;
    }
    const double step = std::pow(10.0, d);
    return std::nearbyint(v / step) * step;
}

// --- Settings file -------------------------------------------------------------------
// The record layout is described in gen4/ZyGen4FileLayout.h.

void TZyGen4::SaveToFile(const std::string& FileName) const {
    TZyGen4FileWriter out;
    out.WriteBytes(ZyGen4File::kMagic, sizeof ZyGen4File::kMagic);
    out.WriteInt(ZyGen4File::kVersion);
    WriteDataToFile(out);
    if (out.Size() != ZyGen4File::kFileSize)
        throw EInOutError("Ошибка при записи файла настроек: неверная длина записи");
    out.SaveAs(FileName);
}

bool TZyGen4::LoadFromFile(const std::string& FileName) {
    lastFileError_.clear();
    TZyGen4FileReader in = TZyGen4FileReader::FromFile(FileName, ZyGen4File::kFileSize);
    if (CheckIOMetrics(in)) {
        lastFileError_ = "Файл не является файлом настроек генератора";
        if (OnErrorFile) OnErrorFile(this);
        return false;
    }
    // The program never writes NaN or an infinity; taken in, one would reach
    // the conversions and the engines' loops. Such a file is refused whole.
    for (int offset : ZyGen4File::kDoubleOffsets) {
        if (in.FiniteDoubleAt(offset)) continue;
        lastFileError_ = "Файл настроек " + FileName +
                         " повреждён: в нём есть нечисловое или бесконечное значение, "
                         "настройки не изменены";
        if (OnErrorFile) OnErrorFile(this);
        return false;
    }
    // A short file still sets the fields it holds wholly; the caller learns of
    // it through the result (also when the update cycle after it fails).
    auto noteShort = [this, &in] {
        if (!in.Short()) return;
        lastFileError_ = "Файл настроек повреждён: в нём " + std::to_string(in.Size()) +
                         " байт из " + std::to_string(ZyGen4File::kFileSize) +
                         ", остальные настройки не изменены";
    };
    try {
        ReadDataFromFile(in);
    } catch (...) {
        noteShort();
        throw;
    }
    noteShort();
    return !in.Short();
}

bool TZyGen4::CheckIOMetrics(TZyGen4FileReader& in) {
    for (uint8_t expected : ZyGen4File::kMagic) {
        uint8_t b;
        if (!in.ReadByte(b) || b != expected) return true;
    }
    int32_t version;
    return !in.ReadInt(version) || version != ZyGen4File::kVersion;
}

TZyGen4FileWriter& TZyGen4::WriteDataToFile(TZyGen4FileWriter& out) const {
    out.WriteBool(useExtRefFreq_);
    out.WriteInt(freqScale_);
    out.WriteDouble(refFreq_);
    chA_->WriteDataToFile(out);
    chB_->WriteDataToFile(out);
    options_->WriteDataToFile(out);
    return out;
}

TZyGen4FileReader& TZyGen4::ReadDataFromFile(TZyGen4FileReader& in) {
    // No frame goes out while the fields change; switching AutoUpdate back on
    // runs one cycle with the loaded set-up.
    TZyGen4AutoUpdateSuspend suspend(*this);
    try {
        in.ReadBool(useExtRefFreq_);
        in.ReadInt(freqScale_);
        // Taken only with the external reference on and when it differs.
        double ref;
        if (in.ReadDouble(ref)) SetRefFreq(ref);
        chA_->ReadDataFromFile(in);
        chB_->ReadDataFromFile(in);
        options_->ReadDataFromFile(in);
    } catch (...) {
        TakeLoadedClock();
        throw;
    }
    TakeLoadedClock();
    suspend.Restore();
    return in;
}

void TZyGen4::TakeLoadedClock() {
    // The instrument runs at 25 MHz × 16 whenever the external reference is
    // off (no multiplier frame goes out), so a file holding another multiplier
    // with the internal reference must not change the clock the codes use.
    if (!useExtRefFreq_) {
        refFreq_ = kIntRefFreq;
        freqScale_ = kIntFreqScale;
    }
    // Otherwise the clock follows the loaded multiplier and reference even
    // when RefFreq kept its value, so the next frame uses the file's clock.
    CalcGenFreq();
}
