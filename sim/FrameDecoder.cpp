#include "sim/FrameDecoder.h"

#include <cstdio>

#include "platform/HexBytes.h"
#include "sim/CommandTable.h"
#include "sim/FrameWords.h"

namespace {

using TChannel = TInstrumentState::TChannel;

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
    const TCommandEntry& e = LookupCommand(f[0]);
    if (e.command == cmReadADC) {
        if (OnReadADC) OnReadADC();
        return;
    }
    if (length != TWireSplitter::kFrameBytes) return;  // cannot happen: only the ADC read is short
    switch (e.family) {
        case cfInstrument:
            InstrumentFrame(e, f);
            break;
        case cfCarrier:
            CarrierFrame(e, f);
            break;
        case cfTables:
            TablesFrame(e, f);
            break;
        case cfSweep:
            SweepFrame(e, f);
            break;
        case cfIntMod:
            IntModFrame(e, f);
            break;
        case cfExtMod:
            ExtModFrame(e, f);
            break;
        case cfKeying:
            KeyingFrame(e, f);
            break;
        case cfUnknown:
        default:
            Error("unknown command code " + Hex(f[0], 2));
            break;
    }
}

void TFrameDecoder::InstrumentFrame(const TCommandEntry& e, const uint8_t* f) {
    switch (e.command) {
        case cmExtFreqScale:
            RequireZero(f, 2);
            state_.externalClock = true;
            state_.multiplier = f[1];
            break;
        case cmReset:
            RequireZero(f, 1);
            state_.Reset();
            break;
        case cmUpdateDDSs1:
        case cmUpdateDDSs0:
        default:
            RequireZero(f, 1);
            break;
    }
}

void TFrameDecoder::CarrierFrame(const TCommandEntry& e, const uint8_t* f) {
    TChannel& c = state_.ch[static_cast<std::size_t>(e.ch)];
    switch (e.command) {
        case cmSetAmpl:
            RequireZero(f, 3);
            c.amplCode = static_cast<uint16_t>(FrameWord16(f + 1));
            if (c.amplCode > 0x3FFF)
                Error("amplitude code " + Hex(c.amplCode, 4) + " exceeds 14 bits");
            break;
        case cmSetFreq:
            RequireZero(f, 5);
            c.freqCode = FrameWord32(f + 1);
            break;
        case cmSetPhase:
            RequireZero(f, 3);
            c.phaseCode = static_cast<uint16_t>(FrameWord16(f + 1));
            if (c.phaseCode > 0x4000)
                Error("phase code " + Hex(c.phaseCode, 4) + " exceeds 0x4000");
            break;
        case cmSetCarrier:
            RequireZero(f, 5);
            c.carrierWord = FrameWord32(f + 1);
            c.carrierSet = true;
            break;
        case cmOutputOn:
        case cmOutputOff:
        default:
            RequireZero(f, 1);
            c.output = e.command == cmOutputOn;
            break;
    }
}

void TFrameDecoder::TablesFrame(const TCommandEntry& e, const uint8_t* f) {
    TChannel& c = state_.ch[static_cast<std::size_t>(e.ch)];
    switch (e.command) {
        case cmSlotWord: {
            auto& word = c.slotWords[static_cast<std::size_t>(e.slot)];
            for (std::size_t i = 0; i < word.size(); ++i) word[i] = f[i + 1];
            c.slotWordSet[static_cast<std::size_t>(e.slot)] = true;
            break;
        }
        case cmLoadModTable:
            TableUpload(e.ch, f);
            break;
        case cmLoadKeyTable:
            DdsUpload(e.ch, f);
            break;
        case cmSelectKeySlot:
        default:
            RequireZero(f, 3);
            if (f[1] > 1 || f[2] > 1)
                Error("slot bits must be 0 or 1");
            else
                c.selectedSlot = f[1] * 2 + f[2];
            break;
    }
}

