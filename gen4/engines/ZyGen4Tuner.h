#pragma once

#include <cstdint>

#include "gen4/ZyGen4Cmd.h"
#include "gen4/ZyGen4Types.h"
#include "gen4/engines/EngineSetter.h"
#include "platform/TimerHost.h"

class TZyGen4Channel;
class TZyGen4FileReader;
class TZyGen4FileWriter;

// Manual tuning: the instrument varies one carrier parameter from its tuning
// input; while the mode runs the engine polls the instrument's ADC reading on
// a timer and reports it through the generator's OnADCTimer.
class TZyGen4Tuner {
  public:
    // Accepted polling periods in ms; setters ignore others silently.
    static constexpr TRange<int> kADCTimerIntervalRange{0, INT32_MAX};

    explicit TZyGen4Tuner(TZyGen4Channel* channel);
    // Stops the polling timer.
    virtual ~TZyGen4Tuner();
    TZyGen4Tuner(const TZyGen4Tuner&) = delete;
    TZyGen4Tuner& operator=(const TZyGen4Tuner&) = delete;

    // --- Published properties -------------------------------------------
    // Tuning range code, sent as its low byte.
    int Scale() const { return Scale_; }
    void SetScale(int v);
    TZyGen4AFPModes Type() const { return Type_; }
    void SetType(TZyGen4AFPModes v);
    // Last value read from the instrument.
    unsigned ADCValue() const { return ADCValue_; }
    bool ADCTimerEnabled() const { return ADCTimerEnabled_; }
    void SetADCTimerEnabled(bool v);
    // Polling period in ms, kADCTimerIntervalRange.
    int ADCTimerInterval() const { return ADCTimerInterval_; }
    void SetADCTimerInterval(int v);

    TZyGen4Channel* Channel() const { return channel_; }
    // Whether the polling timer currently runs.
    bool ADCTimerRunning() const { return timerId_ != 0; }

    // Stops the timer and starts it again when polling is enabled, the
    // interval is positive, the generator is active and the channel tunes.
    // Throws EOutOfResources when no timer can be made.
    void UpdateADCTimer();
    // One timer tick: GetADCValue, then the generator's OnADCTimer. A failed
    // exchange stops the timer before its error leaves; the next update cycle
    // starts it again.
    void ADCTimer();

    // --- Mode algorithms ------------------------------------------------------
    // Sends GC_ReadADC and reads the 4-byte reply into ADCValue.
    void GetADCValue();
    // GC_SetCarrier with the carrier value of the tuned parameter, then the
    // tuning command with Scale.
    void SetModeFreqTune();
    void SetModeAmplTune();
    void SetModePhaseTune();

    // --- Settings file ----------------------------------------------------------
    // This class's record at the stream's position; fields are read as stored.
    TZyGen4FileWriter& WriteDataToFile(TZyGen4FileWriter& out) const;
    TZyGen4FileReader& ReadDataFromFile(TZyGen4FileReader& in);

  private:
    // The channel holds polling off during its overmodulation question and
    // puts the flag back without arming the timer when the question fails.
    friend class TZyGen4Channel;
    void StopADCTimer();
    // The tuning command `code` with Scale in b1.
    void SendTune(TZyGen4Commands code);

    TZyGen4Channel* channel_;
    TZyGen4AFPModes Type_ = ZGAFPms_freq;
    int Scale_ = 0;
    unsigned ADCValue_ = 0;
    int ADCTimerInterval_ = 500;
    bool ADCTimerEnabled_ = false;
    TTimerHost::TTimerId timerId_ = 0;
};
