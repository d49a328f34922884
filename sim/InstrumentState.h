#pragma once

#include <array>
#include <cstdint>
#include <vector>

// What the virtual instrument holds after the frames it was sent: the registers
// of both channels, their memories, the mode each channel runs with its
// parameters, and the DDS clock. Values are kept as the wire carried them;
// the methods turn codes back into physical values.
class TInstrumentState {
  public:
    static constexpr std::size_t kTableBytes = 8192;  // microcontroller table memory
    static constexpr std::size_t kDdsWords = 1024;    // DDS memory, 32-bit words
    static constexpr double kInternalRefMHz = 25.0;
    static constexpr int kDefaultMultiplier = 16;

    // What a channel runs beyond its plain carrier.
    enum TRun : int32_t {
        rnNone,       // plain carrier (or nothing when the output is off)
        rnTuning,     // tuned from the analogue input
        rnIntMod,     // modulation from the table memory
        rnExtMod,     // modulation from an external input
        rnExtModA12,  // modulation from the sum of inputs 1 and 2
        rnExtModAB1,  // both channels modulated from input 1
        rnSweep,      // linear frequency sweep
        rnKeying,     // DDS keying or DDS table playback
    };
    // Parameter selector as the start frames carry it.
    enum TParam : int32_t { prNone = 0, prAmpl = 1, prPhase = 2, prFreq = 3 };
    enum TIntModVariant : int32_t { imSingle, imArmed, imDouble, imDuplex, imStopped };

    struct TChannel {
        bool output = false;
        uint32_t freqCode = 0;
        uint16_t amplCode = 0;
        uint16_t phaseCode = 0;
        uint32_t freq2Code = 0;    // sweep top
        uint32_t carrierWord = 0;  // modulation centre, bytes 1..4 as sent
        bool carrierSet = false;
        uint32_t controlWord = 0;
        bool controlWordSet = false;
        // Slot words (bytes 1..5 of the four slot frames) and the slot the next
        // DDS upload goes to.
        std::array<std::array<uint8_t, 5>, 4> slotWords{};
        std::array<bool, 4> slotWordSet{};
        int selectedSlot = 0;
        std::vector<uint8_t> tableMemory = std::vector<uint8_t>(kTableBytes);
        std::vector<uint32_t> ddsMemory = std::vector<uint32_t>(kDdsWords);
        uint32_t tableStart = 0;  // last table upload: first byte address and length
        uint32_t tableBytes = 0;
        uint32_t ddsStart = 0;  // last DDS upload: first word address and byte count
        uint32_t ddsBytes = 0;

        TRun run = rnNone;
        TParam param = prNone;   // tuned, modulated or keyed parameter
        int scale = 0;           // tuning or external modulation depth code
        int otherScale = 0;      // the other channel's scale (inputs 1 and 2 summed)
        uint16_t timerLoad = 0;  // table modulation: reading timer load value
        TIntModVariant intMod = imSingle;
        uint32_t sweepHalfRise = 0;  // sweep halves in units of 2 us
        uint32_t sweepHalfFall = 0;
        bool sweepTimed = false;
        bool sweepStarted = false;
        bool keyExtTimes = false;

        // Carrier of a tuned or modulated parameter: 32 bits for frequency,
        // the first two bytes otherwise.
        uint32_t CarrierCode() const;
        // Sweep ramp: step rate (8 bits) and step size (32 bits) of a slot word.
        static uint32_t RampRate(const std::array<uint8_t, 5>& word) { return word[0]; }
        static uint32_t RampStep(const std::array<uint8_t, 5>& word);
        // Keying slot word: hold rate (low byte first), first and last DDS address.
        static uint32_t SlotRate(const std::array<uint8_t, 5>& word);
        static uint32_t SlotFirst(const std::array<uint8_t, 5>& word) { return word[3] >> 2; }
        static uint32_t SlotLast(const std::array<uint8_t, 5>& word);
    };

    std::array<TChannel, 2> ch;
    bool externalClock = false;  // set by the multiplier command
    int multiplier = kDefaultMultiplier;
    double externalRefMHz = kInternalRefMHz;  // the signal at the reference input

    // Everything back to power-on, except what is attached from outside (the
    // external reference frequency).
    void Reset();

    double ClockMHz() const;
    double FrequencyHz(uint32_t code) const;
    static double AmplitudePercent(uint16_t code) { return (code + 1.0) * 100.0 / 16384.0; }
    static double PhaseDegrees(uint32_t code) { return code * 360.0 / 16384.0; }
    // The channel's mode in the model's own names ("ZGMdC_gen", ...).
    static const char* ModeName(const TChannel& c);
    static const char* ParamName(TParam p);
    // Half the range of tuning or external modulation, in codes of the
    // parameter: 2^(scale + 9) for frequency (scale 1 is about 92 Hz at
    // 400 MHz), 2^(scale - 7) for amplitude and phase (scale 18 is 12.5 %,
    // scale 15 about 5.5 degrees).
    static int64_t HalfRangeCodes(TParam p, int scale);
};
