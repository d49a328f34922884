#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gen4/ZyGen4Cmd.h"
#include "gen4/ZyGen4Types.h"
#include "platform/Component.h"
#include "platform/FtStatus.h"
#include "platform/TickSource.h"
#include "platform/TimerHost.h"
#include "platform/UsbDriver.h"

class TZyGen4;
class TZyGen4Channel;
class TZyGen4ChannelA;
class TZyGen4ChannelB;
class TZyGen4Options;
class TZyGen4FileReader;
class TZyGen4FileWriter;

// Event types. An empty function is an unassigned event.
using TZyGen4NotifyEvent = std::function<void(TZyGen4* Sender)>;
using TZyGen4ParamValueErrorEvent =
    std::function<void(TZyGen4Channel* ch, TZyGen4Parameters param, double* value)>;
using TZyGen4ChannelEvent = std::function<void(TZyGen4Channel* ch)>;
using TZyGen4ChModeChangeEvent = std::function<void(TZyGen4Channel* ch, bool val)>;
using TZyGen4OverModulationEvent = std::function<void(TZyGen4Channel* ch, double val)>;

// The whole instrument: the USB link with its command frames, the two
// channels, the options, the DDS clock and the value conversions. Every change
// of the model reaches the instrument through the update cycle UpdateMode,
// which starts from a reset and re-sends the configuration of both channels.
//
// The driver, tick source and timer host are not owned and must outlive the
// generator.
class TZyGen4 : public TComponent {
  public:
    // Pause after every command frame, in ticks (ms).
    static constexpr uint32_t kCmdPauseMs = 20;
    // DDS clock with the internal reference: 25 MHz × 16.
    static constexpr double kIntRefFreq = 25.0;
    static constexpr int kIntFreqScale = 16;
    // Multipliers of an external reference the instrument can run on: it
    // takes only the low byte, and below 4 the setter stores 0.
    static constexpr int kMinFreqScale = 4;
    static constexpr int kMaxFreqScale = 255;

    TZyGen4(TComponent* Owner, TUsbDriver& driver, TTickSource& ticks, TTimerHost& timers);
    // Resets the instrument and closes the link; never throws.
    ~TZyGen4() override;

