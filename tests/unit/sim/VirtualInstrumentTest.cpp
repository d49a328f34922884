#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "sim/TraceDriver.h"
#include "sim/VirtualInstrument.h"

namespace {

using Bytes = std::vector<uint8_t>;

// "F0 00 00 00 00 00; F1 00 ..." -> one byte vector per ';'-separated group.
std::vector<Bytes> Parse(std::string text) {
    std::replace(text.begin(), text.end(), ';', '\n');
    std::vector<Bytes> out;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        Bytes frame;
        std::string token;
        while (in >> token) frame.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
        if (!frame.empty()) out.push_back(frame);
    }
    return out;
}

Bytes Join(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Plain generation on both channels at 1 MHz, 100 %, 0 degrees.
const char* kTenFrames =
    "F0 00 00 00 00 00; F1 00 00 00 00 00; 04 00 A3 D7 0A 00; 02 3F FF 00 00 00;"
    "05 00 00 00 00 00; F9 00 00 00 00 00; 14 00 A3 D7 0A 00; 12 3F FF 00 00 00;"
    "15 00 00 00 00 00; 7F 00 00 00 00 00";

struct TOpenInstrument {
    TVirtualInstrument sim;
    FT_HANDLE handle = 0;
    TOpenInstrument() { EXPECT_EQ(sim.FT_Open(0, handle), FT_OK); }
    FT_STATUS Write(const Bytes& b, uint32_t* writtenOut = nullptr) {
        uint32_t written = 0;
        const FT_STATUS s =
            sim.FT_Write(handle, b.data(), static_cast<uint32_t>(b.size()), written);
        if (writtenOut) *writtenOut = written;
        return s;
    }
    void WriteEach(const std::string& frames) {
        for (const auto& f : Parse(frames)) EXPECT_EQ(Write(f), FT_OK);
    }
    bool Has(const std::string& line) const {
        const auto lines = sim.StateLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

std::string Lines(const TVirtualInstrument& sim) {
    std::string all;
    for (const auto& l : sim.StateLines()) all += l + "\n";
    return all;
}

TEST(VirtualInstrument, PlainGenerationCycleTurnsBothOutputsOnAtOneMegahertz) {
    TOpenInstrument t;
    t.WriteEach(kTenFrames);
    const auto& s = t.sim.State();
    for (const auto& c : s.ch) {
        EXPECT_TRUE(c.output);
        EXPECT_EQ(c.freqCode, 0x00A3D70Au);
        EXPECT_EQ(c.amplCode, 0x3FFF);
        EXPECT_EQ(c.phaseCode, 0);
        EXPECT_NEAR(s.FrequencyHz(c.freqCode), 1e6, 0.1);
    }
    EXPECT_EQ(t.sim.FrameCount(), 10u);
    EXPECT_EQ(t.sim.ProtocolErrorCount(), 0u) << Lines(t.sim);
    for (const char* line :
         {"clock_mhz=400", "protocol_errors=0", "A.output=1", "A.mode=ZGMdC_gen",
          "A.frequency_hz=999999.978", "A.amplitude_code=16383", "A.phase_code=0", "B.output=1",
          "B.mode=ZGMdC_gen", "B.frequency_hz=999999.978", "B.amplitude_code=16383",
          "B.phase_code=0"})
        EXPECT_TRUE(t.Has(line)) << line << "\n" << Lines(t.sim);
}

TEST(VirtualInstrument, FramesAndBlocksSplitAnywhereDecodeAlike) {
    // A table upload for channel B with its block, then the ten frames.
    Bytes table(0x158);
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(i * 7);
    const Bytes stream = Join({Join(Parse(kTenFrames)), Parse("21 10 00 11 58 00")[0], table});
    for (std::size_t chunk : {1u, 2u, 5u, 7u, 13u, 400u}) {
        TOpenInstrument t;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            const std::size_t n = std::min(chunk, stream.size() - at);
            EXPECT_EQ(t.Write(Bytes(stream.begin() + at, stream.begin() + at + n)), FT_OK);
        }
        const auto& b = t.sim.State().ch[1];
        EXPECT_TRUE(b.output) << chunk;
        EXPECT_EQ(b.freqCode, 0x00A3D70Au) << chunk;
        EXPECT_EQ(b.tableStart, 0x1000u);
        EXPECT_EQ(b.tableBytes, 0x158u);
        EXPECT_TRUE(std::equal(table.begin(), table.end(), b.tableMemory.begin() + 0x1000))
            << chunk;
        EXPECT_EQ(b.tableMemory[0x1000 + 0x158], 0) << "no byte past the block";
        EXPECT_EQ(t.sim.FrameCount(), 11u) << chunk;
        EXPECT_EQ(t.sim.ProtocolErrorCount(), 0u) << chunk << "\n" << Lines(t.sim);
    }
}

TEST(VirtualInstrument, KeyingUploadsFillTheSlotsOfTheDdsMemory) {
    // BPSK on channel A, 0 and 180 degrees, 1000 ns holds.
    TOpenInstrument t;
    t.WriteEach(
        "F0 00 00 00 00 00; F1 00 00 00 00 00; 04 00 A3 D7 0A 00; 02 3F FF 00 00 00;"
        "05 00 00 00 00 00; 00 C6 80 02 40 00; 07 32 00 01 00 00; 08 32 00 03 08 00;"
        "80 00 00 00 00 00; 40 00 00 00 00 00; 30 00 08 00 00 00; 00 00 00 00 00 00 00 00;"
        "40 00 01 00 00 00; 30 00 08 00 00 00; 80 00 00 00 80 00 00 00;"
        "00 E6 80 02 40 00; 80 00 00 00 00 00");
    const auto& a = t.sim.State().ch[0];
    EXPECT_EQ(a.ddsMemory[2], 0x80000000u);
    EXPECT_EQ(a.ddsMemory[3], 0x80000000u);
    EXPECT_EQ(t.sim.ProtocolErrorCount(), 0u) << Lines(t.sim);
    for (const char* line : {"A.mode=ZGMdC_DDSMod", "A.keying.kind=bxsk", "A.keying.param=phase",
                             "A.keying.slot0.value=0", "A.keying.slot1.value=180",
                             "A.keying.slot1.hold_ns=1000", "B.mode=ZGMdC_off"})
        EXPECT_TRUE(t.Has(line)) << line << "\n" << Lines(t.sim);
}

struct TModeCase {
    const char* frames;
    std::vector<const char*> lines;
};

TEST(VirtualInstrument, StartFramesGiveTheModeAndItsParameters) {
    const TModeCase cases[] = {
        // Amplitude tuning on channel B, scale 3.
        {"F9 00 00 00 00 00; 2A 3F FF 00 00 00; E2 03 00 00 00 00",
         {"B.mode=ZGMdC_tuning", "B.tune.param=ampl", "B.tune.scale=3", "B.carrier_code=16383"}},
        // External amplitude modulation of channel B, scale 5.
        {"2A 20 00 00 00 00; 8D 05 01 00 00 00",
         {"B.mode=ZGMdC_ExtModulation", "B.extmod.param=ampl", "B.extmod.scale=5"}},
        // Channel A from inputs 1 and 2, phase, scales 2 and 7.
        {"29 10 00 00 00 00; 91 02 07 02 00 00",
         {"A.mode=ZGMdC_ExtModulationA12", "A.extmod.other_scale=7", "B.mode=ZGMdC_off"}},
        // Both channels from input 1.
        {"29 00 A3 D7 0A 00; B2 04 03 00 00 00",
         {"A.mode=ZGMdC_ExtModulationAB1", "B.mode=ZGMdC_ExtModulationAB1", "B.extmod.scale=4"}},
        // Sweep 1 MHz -> 2 MHz, 1000 us rise, started with its times.
        {"04 00 A3 D7 0A 00; 00 06 A0 02 40 00; 08 9B 00 00 41 03; 07 9B 00 00 41 03;"
         "06 01 47 AE 14 00; 80 00 00 00 00 00; 85 00 03 E8 00 00; 86 00 01 F4 00 00;"
         "83 00 00 00 00 00",
         {"A.mode=ZGMdC_LFM", "A.lfm.top_hz=1999999.955", "A.lfm.rise_rate=155",
          "A.lfm.rise_step=16643", "A.lfm.rise_half_us=2000", "A.lfm.fall_half_us=1000",
          "A.lfm.started=1"}},
        // DDS table playback on channel A: 1000 readings of 100 steps.
        {"00 86 80 02 40 00; 40 00 00 00 00 00; 07 64 00 E7 03 80",
         {"A.mode=ZGMdC_DDSMod", "A.keying.kind=user", "A.user.readings=1000", "A.user.tau=100",
          "A.user.playback=wrap", "A.user.fm_hz=1000.000"}},
        // Multiplier 10 on the external reference (25 MHz): 250 MHz clock.
        {"E5 0A 00 00 00 00", {"clock_mhz=250", "clock_reference=external", "clock_multiplier=10"}},
    };
    for (const auto& c : cases) {
        TOpenInstrument t;
        t.WriteEach(c.frames);
        EXPECT_EQ(t.sim.ProtocolErrorCount(), 0u) << c.frames << "\n" << Lines(t.sim);
        for (const char* line : c.lines) EXPECT_TRUE(t.Has(line)) << line << "\n" << Lines(t.sim);
    }
    // Table modulation of channel A's frequency: 172 readings, timer load
    // 0xFDFD; the block length comes from the upload frame.
    TOpenInstrument t;
    t.WriteEach("04 00 A3 D7 0A 00; 20 02 B0 00 00 00");
    EXPECT_EQ(t.Write(Bytes(688, 0x11)), FT_OK);
    t.WriteEach("87 FD FD 08 03 00");
    EXPECT_EQ(t.sim.ProtocolErrorCount(), 0u) << Lines(t.sim);
    for (const char* line :
         {"A.mode=ZGMdC_IntModulation", "A.intmod.variant=single", "A.intmod.readings=172",
          "A.intmod.timer_load=65021", "A.intmod.fm_hz=998.799"})
        EXPECT_TRUE(t.Has(line)) << line << "\n" << Lines(t.sim);
}

TEST(VirtualInstrument, ResetClearsChannelsMemoriesAndClock) {
    TOpenInstrument t;
    t.sim.SetExternalRefMHz(30);
    t.WriteEach("E5 0A 00 00 00 00; F1 00 00 00 00 00; 04 12 34 56 78 00; 20 00 04 00 00 00");
    EXPECT_EQ(t.Write({1, 2, 3, 4}), FT_OK);
    t.WriteEach("8B 05 03 00 00 00");  // external modulation without a carrier: one error
    EXPECT_DOUBLE_EQ(t.sim.ClockMHz(), 300.0);
    EXPECT_EQ(t.sim.State().ch[0].tableMemory[3], 4);
    EXPECT_EQ(t.sim.ProtocolErrorCount(), 1u);

    t.WriteEach("F0 00 00 00 00 00");
    const auto& a = t.sim.State().ch[0];
    EXPECT_FALSE(a.output);
    EXPECT_EQ(a.freqCode, 0u);
    EXPECT_EQ(a.run, TInstrumentState::rnNone);
    EXPECT_EQ(a.tableMemory[3], 0);
    EXPECT_DOUBLE_EQ(t.sim.ClockMHz(), 400.0);
    EXPECT_TRUE(t.Has("A.mode=ZGMdC_off"));
    EXPECT_EQ(t.sim.ProtocolErrorCount(), 1u) << "the error log outlives the reset";
}

TEST(VirtualInstrument, UnknownAndImpossibleFramesAreCountedAndDescribed) {
    struct TCase {
        const char* frame;
        const char* says;
    };
    const TCase cases[] = {
        {"03 00 00 00 00 00", "unknown command code 0x03"},
        {"02 3F FF 00 01 00", "byte 4 should be 0"},
        {"02 FF FF 00 00 00", "exceeds 14 bits"},
        {"40 02 00 00 00 00", "slot bits"},
        {"29 00 00 00 00 00; 8B 05 00 00 00 00", "parameter selector 0"},
        {"83 00 00 00 00 00", "no channel has a sweep"},
        {"9A 00 00 00 00 00", "no channel is armed"},
        {"20 00 08 00 00 00; 01 02 03 04 05 06 07 08; 97 FB FB 08 03 00;"
         "21 00 04 00 0C 00; 01 02 03 04 05 06 07 08; 99 FB FB 08 03 00; 9A 00 00 00 00 00",
         "tables of channels A and B overlap"},
        {"21 11 00 10 00 00", "before its start"},
        {"21 1F F8 20 08 00; 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10",
         "past the 8192-byte memory"},
        {"00 12 34 56 78 00", "control word 0x12345678"},
        {"E6 00 00 00 00 00", "external keying times"},
    };
    for (const auto& c : cases) {
        TOpenInstrument t;
        t.WriteEach(c.frame);
        t.WriteEach("F1 00 00 00 00 00");  // decoding goes on
        ASSERT_EQ(t.sim.ProtocolErrorCount(), 1u) << c.frame << "\n" << Lines(t.sim);
        EXPECT_NE(t.sim.ProtocolErrors()[0].find(c.says), std::string::npos)
            << t.sim.ProtocolErrors()[0];
        EXPECT_EQ(t.sim.ProtocolErrors()[0].rfind("frame ", 0), 0u);
        EXPECT_TRUE(t.sim.State().ch[0].output) << c.frame;
        EXPECT_TRUE(t.Has("protocol_errors=1"));
    }
}

TEST(VirtualInstrument, AdcReadIsAnsweredMostSignificantByteFirst) {
    TOpenInstrument t;
    uint8_t reply[4] = {};
    uint32_t read = 0;
    t.sim.SetADCValue(0x12345678);
    EXPECT_EQ(t.Write({0xFD}), FT_OK);
    EXPECT_EQ(t.sim.FT_Read(t.handle, reply, 4, read), FT_OK);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(Bytes(reply, reply + 4), (Bytes{0x12, 0x34, 0x56, 0x78}));

    // Nothing asked, nothing to read: the read comes back short.
    EXPECT_EQ(t.sim.FT_Read(t.handle, reply, 4, read), FT_OK);
    EXPECT_EQ(read, 0u);

    // Drifting by default: successive answers move.
    t.sim.SetADCDrifting();
    std::vector<uint32_t> values;
    for (int i = 0; i < 3; ++i) {
        t.Write({0xFD});
        t.sim.FT_Read(t.handle, reply, 4, read);
        values.push_back(uint32_t{reply[0]} << 24 | uint32_t{reply[1]} << 16 |
                         uint32_t{reply[2]} << 8 | reply[3]);
    }
    EXPECT_NE(values[0], values[1]);
    EXPECT_NE(values[1], values[2]);
    EXPECT_EQ(t.sim.ProtocolErrorCount(), 0u);
}

TEST(VirtualInstrument, InjectedFaults) {
    {
        TVirtualInstrument sim;
        FT_HANDLE h = 0;
        sim.FailOpen();
        EXPECT_EQ(sim.FT_Open(0, h), FT_DEVICE_NOT_FOUND);
        EXPECT_FALSE(sim.IsOpen());
        sim.FailOpen(FT_OK);
        EXPECT_EQ(sim.FT_Open(0, h), FT_OK);
        EXPECT_EQ(sim.FT_Open(0, h), FT_DEVICE_NOT_OPENED) << "already in use";
    }
    {
        // The second write fails and delivers nothing; the third goes through.
        TOpenInstrument t;
        t.sim.FailWrite(2);
        uint32_t written = 99;
        EXPECT_EQ(t.Write(Parse("F1 00 00 00 00 00")[0]), FT_OK);
        EXPECT_EQ(t.Write(Parse("04 00 A3 D7 0A 00")[0], &written), FT_IO_ERROR);
        EXPECT_EQ(written, 0u);
        EXPECT_EQ(t.sim.State().ch[0].freqCode, 0u);
        EXPECT_EQ(t.Write(Parse("F9 00 00 00 00 00")[0]), FT_OK);
        EXPECT_TRUE(t.sim.State().ch[1].output);
        EXPECT_EQ(t.sim.ProtocolErrorCount(), 0u);
    }
    {
        // A short write loses its last byte; the cut frame is dropped and the
        // next frame decodes on its own.
        TOpenInstrument t;
        t.sim.ShortWrite(1);
        uint32_t written = 0;
        EXPECT_EQ(t.Write(Parse("04 00 A3 D7 0A 00")[0], &written), FT_OK);
        EXPECT_EQ(written, 5u);
        EXPECT_EQ(t.sim.State().ch[0].freqCode, 0u);
        t.WriteEach("F1 00 00 00 00 00");
        EXPECT_TRUE(t.sim.State().ch[0].output);
        ASSERT_EQ(t.sim.ProtocolErrorCount(), 1u);
        EXPECT_NE(t.sim.ProtocolErrors()[0].find("incomplete frame of 5 bytes"), std::string::npos);
    }
    {
        // The first read fails and its answer is lost; the second read works.
        TOpenInstrument t;
        t.sim.FailRead(1);
        t.sim.SetADCValue(7);
        uint8_t reply[4] = {};
        uint32_t read = 9;
        t.Write({0xFD});
        EXPECT_EQ(t.sim.FT_Read(t.handle, reply, 4, read), FT_IO_ERROR);
        EXPECT_EQ(read, 0u);
        t.Write({0xFD});
        EXPECT_EQ(t.sim.FT_Read(t.handle, reply, 4, read), FT_OK);
        EXPECT_EQ(read, 4u);
        EXPECT_EQ(reply[3], 7);
    }
    {
        // Closed: transfers are refused.
        TVirtualInstrument sim;
        uint32_t n = 0;
        uint8_t byte = 0xF0;
        EXPECT_EQ(sim.FT_Write(0x51, &byte, 1, n), FT_INVALID_HANDLE);
        EXPECT_EQ(sim.FT_Read(0x51, &byte, 1, n), FT_INVALID_HANDLE);
        EXPECT_EQ(sim.FT_Close(0x51), FT_INVALID_HANDLE);
    }
}

TEST(TraceDriver, ReportsFramesBlocksAndReadsFromTheFraming) {
    TVirtualInstrument sim;
    TTraceDriver trace(sim);
    std::vector<std::string> lines;
    trace.OnTransfer = [&](const TTraceDriver::TTransfer& t) {
        lines.push_back(TTraceDriver::FormatLine(t));
    };
    sim.SetADCValue(0x01020304);
    sim.FailWrite(5);
    FT_HANDLE h = 0;
    ASSERT_EQ(trace.FT_Open(0, h), FT_OK);
    uint32_t n = 0;
    const auto write = [&](const std::string& hex) {
        const Bytes b = Parse(hex)[0];
        return trace.FT_Write(h, b.data(), static_cast<uint32_t>(b.size()), n);
    };
    write("F0 00 00 00 00 00");
    write("30 00 08 00 00 00");
    write("80 00 00 00 80 00 00 00");
    write("30 00 04 00 00 00 AA BB CC DD F1 00 00 00 00 00");  // frame, block, frame in one write
    write("F2 00 00 00 00 00");                                // fails
    write("FD");
    uint8_t reply[4];
    trace.FT_Read(h, reply, 4, n);
    trace.FT_Read(h, reply, 4, n);  // nothing left: short
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "C F0 00 00 00 00 00", "C 30 00 08 00 00 00", "D 80 00 00 00 80 00 00 00",
                         "C 30 00 04 00 00 00", "D AA BB CC DD", "C F1 00 00 00 00 00",
                         "C F2 00 00 00 00 00 !", "C FD", "R 01 02 03 04", "R !"}));
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u);
}

