#include "sim/CommandTable.h"

#include <array>

namespace {

constexpr TCommandEntry kCommands[] = {
    {0x00, cmControlWord, cfKeying, 0},   {0x10, cmControlWord, cfKeying, 1},
    {0x02, cmSetAmpl, cfCarrier, 0},      {0x12, cmSetAmpl, cfCarrier, 1},
    {0x04, cmSetFreq, cfCarrier, 0},      {0x14, cmSetFreq, cfCarrier, 1},
    {0x05, cmSetPhase, cfCarrier, 0},     {0x15, cmSetPhase, cfCarrier, 1},
    {0x06, cmSetFreq2, cfSweep, 0},       {0x16, cmSetFreq2, cfSweep, 1},
    {0x07, cmSlotWord, cfTables, 0, 0},   {0x08, cmSlotWord, cfTables, 0, 1},
    {0x09, cmSlotWord, cfTables, 0, 2},   {0x0A, cmSlotWord, cfTables, 0, 3},
    {0x17, cmSlotWord, cfTables, 1, 0},   {0x18, cmSlotWord, cfTables, 1, 1},
    {0x19, cmSlotWord, cfTables, 1, 2},   {0x1A, cmSlotWord, cfTables, 1, 3},
    {0x20, cmLoadModTable, cfTables, 0},  {0x21, cmLoadModTable, cfTables, 1},
    {0x29, cmSetCarrier, cfCarrier, 0},   {0x2A, cmSetCarrier, cfCarrier, 1},
    {0x30, cmLoadKeyTable, cfTables, 0},  {0x31, cmLoadKeyTable, cfTables, 1},
    {0x40, cmSelectKeySlot, cfTables, 0}, {0x50, cmSelectKeySlot, cfTables, 1},
    {0x7F, cmUpdateDDSs1, cfInstrument},  {0x80, cmUpdateDDSs0, cfInstrument},
    {0x81, cmTuneFreq, cfExtMod, 0},      {0xE1, cmTuneFreq, cfExtMod, 1},
    {0x82, cmTuneAmpl, cfExtMod, 0},      {0xE2, cmTuneAmpl, cfExtMod, 1},
    {0x84, cmTunePhase, cfExtMod, 0},     {0xE4, cmTunePhase, cfExtMod, 1},
    {0x83, cmLFMStart, cfSweep},          {0x85, cmLFMTimeInc, cfSweep},
    {0x86, cmLFMTimeDec, cfSweep},        {0x87, cmIntModStart, cfIntMod, 0},
    {0x89, cmIntModStart, cfIntMod, 1},   {0x88, cmIntModStop, cfIntMod, 0},
    {0x8A, cmIntModStop, cfIntMod, 1},    {0x97, cmIntModArm, cfIntMod, 0},
    {0x99, cmIntModArm, cfIntMod, 1},     {0x9A, cmIntModDoubleStart, cfIntMod},
    {0x9B, cmIntModDoubleStop, cfIntMod}, {0xB0, cmIntModDuplex, cfIntMod},
    {0x8B, cmExtModStart, cfExtMod, 0},   {0x8D, cmExtModStart, cfExtMod, 1},
    {0x8F, cmExtModDouble, cfExtMod},     {0x91, cmExtModA12, cfExtMod},
    {0xB2, cmExtModDuplex, cfExtMod},     {0xE5, cmExtFreqScale, cfInstrument},
    {0xE6, cmKeyExtTimes, cfKeying},      {0xF0, cmReset, cfInstrument},
    {0xF1, cmOutputOn, cfCarrier, 0},     {0xF9, cmOutputOn, cfCarrier, 1},
    {0xF2, cmOutputOff, cfCarrier, 0},    {0xFA, cmOutputOff, cfCarrier, 1},
    {0xFD, cmReadADC, cfInstrument},
};

// Every byte value points at its entry, or at the unknown one.
struct TCommandIndex {
    std::array<TCommandEntry, 256> byCode{};
    constexpr TCommandIndex() {
        for (std::size_t code = 0; code < byCode.size(); ++code)
            byCode[code].code = static_cast<uint8_t>(code);
        for (const TCommandEntry& e : kCommands) byCode[e.code] = e;
    }
};

constexpr TCommandIndex kIndex;

}  // namespace

const TCommandEntry& LookupCommand(uint8_t code) {
    return kIndex.byCode[code];
}
