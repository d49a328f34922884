#pragma once

#include <memory>

#include "gen4/ZyGen4Types.h"

class TZyGen4;
class TZyGen4IntModulation;
class TZyGen4ExtModulation;
class TZyGen4Tuner;
class TZyGen4LFM;
class TZyGen4DDSMod;
class TZyGen4FileReader;
class TZyGen4FileWriter;

// One output of the instrument: its mode, its sine carrier and its five mode
// engines. Enforces the value ranges and the rules on which modes the two
// channels may run together, and carries out the per-channel steps of the
// generator's update cycle.
class TZyGen4Channel {
  public:
    // Carrier limits: frequency in kHz, amplitude in %, phase in degrees.
    static constexpr double kMaxFrequency = 200000.0;
    static constexpr double kMaxAmplitude = 100.0;
    static constexpr double kPhaseLimit = 360.0;

    virtual ~TZyGen4Channel();
    TZyGen4Channel(const TZyGen4Channel&) = delete;
    TZyGen4Channel& operator=(const TZyGen4Channel&) = delete;

    // --- Published properties -------------------------------------------
    TZyGen4ModesCommon Mode() const { return mode_; }
    void SetMode(TZyGen4ModesCommon m);
    double Frequency() const { return frequency_; }
    void Set_sinFrequency(double f);
    double Amplitude() const { return amplitude_; }
    void Set_sinAmplitude(double a);
    double Phase() const { return phase_; }
    void SetPhase(double p);
    TZyGen4ChNames ChannelType() const { return channelType_; }
    TZyGen4IntModulation* IntModulation() const { return intModulation_.get(); }
    TZyGen4ExtModulation* ExtModulation() const { return extModulation_.get(); }
    TZyGen4Tuner* Tuner() const { return tuner_.get(); }
    TZyGen4LFM* LFM() const { return lfm_.get(); }
    TZyGen4DDSMod* DDSMod() const { return ddsMod_.get(); }

    TZyGen4* Gen() const { return gen_; }
    TZyGen4Channel* GetOtherCh() const;
    virtual bool IsChannelA() const = 0;

    // Asks the generator to re-apply the modes (TryUpdateMode). Every
    // accepted change of the channel and its engines ends here.
    virtual void UpdateMode();
    void UpdateDependentTimers();

    // --- Rules and ranges --------------------------------------------------
    bool CheckEnableNewMode(TZyGen4ModesCommon m) const;
    void CheckModesCompat();
    // 0 … 200000 kHz; otherwise OnParamValueError with code 2 and false.
    bool CheckFreqRange(double f);
    // 0 ≤ p < 360; otherwise OnParamValueError with code 3 and false.
    bool CheckPhaseRange(double p);
    // Highest amplitude in % the current mode takes without overflowing the
    // amplitude register.
    double GetMaxAmplAvoidOverMod() const;

    // --- Frames -------------------------------------------------------------
    // GC_OutputOn or GC_OutputOff.
    void SetOpened(bool v);
    // Carrier: GC_SetFreq, GC_SetAmpl, GC_SetPhase.
    void WriteAFPtoGen();

    // Per-mode starts, called by the generator's update cycle.
    void SetModeSinGeneration();
    void SetModeTuning();
    void SetModeIntModulation(bool SingleCh);
    void SetModeExtModulation(bool Start);
    void SetModeLFM(bool Start);
    void SetModeDDSMod();

    // --- Settings file ----------------------------------------------------------
    // The channel's record at the stream's position, then its engines' records
    // (Tuner, IntModulation, ExtModulation, LFM, DDSMod). The mode is stored as
    // read, without the compatibility rules.
    TZyGen4FileWriter& WriteDataToFile(TZyGen4FileWriter& out) const;
    TZyGen4FileReader& ReadDataFromFile(TZyGen4FileReader& in);

  protected:
    TZyGen4Channel(TZyGen4* gen, TZyGen4ChNames channelType);

  private:
    // Fires OnOverModulation when the amplitude is above what the mode takes
    // and the engine of the mode acts on the amplitude.
    void CheckOverModulation(TZyGen4AFPModes engineType);

    TZyGen4* gen_;
    TZyGen4ModesCommon mode_ = ZGMdC_off;
    TZyGen4ChNames channelType_;
    std::unique_ptr<TZyGen4IntModulation> intModulation_;
    std::unique_ptr<TZyGen4ExtModulation> extModulation_;
    std::unique_ptr<TZyGen4Tuner> tuner_;
    std::unique_ptr<TZyGen4LFM> lfm_;
    std::unique_ptr<TZyGen4DDSMod> ddsMod_;
    double frequency_ = 0.0;
    double amplitude_ = 0.0;
    double phase_ = 0.0;
};
