#pragma once

#include <cstdint>
#include <memory>

#include "gen4/ZyGen4Cmd.h"
#include "gen4/ZyGen4Types.h"
#include "gen4/engines/EngineSetter.h"

class TZyGen4Channel;
class TMathFunction;
class TZyGen4FileReader;
class TZyGen4FileWriter;

// Modulation by an internal waveform whose readings are computed here and
// uploaded into the instrument's microcontroller memory, then played by its
// reading timer.
class TZyGen4IntModulation {
  public:
    // Accepted values; setters ignore others silently.
    static constexpr TRange<int> kFmRange{1, 20000};    // Hz
    static constexpr TRange<int> kdARange{0, 100};      // % of the carrier
    static constexpr TRange<int> kdFRange{0, 2000000};  // Hz
    static constexpr TRange<int> kdPhRange{0, 180};     // degrees

    explicit TZyGen4IntModulation(TZyGen4Channel* channel);
    virtual ~TZyGen4IntModulation();
    TZyGen4IntModulation(const TZyGen4IntModulation&) = delete;
    TZyGen4IntModulation& operator=(const TZyGen4IntModulation&) = delete;

    // --- Published properties -------------------------------------------
    // Out-of-range values are ignored silently.
    TZyGen4AFPModes Type() const { return Type_; }
    void SetType(TZyGen4AFPModes v);
    int Fm() const { return Fm_; }  // modulation frequency, kFmRange
    void SetFm(int v);
    int dA() const { return dA_; }  // amplitude depth, kdARange
    void SetdA(int v);
    int dF() const { return dF_; }  // peak frequency deviation, kdFRange
    void SetdF(int v);
    int dPh() const { return dPh_; }  // peak phase deviation, kdPhRange
    void SetdPh(int v);
    // Waveform shape and waveform, kept in MathFunc.
    double GetCC() const;
    void SetCC(double v);
    TMathFuncsTypes GetMathFuncType() const;
    void SetMathFuncType(TMathFuncsTypes v);
    // Readings in the last table built.
    int RdsCnt() const { return RdsCnt_; }

    TZyGen4Channel* Channel() const { return channel_; }
    TMathFunction* MathFunc() const { return MathFunc_.get(); }
    int RdsBytes() const { return RdsBytes_; }
    uint32_t La() const { return La_; }

    // --- Mode algorithms ------------------------------------------------------
    // CreateReadings then OutputReadings. SingleCh: this channel owns the whole
    // table memory.
    void WriteReadings(bool SingleCh);
    void CreateReadings(bool SingleCh);
    void OutputReadings(bool SingleCh);
    static unsigned GetMaxReadingsCnt(unsigned Fm, bool SingleCh, bool IsFreq);
    // Timer load value; throws when it does not fit the reading timer.
    static unsigned GetLa(unsigned Fm, bool SingleCh, bool IsFreq, unsigned Cnt);
    // Sends `Code` with La and the ModSel of Type.
    void StartModulationCmd(TZyGen4Commands Code);
    void StartSingleModulation(bool v);
    void StartDuplexModulation(bool v);
    void StopSingleModulation();
    void StartDoubleModulation(bool NoStop);
    void StopDoubleModulation();
    void StopDuplexModulation();

    // --- Settings file ----------------------------------------------------------
    // This class's record at the stream's position. Fields are read as stored,
    // except MathFuncType then CC, which live in MathFunc and go through their
    // setters.
    TZyGen4FileWriter& WriteDataToFile(TZyGen4FileWriter& out) const;
    TZyGen4FileReader& ReadDataFromFile(TZyGen4FileReader& in);

  private:
    TZyGen4Channel* channel_;
    TZyGen4AFPModes Type_ = ZGAFPms_freq;
    int Fm_ = 1000;
    int dA_ = 50;
    int dF_ = 100;
    int dPh_ = 90;
    std::unique_ptr<TMathFunction> MathFunc_;
    int RdsBytes_ = 0;
    int RdsCnt_ = 0;
    uint32_t La_ = 0;
};