TEST(VirtualInstrument, GarbageNeverCrashesAndKeepsBothSidesInStep) {
    std::mt19937 rng(20261211);
    for (int round = 0; round < 60; ++round) {
        TVirtualInstrument sim;
        TTraceDriver trace(sim);
        std::size_t traced = 0;
        trace.OnTransfer = [&](const TTraceDriver::TTransfer& t) {
            traced += t.bytes.size();
            EXPECT_FALSE(TTraceDriver::FormatLine(t).empty());
        };
        sim.FailWrite(static_cast<int>(rng() % 40 + 1));
        sim.ShortWrite(static_cast<int>(rng() % 40 + 1));
        sim.FailRead(static_cast<int>(rng() % 5 + 1));
        sim.SetExternalRefMHz(rng() % 2 ? 0.0 : 10.0);
        FT_HANDLE h = 0;
        ASSERT_EQ(trace.FT_Open(0, h), FT_OK);
        for (int w = 0; w < 40; ++w) {
            Bytes junk(rng() % 300);
            // Bias towards known codes so that deep paths run too.
            for (auto& b : junk) b = static_cast<uint8_t>(rng() % 3 ? rng() : rng() % 0x20);
            uint32_t n = 0;
            trace.FT_Write(h, junk.data(), static_cast<uint32_t>(junk.size()), n);
            if (rng() % 4 == 0) {
                uint8_t buffer[8];
                trace.FT_Read(h, buffer, static_cast<uint32_t>(rng() % 8), n);
            }
            EXPECT_FALSE(sim.StateLines().empty());
        }
        EXPECT_GT(traced, 0u);
        EXPECT_LE(sim.ProtocolErrors().size(), TFrameDecoder::kMaxKeptErrors);
        EXPECT_EQ(trace.FT_Close(h), FT_OK);
    }
}

}  // namespace
