#include "sim/FrameDecoder.h"

#include <cstdio>

#include "platform/HexBytes.h"

namespace {

using TChannel = TInstrumentState::TChannel;

// Commands as the instrument knows them, independent of any sender's names.
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

struct TDecoded {
    TCommand command = cmUnknown;
    int ch = 0;    // 0 = A, 1 = B
    int slot = 0;  // slot word frames: which slot
};

// Channel B's codes are channel A's shifted by a per-group offset; the
// instrument-wide commands have one code only.
TDecoded Lookup(uint8_t code) {
    switch (code) {
        case 0x00:
            return {cmControlWord, 0};
        case 0x10:
            return {cmControlWord, 1};
        case 0x02:
            return {cmSetAmpl, 0};
        case 0x12:
            return {cmSetAmpl, 1};
        case 0x04:
            return {cmSetFreq, 0};
        case 0x14:
            return {cmSetFreq, 1};
        case 0x05:
            return {cmSetPhase, 0};
        case 0x15:
            return {cmSetPhase, 1};
        case 0x06:
            return {cmSetFreq2, 0};
        case 0x16:
            return {cmSetFreq2, 1};
        case 0x07:
        case 0x08:
        case 0x09:
        case 0x0A:
            return {cmSlotWord, 0, code - 0x07};
        case 0x17:
        case 0x18:
        case 0x19:
        case 0x1A:
            return {cmSlotWord, 1, code - 0x17};
        case 0x20:
            return {cmLoadModTable, 0};
        case 0x21:
            return {cmLoadModTable, 1};
        case 0x29:
            return {cmSetCarrier, 0};
        case 0x2A:
            return {cmSetCarrier, 1};
        case 0x30:
            return {cmLoadKeyTable, 0};
        case 0x31:
            return {cmLoadKeyTable, 1};
        case 0x40:
            return {cmSelectKeySlot, 0};
        case 0x50:
            return {cmSelectKeySlot, 1};
        case 0x7F:
            return {cmUpdateDDSs1};
        case 0x80:
            return {cmUpdateDDSs0};
        case 0x81:
            return {cmTuneFreq, 0};
        case 0xE1:
            return {cmTuneFreq, 1};
        case 0x82:
            return {cmTuneAmpl, 0};
        case 0xE2:
            return {cmTuneAmpl, 1};
        case 0x84:
            return {cmTunePhase, 0};
        case 0xE4:
            return {cmTunePhase, 1};
        case 0x83:
            return {cmLFMStart};
        case 0x85:
            return {cmLFMTimeInc};
        case 0x86:
            return {cmLFMTimeDec};
        case 0x87:
            return {cmIntModStart, 0};
        case 0x89:
            return {cmIntModStart, 1};
        case 0x88:
            return {cmIntModStop, 0};
        case 0x8A:
            return {cmIntModStop, 1};
        case 0x97:
            return {cmIntModArm, 0};
        case 0x99:
            return {cmIntModArm, 1};
        case 0x9A:
            return {cmIntModDoubleStart};
        case 0x9B:
            return {cmIntModDoubleStop};
        case 0xB0:
            return {cmIntModDuplex};
        case 0x8B:
            return {cmExtModStart, 0};
        case 0x8D:
            return {cmExtModStart, 1};
        case 0x8F:
            return {cmExtModDouble};
        case 0x91:
            return {cmExtModA12};
        case 0xB2:
            return {cmExtModDuplex};
        case 0xE5:
            return {cmExtFreqScale};
        case 0xE6:
            return {cmKeyExtTimes};
        case 0xF0:
            return {cmReset};
        case 0xF1:
            return {cmOutputOn, 0};
        case 0xF9:
            return {cmOutputOn, 1};
        case 0xF2:
            return {cmOutputOff, 0};
        case 0xFA:
            return {cmOutputOff, 1};
        case 0xFD:
            return {cmReadADC};
        default:
            return {};
    }
}

uint32_t Word16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 8 | p[1];
}
uint32_t Word24(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 16 | Word16(p + 1);
}
uint32_t Word32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | Word24(p + 1);
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

