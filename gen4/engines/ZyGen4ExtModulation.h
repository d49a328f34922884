#pragma once

#include <cstdint>

#include "gen4/ZyGen4Types.h"

class TZyGen4Channel;
class TZyGen4ChannelA;
class TZyGen4ChannelB;
class TZyGen4FileReader;
class TZyGen4FileWriter;

// Modulation by a signal at the instrument's external inputs: the engine
// sends the carrier value of the modulated parameter and starts the mode.
class TZyGen4ExtModulation {
  public:
    explicit TZyGen4ExtModulation(TZyGen4Channel* channel) : channel_(channel) {}
    virtual ~TZyGen4ExtModulation() = default;
    TZyGen4ExtModulation(const TZyGen4ExtModulation&) = delete;
    TZyGen4ExtModulation& operator=(const TZyGen4ExtModulation&) = delete;

    // --- Published properties -------------------------------------------
    TZyGen4AFPModes Type() const { return Type_; }
    void SetType(TZyGen4AFPModes v);
    // Depth code, sent as its low byte.
    int Scale() const { return Scale_; }
    void SetScale(int v);

    TZyGen4Channel* Channel() const { return channel_; }
    // The selector byte of Type.
    int GetTypeAsInt() const { return ModSel(Type_); }

    // --- Mode algorithms ------------------------------------------------------
    // GC_SetCarrier with the channel's carrier value of the parameter; with
    // Start, then StartSingleModulation(ModeA12).
    void SetModeFreqMod(bool Start, bool ModeA12);
    void SetModeAmplMod(bool Start, bool ModeA12);
    void SetModePhaseMod(bool Start, bool ModeA12);
    // GC_ExtModStart, or GC_ExtModA12 when ModeA12.
    void StartSingleModulation(bool ModeA12);
    // One GC_ExtModDouble frame for both channels.
    static void StartDoubleModulation(TZyGen4ChannelA* chA, TZyGen4ChannelB* chB);
    // One GC_ExtModDuplex frame with channel A's settings.
    static void StartDuplexModulation(TZyGen4ChannelA* chA);

    // --- Settings file ----------------------------------------------------------
    // This class's record at the stream's position; fields are read as stored.
    TZyGen4FileWriter& WriteDataToFile(TZyGen4FileWriter& out) const;
    TZyGen4FileReader& ReadDataFromFile(TZyGen4FileReader& in);

  private:
    TZyGen4Channel* channel_;
    TZyGen4AFPModes Type_ = ZGAFPms_freq;
    int Scale_ = 0;
};