void TFrameDecoder::SweepFrame(const TCommandEntry& e, const uint8_t* f) {
    if (e.command == cmSetFreq2) {
        RequireZero(f, 5);
        state_.ch[static_cast<std::size_t>(e.ch)].freq2Code = FrameWord32(f + 1);
        return;
    }
    // Timing and start act on every channel whose control word selects the sweep.
    RequireZero(f, e.command == cmLFMStart ? 1 : 4);
    bool any = false;
    for (TChannel& s : state_.ch) {
        if (s.run != TInstrumentState::rnSweep) continue;
        any = true;
        if (e.command == cmLFMTimeInc) {
            s.sweepHalfRise = FrameWord24(f + 1);
            s.sweepTimed = true;
        } else if (e.command == cmLFMTimeDec) {
            s.sweepHalfFall = FrameWord24(f + 1);
            s.sweepTimed = true;
        } else {
            s.sweepStarted = true;
        }
    }
    if (!any) Error("no channel has a sweep loaded");
}

void TFrameDecoder::IntModFrame(const TCommandEntry& e, const uint8_t* f) {
    TChannel& c = state_.ch[static_cast<std::size_t>(e.ch)];
    TChannel& a = state_.ch[0];
    TChannel& b = state_.ch[1];
    switch (e.command) {
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
                Error(std::string("channel ") + ChannelName(e.ch) + " runs no table modulation");
            else
                c.intMod = TInstrumentState::imStopped;
            break;
        case cmIntModDoubleStart:
        case cmIntModDoubleStop:
        default:
            RequireZero(f, 1);
            DoubleIntMod(e.command == cmIntModDoubleStart);
            break;
    }
}

void TFrameDecoder::DoubleIntMod(bool start) {
    TChannel& a = state_.ch[0];
    TChannel& b = state_.ch[1];
    const auto from = start ? TInstrumentState::imArmed : TInstrumentState::imDouble;
    bool any = false;
    for (TChannel& s : state_.ch) {
        if (s.run != TInstrumentState::rnIntMod || s.intMod != from) continue;
        s.intMod = start ? TInstrumentState::imDouble : TInstrumentState::imStopped;
        any = true;
    }
    if (!any) Error(start ? "no channel is armed" : "no double modulation runs");
    // Both tables share the one table memory: they must not overlap.
    if (start && a.intMod == TInstrumentState::imDouble && b.intMod == TInstrumentState::imDouble &&
        a.run == TInstrumentState::rnIntMod && b.run == TInstrumentState::rnIntMod &&
        a.tableStart < b.tableStart + b.tableBytes && b.tableStart < a.tableStart + a.tableBytes)
        Error("the tables of channels A and B overlap");
}

void TFrameDecoder::ExtModFrame(const TCommandEntry& e, const uint8_t* f) {
    TChannel& c = state_.ch[static_cast<std::size_t>(e.ch)];
    TChannel& a = state_.ch[0];
    TChannel& b = state_.ch[1];
    switch (e.command) {
        case cmTuneFreq:
            Tune(c, TInstrumentState::prFreq, f);
            break;
        case cmTuneAmpl:
            Tune(c, TInstrumentState::prAmpl, f);
            break;
        case cmTunePhase:
            Tune(c, TInstrumentState::prPhase, f);
            break;
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
        default:
            RequireZero(f, 3);
            ExtModStart(a, TInstrumentState::rnExtModAB1, f[1], f[2]);
            b.run = a.run;
            b.param = a.param;
            b.scale = a.scale;
            break;
    }
}

void TFrameDecoder::KeyingFrame(const TCommandEntry& e, const uint8_t* f) {
    if (e.command == cmControlWord) {
        RequireZero(f, 5);
        ControlWord(state_.ch[static_cast<std::size_t>(e.ch)], e.ch, f);
        return;
    }
    RequireZero(f, 1);
    bool any = false;
    // Channels that wait for the external keying times: keying without slot
    // cycling, whose first slot is a keying slot (no table playback mode in its
    // last byte).
    for (TChannel& s : state_.ch) {
        if (s.run != TInstrumentState::rnKeying || (s.controlWord >> 24 & 0x30) != 0 ||
            s.slotWords[0][4] != 0)
            continue;
        s.keyExtTimes = true;
        any = true;
    }
    if (!any) Error("no channel waits for external keying times");
}

void TFrameDecoder::ControlWord(TChannel& c, int ch, const uint8_t* f) {
    c.controlWord = FrameWord32(f + 1);
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
        end = FrameWord16(f + 1);
    } else {
        RequireZero(f, 5);
        start = FrameWord16(f + 1);
        end = FrameWord16(f + 3);
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
    const uint32_t count = FrameWord16(f + 1);
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
    c.timerLoad = static_cast<uint16_t>(FrameWord16(f + 1));
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