const char* ChannelName(int ch) {
    return ch == 0 ? "A" : "B";
}

}  // namespace

void TFrameDecoder::Feed(const uint8_t* data, std::size_t count) {
    if (!data || count == 0) return;
    splitter_.Feed(
        data, count, [this](const uint8_t* f, std::size_t n) { Frame(f, n); },
        [this](const uint8_t* d, std::size_t n) { Block(d, n); });
}

void TFrameDecoder::DropPartial() {
    frameText_ = "receiver";
    if (splitter_.PendingFrameBytes() > 0)
        Error("incomplete frame of " + std::to_string(splitter_.PendingFrameBytes()) +
              " bytes dropped");
    if (splitter_.PendingBlockBytes() > 0)
        Error("data block " + std::to_string(splitter_.PendingBlockBytes()) +
              " bytes short, the rest dropped");
    splitter_.DropPartial();
    blockKind_ = bkNone;
}

void TFrameDecoder::Error(const std::string& what) {
    ++errorCount_;
    if (errors_.size() < kMaxKeptErrors) errors_.push_back(frameText_ + ": " + what);
}

bool TFrameDecoder::RequireZero(const uint8_t* f, int from) {
    for (int i = from; i <= 5; ++i) {
        if (f[i] != 0) {
            Error("byte " + std::to_string(i) + " should be 0");
            return false;
        }
    }
    return true;
}

bool TFrameDecoder::CheckParam(uint8_t selector, const char* what) {
    if (selector >= 1 && selector <= 3) return true;
    Error(std::string("unknown parameter selector ") + std::to_string(selector) + " in " + what);
    return false;
}

