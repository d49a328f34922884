#pragma once

#include "gen4/ZyGen4Types.h"
#include "gen4/engines/EngineSetter.h"

class TZyGen4Channel;
class TZyGen4FileReader;
class TZyGen4FileWriter;

// Linear frequency sweep between the channel's carrier Frequency (bottom) and
// FreqTop: rise in Tinc0, stay on top until Tinc0 + Tinc1, fall in Tdec0,
// stay at the bottom until Tdec0 + Tdec1.
class TZyGen4LFM {
  public:
    // Accepted sweep times in µs; others fire OnParamValueError (code 11).
    static constexpr TRange<int> kTimeRange{10, 10000000};

    explicit TZyGen4LFM(TZyGen4Channel* channel);
    virtual ~TZyGen4LFM() = default;
    TZyGen4LFM(const TZyGen4LFM&) = delete;
    TZyGen4LFM& operator=(const TZyGen4LFM&) = delete;

    // --- Published properties -------------------------------------------
    // Top frequency in kHz; values below the channel's Frequency are ignored.
    int FreqTop() const { return FreqTop_; }
    void SetFreqTop(int v);
    // Times in µs, kTimeRange.
    int Tinc0() const { return Tinc0_; }
    void SetTinc0(int v);
    int Tinc1() const { return Tinc1_; }
    void SetTinc1(int v);
    int Tdec0() const { return Tdec0_; }
    void SetTdec0(int v);
    int Tdec1() const { return Tdec1_; }
    void SetTdec1(int v);

    TZyGen4Channel* Channel() const { return channel_; }
    // True within kTimeRange; otherwise fires OnParamValueError with code 11
    // and returns false.
    bool CheckTimeRange(double value);

    // --- Mode algorithms ------------------------------------------------------
    // Loads the sweep; with WithTiming also the timing and the start command.
    void StartLFM(bool WithTiming);
    // Best rational approximation A / B of X / Y within MaxA and MaxB (0 means
    // no limit); A = B = 0 when none fits.
    static void XYtoAB(double X, double Y, double MaxA, double MaxB, double& A, double& B);

    // --- Settings file ----------------------------------------------------------
    // This class's record at the stream's position; fields are read as stored.
    TZyGen4FileWriter& WriteDataToFile(TZyGen4FileWriter& out) const;
    TZyGen4FileReader& ReadDataFromFile(TZyGen4FileReader& in);

  private:
    // Convergent denominators grow at least as fast as the Fibonacci numbers,
    // so the 64th is far beyond any 32-bit limit: no search needs more steps.
    static constexpr int kMaxConvergents = 64;

    // The channel lifts FreqTop with its carrier, bypassing the setter.
    friend class TZyGen4Channel;
    void SetTime(int& field, int v);

    TZyGen4Channel* channel_;
    int FreqTop_ = 0;
    int Tinc0_ = 0;
    int Tinc1_ = 0;
    int Tdec0_ = 0;
    int Tdec1_ = 0;
};