    // --- Published properties -------------------------------------------
    bool GetActive() const { return active_; }
    void SetActive(bool v);
    FT_STATUS Status() const { return status_; }
    // Why the last connect failed, as far as the driver can tell.
    TOpenFailure OpenFailure() const { return driver_.OpenFailure(); }
    TZyGen4ChannelA* ChA() const { return chA_.get(); }
    TZyGen4ChannelB* ChB() const { return chB_.get(); }
    TZyGen4Options* Options() const { return options_.get(); }
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool v);
    bool UseExtRefFreq() const { return useExtRefFreq_; }
    void SetUseExtRefFreq(bool v);
    double RefFreq() const { return refFreq_; }
    void SetRefFreq(double v);
    int FreqScale() const { return freqScale_; }
    void SetFreqScale(int v);

    // DDS clock in MHz, FreqScale × RefFreq as last computed.
    double GenFreq() const { return genFreq_; }
    void CalcGenFreq();
    // Sends GC_ExtFreqScale with the low byte of FreqScale.
    void WriteExtFreqScale();

    // The timer host the tuners poll with.
    TTimerHost& Timers() const { return timers_; }

    // --- Update cycle ------------------------------------------------------
    // Runs UpdateMode when AutoUpdate is on.
    void TryUpdateMode();
    // Re-arms the tuners' timers and, when active, sends the reset and every
    // active mode in a fixed order, then fires AfterUpdate.
    void UpdateMode();
    void UpdateDependentTimers();
    void ResetGen();
    // GC_UpdateDDSs1 for true, GC_UpdateDDSs0 for false.
    void UpdateDDSs(bool v);
    // Start a mode on `first` alone (second null) or on both channels.
    void SetModeIntModulation(TZyGen4Channel* first, TZyGen4Channel* second);
    void SetModeExtModulation(TZyGen4Channel* first, TZyGen4Channel* second);
    void SetModeLFM(TZyGen4Channel* first, TZyGen4Channel* second);

    // --- Link ---------------------------------------------------------------
    // Opens device 0. On failure fires OnFTError and returns false.
    bool OpenFTPort();
    // On failure fires OnFTError and returns false; the link stays open.
    bool CloseFTPort();
    // Sends the frame and pauses kCmdPauseMs. False, sending nothing, while
    // inactive; a failed or short write fires OnFTError and throws Exception.
    bool WriteCmdFTPort(TZyGen4Cmd cmd);
    // Sends a raw block (a table after its load command), without a pause.
    bool WriteBytesToFTPort(const uint8_t* data, unsigned count);
    // Reads exactly `count` bytes; returns the count, or 0 while inactive.
    int ReadBytesFromFTPort(uint8_t* buffer, unsigned count);

    // --- Conversions ---------------------------------------------------------
    // Frequency in Hz → 32-bit DDS frequency word at the current clock. A clock
    // of 0 or a value that is not finite gives 0.
    int Conv_FreqToCode(double f) const;
    double Conv_CodeToFreq(int64_t c) const;
    // Amplitude in % → 14-bit code; anything below one code step gives 0.
    static int Conv_AmplToCode(double a);
    static double Conv_CodeToAmpl(int64_t c);
    static int Conv_PhaseToCode(double p);
    static double Conv_CodeToPhase(int64_t c);
    static double Conv_AmplTodB(double a);
    static double Conv_AdBToAmpl(double d);
    static double Conv_Value(double x, double num, double den);
    // As above, rounded to a multiple of 10^digit (ties to even); digit is
    // limited to −20 … 20.
    static double Conv_Value(double x, double num, double den, int8_t digit);

    // --- Settings file ----------------------------------------------------------
    // Writes the complete set-up (clock, both channels with their engines, the
    // options) as a 517-byte file. A failure never costs the previous file.
    // Throws EInOutError: "Ошибка при открытии файла" when the file cannot be
    // created, a message naming the cause when writing fails.
    void SaveToFile(const std::string& FileName) const;
    // Reads a set-up written by SaveToFile. Throws EInOutError "Ошибка при
    // открытии файла" when the file cannot be opened and "Ошибка при чтении
    // файла" when reading it fails; neither changes anything. A wrong magic or
    // version, or a value that is NaN or infinite, fires OnErrorFile and
    // changes nothing. A file that ends early
    // sets every field it holds wholly and keeps the others. AutoUpdate is off while the fields
    // change; when it was on, switching it back runs one cycle, whose link errors reach the caller.
    // Returns true when the whole set-up was read; otherwise LastFileError() says what was wrong.
    bool LoadFromFile(const std::string& FileName);
    // Reads the magic and, when it matches, the version; true when the header
    // is wrong.
    bool CheckIOMetrics(TZyGen4FileReader& in);
    // The generator's record, then ChA's, ChB's and the options' records.
    TZyGen4FileWriter& WriteDataToFile(TZyGen4FileWriter& out) const;
    TZyGen4FileReader& ReadDataFromFile(TZyGen4FileReader& in);
    // Why the last LoadFromFile returned false; empty after a complete load.
    const std::string& LastFileError() const { return lastFileError_; }

    // --- Events --------------------------------------------------------------
    TZyGen4NotifyEvent OnFTError;
    TZyGen4ParamValueErrorEvent OnParamValueError;
    TZyGen4ChannelEvent OnADCTimer;
    TZyGen4NotifyEvent AfterUpdate;
    TZyGen4ChModeChangeEvent OnChModeChange;
    TZyGen4NotifyEvent OnChangeActiveState;
    TZyGen4NotifyEvent OnGenResponseWait;
    TZyGen4OverModulationEvent OnOverModulation;
    TZyGen4NotifyEvent OnErrorFile;

  private:
    // After a load: GenFreq from the loaded clock fields.
    void TakeLoadedClock();
    void FireFTError();

    TUsbDriver& driver_;
    TTickSource& ticks_;
    TTimerHost& timers_;

    FT_HANDLE handle_ = 0;
    FT_STATUS status_ = FT_OK;
    bool active_ = false;

    std::unique_ptr<TZyGen4ChannelA> chA_;
    std::unique_ptr<TZyGen4ChannelB> chB_;
    std::unique_ptr<TZyGen4Options> options_;

    bool autoUpdate_ = true;
    bool useExtRefFreq_ = false;
    double refFreq_ = kIntRefFreq;
    int freqScale_ = kIntFreqScale;
    double genFreq_ = kIntRefFreq * kIntFreqScale;
    std::string lastFileError_;
};