void TFrameDecoder::Frame(const uint8_t* f, std::size_t length) {
    ++frames_;
    frameText_ = "frame " + std::to_string(frames_) + " (" + ToHex(f, length) + ")";
    blockKind_ = bkNone;
    const TDecoded d = Lookup(f[0]);
    if (d.command == cmReadADC) {
        if (OnReadADC) OnReadADC();
        return;
    }
    if (length != TWireSplitter::kFrameBytes) return;  // cannot happen: only the ADC read is short
    TChannel& c = state_.ch[static_cast<std::size_t>(d.ch)];
    TChannel& a = state_.ch[0];
    TChannel& b = state_.ch[1];
    switch (d.command) {
        case cmControlWord:
            RequireZero(f, 5);
            ControlWord(c, d.ch, f);
            break;
        case cmSetAmpl:
            RequireZero(f, 3);
            c.amplCode = static_cast<uint16_t>(Word16(f + 1));
            if (c.amplCode > 0x3FFF)
                Error("amplitude code " + Hex(c.amplCode, 4) + " exceeds 14 bits");
            break;
        case cmSetFreq:
            RequireZero(f, 5);
            c.freqCode = Word32(f + 1);
            break;
        case cmSetPhase:
            RequireZero(f, 3);
            c.phaseCode = static_cast<uint16_t>(Word16(f + 1));
            if (c.phaseCode > 0x4000)
                Error("phase code " + Hex(c.phaseCode, 4) + " exceeds 0x4000");
            break;
        case cmSetFreq2:
            RequireZero(f, 5);
            c.freq2Code = Word32(f + 1);
            break;
        case cmSlotWord: {
            auto& word = c.slotWords[static_cast<std::size_t>(d.slot)];
            for (std::size_t i = 0; i < word.size(); ++i) word[i] = f[i + 1];
            c.slotWordSet[static_cast<std::size_t>(d.slot)] = true;
            break;
        }
        case cmLoadModTable:
            TableUpload(d.ch, f);
            break;
        case cmSetCarrier:
            RequireZero(f, 5);
            c.carrierWord = Word32(f + 1);
            c.carrierSet = true;
            break;
        case cmLoadKeyTable:
            DdsUpload(d.ch, f);
            break;
        case cmSelectKeySlot:
            RequireZero(f, 3);
            if (f[1] > 1 || f[2] > 1)
                Error("slot bits must be 0 or 1");
            else
                c.selectedSlot = f[1] * 2 + f[2];
            break;
        case cmUpdateDDSs1:
        case cmUpdateDDSs0:
            RequireZero(f, 1);
            break;
        case cmTuneFreq:
            Tune(c, TInstrumentState::prFreq, f);
            break;
        case cmTuneAmpl:
            Tune(c, TInstrumentState::prAmpl, f);
            break;
        case cmTunePhase:
            Tune(c, TInstrumentState::prPhase, f);
            break;
        case cmLFMTimeInc:
        case cmLFMTimeDec:
        case cmLFMStart: {
            RequireZero(f, d.command == cmLFMStart ? 1 : 4);
            bool any = false;
            for (TChannel& s : state_.ch) {
                if (s.run != TInstrumentState::rnSweep) continue;
                any = true;
                if (d.command == cmLFMTimeInc) {
                    s.sweepHalfRise = Word24(f + 1);
                    s.sweepTimed = true;
                } else if (d.command == cmLFMTimeDec) {
                    s.sweepHalfFall = Word24(f + 1);
                    s.sweepTimed = true;
                } else {
                    s.sweepStarted = true;
                }
            }
            if (!any) Error("no channel has a sweep loaded");
            break;
        }
        case cmIntModStart:
            IntModStart(c, f, TInstrumentState::imSingle);
            break;
        case cmIntModArm:
            IntModStart(c, f, TInstrumentState::imArmed);
            break;
        case cmIntModDuplex:
            IntModStart(a, f, TInstrumentState::imDuplex);
            // Channel B plays channel A's table with A's settings.
            b.run = a.run;
            b.param = a.param;
            b.timerLoad = a.timerLoad;
            b.intMod = TInstrumentState::imDuplex;
            break;
        case cmIntModStop:
            RequireZero(f, 1);
            if (c.run != TInstrumentState::rnIntMod)
                Error(std::string("channel ") + ChannelName(d.ch) + " runs no table modulation");
            else
                c.intMod = TInstrumentState::imStopped;
            break;
        case cmIntModDoubleStart:
        case cmIntModDoubleStop: {
            RequireZero(f, 1);
            const bool start = d.command == cmIntModDoubleStart;
            const auto from = start ? TInstrumentState::imArmed : TInstrumentState::imDouble;
            bool any = false;
            for (TChannel& s : state_.ch) {
                if (s.run != TInstrumentState::rnIntMod || s.intMod != from) continue;
                s.intMod = start ? TInstrumentState::imDouble : TInstrumentState::imStopped;
                any = true;
            }
            if (!any) Error(start ? "no channel is armed" : "no double modulation runs");
            // Both tables share the one table memory: they must not overlap.
            if (start && a.intMod == TInstrumentState::imDouble &&
                b.intMod == TInstrumentState::imDouble && a.run == TInstrumentState::rnIntMod &&
                b.run == TInstrumentState::rnIntMod && a.tableStart < b.tableStart + b.tableBytes &&
                b.tableStart < a.tableStart + a.tableBytes)
                Error("the tables of channels A and B overlap");
            break;
        }
        case cmExtModStart:
            RequireZero(f, 3);
            ExtModStart(c, TInstrumentState::rnExtMod, f[1], f[2]);
            break;
        case cmExtModDouble:
            RequireZero(f, 5);
            ExtModStart(a, TInstrumentState::rnExtMod, f[1], f[2]);
            ExtModStart(b, TInstrumentState::rnExtMod, f[3], f[4]);
            break;
        case cmExtModA12:
            // One code for both channels; the sum of inputs 1 and 2 drives channel A.
            RequireZero(f, 4);
            ExtModStart(a, TInstrumentState::rnExtModA12, f[1], f[3]);
            a.otherScale = f[2];
            break;
        case cmExtModDuplex:
            RequireZero(f, 3);
            ExtModStart(a, TInstrumentState::rnExtModAB1, f[1], f[2]);
            b.run = a.run;
            b.param = a.param;
            b.scale = a.scale;
            break;
        case cmExtFreqScale:
            RequireZero(f, 2);
            state_.externalClock = true;
            state_.multiplier = f[1];
            break;
        case cmKeyExtTimes: {
            RequireZero(f, 1);
            bool any = false;
            // Channels that wait for it: keying without slot cycling, whose first
            // slot is a keying slot (no table playback mode in its last byte).
            for (TChannel& s : state_.ch) {
                if (s.run != TInstrumentState::rnKeying || (s.controlWord >> 24 & 0x30) != 0 ||
                    s.slotWords[0][4] != 0)
                    continue;
                s.keyExtTimes = true;
                any = true;
            }
            if (!any) Error("no channel waits for external keying times");
            break;
        }
        case cmReset:
            RequireZero(f, 1);
            state_.Reset();
            break;
        case cmOutputOn:
        case cmOutputOff:
            RequireZero(f, 1);
            c.output = d.command == cmOutputOn;
            break;
        case cmUnknown:
        default:
            Error("unknown command code " + Hex(f[0], 2));
            break;
    }
}

