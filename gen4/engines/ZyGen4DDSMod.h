#pragma once

#include <cstdint>
#include <memory>

#include "gen4/ZyGen4Types.h"
#include "gen4/engines/EngineSetter.h"

class TZyGen4Channel;
class TMathFunction;
class TZyGen4FileReader;
class TZyGen4FileWriter;

// Modulation the channel's DDS plays by itself from its own memory: binary or
// quaternary frequency or phase keying with hold times (or timed by external
// inputs), or a computed waveform table (user mode).
class TZyGen4DDSMod {
  public:
    // Accepted hold times in ns; others fire OnParamValueError (code 24).
    static constexpr TRange<double> kTimeRange{20.0, 1300000.0};
    // Accepted values of the user mode; setters ignore others silently.
    static constexpr TRange<double> kdFRange{0.0, 2000000.0};    // Hz
    static constexpr TRange<double> kdPhRange{0.0, 180.0};       // degrees
    static constexpr TRange<double> kFmRange{200.0, 1500000.0};  // Hz
    static constexpr TRange<int> kReadingsCntMinRange{16, 1024};
    // The DDS memory holds at most this many 32-bit words.
    static constexpr int kMaxReadings = 1024;

    explicit TZyGen4DDSMod(TZyGen4Channel* channel);
    virtual ~TZyGen4DDSMod();
    TZyGen4DDSMod(const TZyGen4DDSMod&) = delete;
    TZyGen4DDSMod& operator=(const TZyGen4DDSMod&) = delete;

    // --- Published properties -------------------------------------------
    // Keying frequencies in kHz: the channel's frequency range check applies
    // (OnParamValueError code 2).
    double F1() const { return F_[0]; }
    void SetF1(double v) { SetF(0, v); }
    double F2() const { return F_[1]; }
    void SetF2(double v) { SetF(1, v); }
    double F3() const { return F_[2]; }
    void SetF3(double v) { SetF(2, v); }
    double F4() const { return F_[3]; }
    void SetF4(double v) { SetF(3, v); }
    // User mode: peak frequency deviation, kdFRange.
    double dF() const { return dF_; }
    void Set_dF(double v);
    // Keying phases in degrees: the channel's phase range check applies
    // (OnParamValueError code 3).
    double Ph1() const { return Ph_[0]; }
    void SetPh1(double v) { SetPh(0, v); }
    double Ph2() const { return Ph_[1]; }
    void SetPh2(double v) { SetPh(1, v); }
    double Ph3() const { return Ph_[2]; }
    void SetPh3(double v) { SetPh(2, v); }
    double Ph4() const { return Ph_[3]; }
    void SetPh4(double v) { SetPh(3, v); }
    // User mode: peak phase deviation, kdPhRange.
    double dPh() const { return dPh_; }
    void Set_dPh(double v);
    // Hold times in ns, kTimeRange.
    double T1() const { return T_[0]; }
    void SetT1(double v) { SetT(0, v); }
    double T2() const { return T_[1]; }
    void SetT2(double v) { SetT(1, v); }
    double T3() const { return T_[2]; }
    void SetT3(double v) { SetT(2, v); }
    double T4() const { return T_[3]; }
    void SetT4(double v) { SetT(3, v); }
    // User mode: play the table up and down.
    bool ContBidiRamp() const { return ContBidiRamp_; }
    void SetContBidiRamp(bool v);
    TZyGen4DDSmodModes Mode() const { return Mode_; }
    void SetMode(TZyGen4DDSmodModes v);
    // ZGAFPms_freq or ZGAFPms_phase; ZGAFPms_ampl is ignored.
    TZyGen4AFPModes Type() const { return Type_; }
    void SetType(TZyGen4AFPModes v);
    // User mode: modulation frequency, kFmRange.
    double Fm() const { return Fm_; }
    void SetFm(double v);
    // User mode waveform and its shape, kept in MathFunc.
    TMathFuncsTypes GetMathFuncType() const;
    void SetMathFuncType(TMathFuncsTypes v);
    double GetCC() const;
    void SetCC(double v);
    // User mode: fewest readings the table may have, kReadingsCntMinRange.
    int ReadingsCntMin() const { return ReadingsCntMin_; }
    void SetReadingsCntMin(int v);

    // Not published: slots change by the instrument's external inputs.
    bool UseExtTimes() const { return UseExtTimes_; }
    void SetUseExtTimes(bool v);
    // Results of Calc_N_Tau.
    int N() const { return N_; }
    int Tau() const { return Tau_; }

    TZyGen4Channel* Channel() const { return channel_; }
    TMathFunction* MathFunc() const { return MathFunc_.get(); }
    // True within kTimeRange; otherwise fires OnParamValueError with code 24
    // and returns false.
    bool CheckTimeRange(double value);

    // --- Mode algorithms ------------------------------------------------------
    // Writes the carrier, then starts keying or the user mode.
    void StartDDSMod();
    void Start_xSK();
    // Writes slot k's value.
    void OutputReading(char k);
    void StartUserMode();
    void Calc_N_Tau();
    bool CanUseHalfOfPeriod() const;
    void OutputUserReading();
    // Slot rate of a hold time t in ns: t / 20 ns, truncated.
    static uint16_t KeyRate(double t);

    // --- Settings file ----------------------------------------------------------
    // This class's record at the stream's position. Fields are read as stored,
    // except CC then MathFuncType, which live in MathFunc and go through their
    // setters.
    TZyGen4FileWriter& WriteDataToFile(TZyGen4FileWriter& out) const;
    TZyGen4FileReader& ReadDataFromFile(TZyGen4FileReader& in);

  private:
    void SetF(int i, double v);
    void SetPh(int i, double v);
    void SetT(int i, double v);

    TZyGen4Channel* channel_;
    double F_[4] = {1000.0, 1000.0, 1000.0, 1000.0};
    double dF_ = 1000.0;
    double Ph_[4] = {0.0, 180.0, 90.0, 270.0};
    double dPh_ = 90.0;
    double T_[4] = {1000.0, 1000.0, 1000.0, 1000.0};
    TZyGen4DDSmodModes Mode_ = ZGTMs_BxSK;
    TZyGen4AFPModes Type_ = ZGAFPms_freq;
    bool UseExtTimes_ = false;
    bool ContBidiRamp_ = false;
    double Fm_ = 1000.0;
    int N_ = 0;
    int Tau_ = 0;
    std::unique_ptr<TMathFunction> MathFunc_;
    int ReadingsCntMin_ = 32;
};
