#pragma once

#include <array>
#include <cstdint>

// The generator settings file: a flat little-endian sequence of fields with no
// padding. Integers and enumerations are 32-bit two's complement, doubles IEEE
// 754 binary64, a bool one byte (0 false, 1 true).
//
//   offset size  field
//        0    4  magic "ZyG4"
//        4    4  version, 1
//        8    1  UseExtRefFreq                    bool
//        9    4  FreqScale                        int
//       13    8  RefFreq                          double
//       21  247  channel A record
//      268  247  channel B record
//      515    1  Options.EnableDuplexIntMod       bool
//      516    1  Options.OverModulationNotify     bool
//
// Channel record, offsets from its start:
//        0    4  Mode                             TZyGen4ModesCommon
//        4    8  Frequency, 12 Amplitude, 20 Phase   doubles
//       28    4  Tuner.Type                       TZyGen4AFPModes
//       32    4  Tuner.Scale                      int
//       36    1  Tuner.ADCTimerEnabled            bool
//       37    4  Tuner.ADCTimerInterval           int
//       41    4  IntModulation.Type               TZyGen4AFPModes
//       45   16  IntModulation.Fm, dA, dF, dPh    ints
//       61    4  IntModulation.MathFuncType       TMathFuncsTypes
//       65    8  IntModulation.CC                 double
//       73    4  ExtModulation.Type               TZyGen4AFPModes
//       77    4  ExtModulation.Scale              int
//       81   20  LFM.FreqTop, Tinc0, Tinc1, Tdec0, Tdec1   ints
//      101  120  DDSMod.F1..F4, dF, Fm, Ph1..Ph4, dPh, T1..T4   doubles
//      221    4  DDSMod.Mode                      TZyGen4DDSmodModes
//      225    4  DDSMod.Type                      TZyGen4AFPModes
//      229    1  DDSMod.UseExtTimes               bool
//      230    1  DDSMod.ContBidiRamp              bool
//      231    4  DDSMod.ReadingsCntMin            int
//      235    8  DDSMod.CC                        double
//      243    4  DDSMod.MathFuncType              TMathFuncsTypes
//
// Each class writes and reads its own record in this order
// (WriteDataToFile / ReadDataFromFile); the sizes below tie them together.
namespace ZyGen4File {

inline constexpr uint8_t kMagic[4] = {'Z', 'y', 'G', '4'};
inline constexpr int32_t kVersion = 1;

inline constexpr int kIntSize = 4;
inline constexpr int kEnumSize = 4;
inline constexpr int kDoubleSize = 8;
inline constexpr int kBoolSize = 1;

inline constexpr int kHeaderSize = 4 + kIntSize;
inline constexpr int kGeneratorOwnSize = kBoolSize + kIntSize + kDoubleSize;
inline constexpr int kChannelOwnSize = kEnumSize + 3 * kDoubleSize;
inline constexpr int kTunerSize = kEnumSize + kIntSize + kBoolSize + kIntSize;
inline constexpr int kIntModulationSize = kEnumSize + 4 * kIntSize + kEnumSize + kDoubleSize;
inline constexpr int kExtModulationSize = kEnumSize + kIntSize;
inline constexpr int kLFMSize = 5 * kIntSize;
inline constexpr int kDDSModSize =
    15 * kDoubleSize + 2 * kEnumSize + 2 * kBoolSize + kIntSize + kDoubleSize + kEnumSize;
inline constexpr int kChannelSize =
    kChannelOwnSize + kTunerSize + kIntModulationSize + kExtModulationSize + kLFMSize + kDDSModSize;
inline constexpr int kOptionsSize = 2 * kBoolSize;
inline constexpr int kFileSize = kHeaderSize + kGeneratorOwnSize + 2 * kChannelSize + kOptionsSize;

static_assert(kChannelSize == 247, "channel record");
static_assert(kFileSize == 517, "settings file");

inline constexpr int kRefFreqOffset = kHeaderSize + kBoolSize + kIntSize;
inline constexpr int kChannelAOffset = kHeaderSize + kGeneratorOwnSize;
inline constexpr int kChannelBOffset = kChannelAOffset + kChannelSize;

// Where the doubles of a channel record lie: the carrier, IntModulation.CC,
// DDSMod's fifteen values and DDSMod.CC.
inline constexpr int kChannelDoubleOffsets[] = {4,   12,  20,  65,  101, 109, 117, 125, 133, 141,
                                                149, 157, 165, 173, 181, 189, 197, 205, 213, 235};
static_assert(kChannelDoubleOffsets[3] ==
              kChannelOwnSize + kTunerSize + kIntModulationSize - kDoubleSize);
static_assert(kChannelDoubleOffsets[4] ==
              kChannelOwnSize + kTunerSize + kIntModulationSize + kExtModulationSize + kLFMSize);
static_assert(kChannelDoubleOffsets[19] == kChannelSize - kEnumSize - kDoubleSize);

// Every double of the file, by offset from its start.
inline constexpr std::array<int, 41> kDoubleOffsets = [] {
    std::array<int, 41> all{kRefFreqOffset};
    int i = 1;
    for (int channel : {kChannelAOffset, kChannelBOffset})
        for (int offset : kChannelDoubleOffsets) all[i++] = channel + offset;
    return all;
}();

}  // namespace ZyGen4File