void TFrameDecoder::ControlWord(TChannel& c, int ch, const uint8_t* f) {
    c.controlWord = Word32(f + 1);
    c.controlWordSet = true;
    const uint8_t own = ch == 0 ? 0x40 : 0x42;
    const bool tail = f[2] == 0x80 && f[3] == 0x02 && f[4] == own;
    if (f[1] == 0x06 && f[2] == 0xA0 && f[3] == 0x02 && f[4] == own) {
        c.run = TInstrumentState::rnSweep;
        c.param = TInstrumentState::prFreq;
        c.sweepHalfRise = c.sweepHalfFall = 0;
        c.sweepTimed = c.sweepStarted = false;
    } else if (tail && (f[1] & 0x8F) == 0x86 && (f[1] & 0x30) != 0x10) {
        c.run = TInstrumentState::rnKeying;
        c.param = (f[1] & 0x40) ? TInstrumentState::prPhase : TInstrumentState::prFreq;
        c.keyExtTimes = false;
    } else {
        Error(std::string("control word ") + Hex(c.controlWord, 8) + " not known for channel " +
              ChannelName(ch));
    }
}

void TFrameDecoder::TableUpload(int ch, const uint8_t* f) {
    TChannel& c = state_.ch[static_cast<std::size_t>(ch)];
    uint32_t start = 0;
    uint32_t end = 0;
    if (ch == 0) {
        RequireZero(f, 3);
        end = Word16(f + 1);
    } else {
        RequireZero(f, 5);
        start = Word16(f + 1);
        end = Word16(f + 3);
        if (end < start) Error("table ends at " + Hex(end, 4) + ", before its start");
    }
    const uint32_t count = TWireSplitter::AnnouncedBlock(f, TWireSplitter::kFrameBytes);
    if (count > 0 && start + count > TInstrumentState::kTableBytes)
        Error("table of " + std::to_string(count) + " bytes at " + Hex(start, 4) +
              " runs past the 8192-byte memory");
    c.tableStart = start;
    c.tableBytes = count;
    blockKind_ = bkTable;
    blockCh_ = ch;
    blockAddress_ = start;
    blockLimit_ = TInstrumentState::kTableBytes;
}

