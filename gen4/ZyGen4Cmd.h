#pragma once

#include <cstdint>

#include "gen4/ZyGen4Types.h"

// Command codes as channel A uses them. A frame built for channel B carries
// the translated code (see TZyGen4Cmd::TranslateForB).
enum TZyGen4Commands : int32_t {
    GC_ControlWord = 0x00,
    GC_SetAmpl = 0x02,
    GC_SetFreq = 0x04,
    GC_SetPhase = 0x05,
    GC_SetFreq2 = 0x06,
    GC_Aux7 = 0x07,
    GC_Aux8 = 0x08,
    GC_Aux9 = 0x09,
    GC_AuxA = 0x0A,
    GC_LoadModTable = 0x20,
    GC_SetCarrier = 0x29,
    GC_LoadKeyTable = 0x30,
    GC_SelectKeySlot = 0x40,
    GC_UpdateDDSs1 = 0x7F,
    GC_UpdateDDSs0 = 0x80,
    GC_TuneFreq = 0x81,
    GC_TuneAmpl = 0x82,
    GC_LFMStart = 0x83,
    GC_TunePhase = 0x84,
    GC_LFMTimeInc = 0x85,
    GC_LFMTimeDec = 0x86,
    GC_IntModStart = 0x87,
    GC_IntModStop = 0x88,
    GC_ExtModStart = 0x8B,
    GC_ExtModDouble = 0x8F,
    GC_ExtModA12 = 0x91,
    GC_IntModArm = 0x97,
    GC_IntModDoubleStart = 0x9A,
    GC_IntModDoubleStop = 0x9B,
    GC_IntModDuplex = 0xB0,
    GC_ExtModDuplex = 0xB2,
    GC_ExtFreqScale = 0xE5,
    GC_KeyExtTimes = 0xE6,
    GC_Reset = 0xF0,
    GC_OutputOn = 0xF1,
    GC_OutputOff = 0xF2,
    GC_ReadADC = 0xFD,
};

// One command frame: a code byte and five argument bytes, of which Length
// bytes go on the wire (6, or 1 for GC_ReadADC). Small value type, passed by
// value; unused payload bytes stay 0.
struct TZyGen4Cmd {
    static constexpr int kFrameSize = 6;

    uint8_t Code;
    uint8_t Payload[5];
    int32_t Length;
    TZyGen4ChNames Ch;  // the channel the frame was built for; never sent

    // `code` is the channel-A code; for channel B it is translated here.
    TZyGen4Cmd(TZyGen4Commands code, TZyGen4ChNames ch, int32_t length = kFrameSize);

    // The code channel B uses for the channel-A code `code`.
    static uint8_t TranslateForB(uint8_t code);

    // Payload writers. `b` is the number of the first payload byte, 1 to 5
    // (b1 is Payload[0]); bytes that would fall past b5 are dropped.
    void PutByte(int b, uint8_t value);
    void Put16(int b, uint16_t value);    // most significant byte first
    void Put24(int b, uint32_t value);    // low 24 bits, most significant first
    void Put32(int b, uint32_t value);    // most significant byte first
    void Put16LE(int b, uint16_t value);  // least significant byte first

    // The bytes that go on the wire: Code then Payload; returns how many
    // (Length limited to 0 … 6).
    int WireImage(uint8_t (&out)[kFrameSize]) const;
};
