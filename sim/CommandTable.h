#pragma once

#include <cstdint>

// The instrument's command codes as the instrument knows them, independent of
// any sender's names. Channel B's codes are channel A's shifted by a per-group
// offset; the instrument-wide commands have one code only.
enum TCommand : int32_t {
    cmUnknown,
    cmControlWord,
    cmSetAmpl,
    cmSetFreq,
    cmSetPhase,
    cmSetFreq2,
    cmSlotWord,
    cmLoadModTable,
    cmSetCarrier,
    cmLoadKeyTable,
    cmSelectKeySlot,
    cmUpdateDDSs1,
    cmUpdateDDSs0,
    cmTuneFreq,
    cmTuneAmpl,
    cmTunePhase,
    cmLFMStart,
    cmLFMTimeInc,
    cmLFMTimeDec,
    cmIntModStart,
    cmIntModStop,
    cmIntModArm,
    cmIntModDoubleStart,
    cmIntModDoubleStop,
    cmIntModDuplex,
    cmExtModStart,
    cmExtModDouble,
    cmExtModA12,
    cmExtModDuplex,
    cmExtFreqScale,
    cmKeyExtTimes,
    cmReset,
    cmOutputOn,
    cmOutputOff,
    cmReadADC,
};

// The part of the instrument a command works on; the decoder has one handler
// per family.
enum TCommandFamily : int32_t {
    cfUnknown,
    cfInstrument,  // reset, clock, DDS update strobes, ADC read
    cfCarrier,     // output, frequency, level, phase, modulation centre
    cfTables,      // table and DDS memory uploads, slot words
    cfSweep,       // sweep top, timing and start
    cfIntMod,      // modulation from the table memory
    cfExtMod,      // modulation and tuning from the analogue inputs
    cfKeying,      // control word and external keying times
};

struct TCommandEntry {
    uint8_t code = 0;
    TCommand command = cmUnknown;
    TCommandFamily family = cfUnknown;
    int ch = 0;    // 0 = A, 1 = B; instrument-wide commands say 0
    int slot = 0;  // slot word frames: which slot
};

// The entry of a frame's first byte; an unknown code gives cmUnknown.
const TCommandEntry& LookupCommand(uint8_t code);