void TFrameDecoder::DdsUpload(int ch, const uint8_t* f) {
    TChannel& c = state_.ch[static_cast<std::size_t>(ch)];
    RequireZero(f, 3);
    const auto slot = static_cast<std::size_t>(c.selectedSlot);
    const uint32_t first = c.slotWordSet[slot] ? TChannel::SlotFirst(c.slotWords[slot])
                                               : static_cast<uint32_t>(2 * slot);
    const uint32_t count = Word16(f + 1);
    if (count % 4 != 0) Error(std::to_string(count) + " bytes are not whole 32-bit words");
    if (first * 4 + count > TInstrumentState::kDdsWords * 4)
        Error(std::to_string(count) + " bytes from word " + std::to_string(first) +
              " run past the 1024-word memory");
    c.ddsStart = first;
    c.ddsBytes = count;
    blockKind_ = bkDds;
    blockCh_ = ch;
    blockAddress_ = first * 4;
    blockLimit_ = TInstrumentState::kDdsWords * 4;
}

void TFrameDecoder::Block(const uint8_t* data, std::size_t count) {
    TChannel& c = state_.ch[static_cast<std::size_t>(blockCh_)];
    for (std::size_t i = 0; i < count; ++i, ++blockAddress_) {
        if (blockAddress_ >= blockLimit_) continue;  // reported with the announcing frame
        if (blockKind_ == bkTable) {
            c.tableMemory[blockAddress_] = data[i];
        } else if (blockKind_ == bkDds) {
            uint32_t& word = c.ddsMemory[blockAddress_ / 4];
            const unsigned shift = 24 - 8 * (blockAddress_ % 4);  // most significant byte first
            word = (word & ~(0xFFu << shift)) | static_cast<uint32_t>(data[i]) << shift;
        }
    }
}

void TFrameDecoder::IntModStart(TChannel& c, const uint8_t* f,
                                TInstrumentState::TIntModVariant variant) {
    RequireZero(f, 5);
    if (f[3] != 0x08) Error("byte 3 should be 0x08");
    c.run = TInstrumentState::rnIntMod;
    c.param = CheckParam(f[4], "table modulation") ? static_cast<TInstrumentState::TParam>(f[4])
                                                   : TInstrumentState::prNone;
    c.timerLoad = static_cast<uint16_t>(Word16(f + 1));
    c.intMod = variant;
    const bool shared = variant == TInstrumentState::imArmed;
    const uint32_t limit = shared ? 0xFF00 : 0xFF80;
    if (c.timerLoad > limit)
        Error("timer load " + Hex(c.timerLoad, 4) + " leaves fewer than " +
              std::to_string(65536 - limit) + " ticks per reading");
    if (c.tableBytes == 0) Error("table modulation started without a table");
}

void TFrameDecoder::ExtModStart(TChannel& c, TInstrumentState::TRun run, uint8_t scale,
                                uint8_t selector) {
    c.run = run;
    c.param = CheckParam(selector, "external modulation")
                  ? static_cast<TInstrumentState::TParam>(selector)
                  : TInstrumentState::prNone;
    c.scale = scale;
    CheckCarrierWidth(c);
}

void TFrameDecoder::Tune(TChannel& c, TInstrumentState::TParam param, const uint8_t* f) {
    RequireZero(f, 2);
    c.run = TInstrumentState::rnTuning;
    c.param = param;
    c.scale = f[1];
    CheckCarrierWidth(c);
}

void TFrameDecoder::CheckCarrierWidth(const TChannel& c) {
    if (!c.carrierSet) {
        Error("started without a carrier");
        return;
    }
    if (c.param == TInstrumentState::prFreq || c.param == TInstrumentState::prNone) return;
    if ((c.carrierWord & 0xFFFF) != 0) Error("16-bit carrier has bytes 3 and 4 set");
    if (c.param == TInstrumentState::prAmpl && c.CarrierCode() > 0x3FFF)
        Error("amplitude carrier " + Hex(c.CarrierCode(), 4) + " exceeds 14 bits");
}
