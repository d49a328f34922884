#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gen4/ZyGen4Types.h"
#include "props/PropertyValue.h"
#include "scpi/ScpiErrorQueue.h"
#include "scpi/ScpiMessage.h"
#include "scpi/ScpiTree.h"

class TZyGen4;
struct TPropertyDef;

// The first fields of the *IDN? answer; the version comes last.
struct TScpiIdentity {
    std::string maker;
    std::string model;
    std::string serial;
    std::string version;
};

// This program's answer to *IDN? (there is no serial number to read).
TScpiIdentity ZyPanelScpiIdentity(const std::string& version);

// The generator as a SCPI instrument: takes program messages (one line each,
// without its terminator) and gives the response message, if any. Every
// command of one message is applied with the automatic update held; one
// update cycle follows when any of them changed a setting. Link failures and
// refused values become error queue entries; nothing a client sends escapes as
// an exception.
class TScpiEngine {
  public:
    TScpiEngine(TZyGen4& gen, TScpiIdentity identity);
    ~TScpiEngine();
    TScpiEngine(const TScpiEngine&) = delete;
    TScpiEngine& operator=(const TScpiEngine&) = delete;

    // Runs one program message; the responses of its queries joined by ';'
    // and ended by '\n', or "" when it held no query.
    std::string Execute(std::string_view message);

    // A fault found outside a message, such as a line that was too long.
    void PushError(int code, const std::string& detail = {});

    // Fired after a message that changed a setting, once its cycle ran (or
    // failed): the windows show the new values.
    std::function<void()> AfterChange;

    // --- For the command handlers ------------------------------------------
    TZyGen4& Gen() const { return gen_; }
    // Holds the automatic update until the message ends; every handler that
    // changes the generator calls it first.
    void Hold();
    // Sets a property through its setter; throws TScpiError -222 when a range
    // check rejects the value, -224 when the setter does not take it, -240
    // when the link fails (Active).
    void SetProperty(const TPropertyDef& def, const TPropertyValue& value);
    void SetProperty(const std::string& path, const TPropertyValue& value);
    // The value of AutoUpdate as the client set it, also while it is held.
    bool AutoUpdateSetting() const;

    // The mode a channel's output starts with when it is switched on; it
    // stands for the channel's mode while the output is off.
    TZyGen4ModesCommon ArmedMode(int channel) const;
    // Switches the channel to `mode` when its output is on, else arms it.
    void SelectMode(int channel, TZyGen4ModesCommon mode);
    void SetOutput(int channel, bool on);
    // The source remembered for a modulation kind (AM, FM, PM) while it is off.
    bool& ExternalSource(int channel, TZyGen4AFPModes kind);

    // Resets the generator to its constructor's values, outputs off.
    void Reset();
    TScpiErrorQueue& Errors();

  private:
    struct TEventGuard;

    void RunUnit(std::string_view text, std::vector<std::string>& responses);
    std::string RunCommon(const TScpiUnit& unit);
    // Ends a hold: one update cycle (as "Обновить" does).
    void Release();
    void PushCaught();

    TZyGen4& gen_;
    TScpiIdentity identity_;
    TScpiTree tree_;
    TScpiErrorQueue errors_;
    std::vector<TScpiPathNode> path_;  // current path within the message

    uint8_t esr_ = 0;          // standard event status register
    uint8_t ese_ = 0;          // its enable register
    bool opcPending_ = false;  // *OPC in this message

    bool held_ = false;
    bool resumeAutoUpdate_ = false;   // AutoUpdate when the hold ends
    bool autoUpdateWritten_ = false;  // a command of the message set it
    bool rejected_ = false;           // OnParamValueError during a command

    TZyGen4ModesCommon armed_[2] = {ZGMdC_gen, ZGMdC_gen};
    bool external_[2][3] = {};
};
