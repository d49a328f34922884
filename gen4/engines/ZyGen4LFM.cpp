#include "gen4/engines/ZyGen4LFM.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"

TZyGen4LFM::TZyGen4LFM(TZyGen4Channel* channel) : channel_(channel) {
    // The channel builds its engines before it sets its own frequency.
    const double f = channel->Frequency();
    FreqTop_ = f >= 0.0 && f <= TZyGen4Channel::kMaxFrequency ? static_cast<int>(f) : 0;
}

void TZyGen4LFM::SetFreqTop(int v) {
    SetAndUpdate(channel_, FreqTop_, v, [this](int top) { return !(top < channel_->Frequency()); });
}

bool TZyGen4LFM::CheckTimeRange(double value) {
    if (value >= kTimeRange.lo && value <= kTimeRange.hi) return true;
    TZyGen4* gen = channel_->Gen();
    if (gen->OnParamValueError) gen->OnParamValueError(channel_, ZGP_LFMTime, &value);
    return false;
}

void TZyGen4LFM::SetTime(int& field, int v) {
    SetAndUpdate(channel_, field, v, [this](int t) { return CheckTimeRange(t); });
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

namespace {

// A non-negative double truncated toward zero, low 32 bits; negative or
// non-finite values give 0. No out-of-range cast can happen.
uint32_t TruncLow32(double v) {
    if (!(v >= 0.0) || !std::isfinite(v)) return 0;
    return static_cast<uint32_t>(std::fmod(std::trunc(v), 4294967296.0));
}

// Half of a sweep half's duration, in units of 2 µs (24 bits on the wire).
uint32_t HalfTime(int t0, int t1) {
    return TruncLow32((static_cast<double>(t0) + t1) * 0.5);
}

}  // namespace

void TZyGen4LFM::StartLFM(bool WithTiming) {
    TZyGen4* gen = channel_->Gen();
    const TZyGen4ChNames ch = channel_->ChannelType();

    TZyGen4Cmd control(GC_ControlWord, ch);
    control.Put32(1, ch == ZGCN_A ? 0x06A00240u : 0x06A00242u);
    gen->WriteCmdFTPort(control);

    // Frequency span in kHz scaled by 2^30; each ramp approximates span /
    // duration by a step size A over a step rate B of at most 255.
    const double X = (FreqTop_ - channel_->Frequency()) * 1073741824.0;
    auto ramp = [&](TZyGen4Commands code, int duration) {
        double A = 0, B = 0;
        XYtoAB(X, duration * 1e7, 0, 255, A, B);
        TZyGen4Cmd cmd(code, ch);
        cmd.PutByte(1, static_cast<uint8_t>(TruncLow32(B)));
        cmd.Put32(2, TruncLow32(A));
        gen->WriteCmdFTPort(cmd);
    };
    ramp(GC_Aux8, Tinc0_);
    ramp(GC_Aux7, Tdec0_);

    TZyGen4Cmd top(GC_SetFreq2, ch);
    top.Put32(1, static_cast<uint32_t>(gen->Conv_FreqToCode(FreqTop_ * 1000.0)));
    gen->WriteCmdFTPort(top);
    gen->UpdateDDSs(false);

    if (!WithTiming) return;

    // The microcontroller times both halves; in a synchronous sweep these
    // frames come last and serve both channels.
    TZyGen4Cmd inc(GC_LFMTimeInc, ch);
    inc.Put24(1, HalfTime(Tinc0_, Tinc1_));
    gen->WriteCmdFTPort(inc);
    TZyGen4Cmd dec(GC_LFMTimeDec, ch);
    dec.Put24(1, HalfTime(Tdec0_, Tdec1_));
    gen->WriteCmdFTPort(dec);
    gen->WriteCmdFTPort(TZyGen4Cmd(GC_LFMStart, ch));
}

void TZyGen4LFM::XYtoAB(double X, double Y, double MaxA, double MaxB, double& A, double& B) {
    A = 0;
    B = 0;
    // Previous convergent h1/k1 and the one before, h2/k2.
    double h1 = 1, k1 = 0, h2 = 0, k2 = 1;
    for (int step = 0; step < kMaxConvergents && X != 0 && Y != 0; ++step) {
        const double whole = std::trunc(X / Y);
        // The partial quotient is an unsigned 32-bit number. One below zero
        // (a top more than a step below the carrier) or not finite has no step
        // worth sending: keep the last convergent found. A ratio between −1
        // and 0 still gives the quotient 0.
        if (!(whole >= 0.0) || !std::isfinite(whole)) break;
        const double q = std::min(whole, 4294967295.0);
        const double r = X - q * Y;
        // Each step must leave a remainder below the divisor. A capped quotient
        // (a tiny divisor, or a stored frequency far out of range) or rounding
        // would not, and the next steps would undo this one for ever.
        if (!(std::fabs(r) < std::fabs(Y))) break;
        X = Y;
        Y = r;
        const double h = q * h1 + h2;
        const double k = q * k1 + k2;
        if (MaxA != 0 && h > MaxA) break;
        if (MaxB != 0 && k > MaxB) break;
        h2 = h1;
        k2 = k1;
        h1 = h;
        k1 = k;
        A = h;
        B = k;
    }
}

// --- Settings file -------------------------------------------------------------------
// The record layout is described in gen4/ZyGen4FileLayout.h.

TZyGen4FileWriter& TZyGen4LFM::WriteDataToFile(TZyGen4FileWriter& out) const {
    out.WriteInt(FreqTop_);
    out.WriteInt(Tinc0_);
    out.WriteInt(Tinc1_);
    out.WriteInt(Tdec0_);
    out.WriteInt(Tdec1_);
    return out;
}

TZyGen4FileReader& TZyGen4LFM::ReadDataFromFile(TZyGen4FileReader& in) {
    in.ReadInt(FreqTop_);
    in.ReadInt(Tinc0_);
    in.ReadInt(Tinc1_);
    in.ReadInt(Tdec0_);
    in.ReadInt(Tdec1_);
    return in;
}
