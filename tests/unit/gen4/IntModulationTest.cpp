#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "gen4/engines/MathFunction.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "platform/Exceptions.h"
#include "platform/HexBytes.h"
#include "tests/fixtures/GenFixture.h"

namespace {

using Wire = std::vector<std::string>;

// Frames as hex; a table block (anything longer than a frame) as its length,
// so a sequence stays readable. Table contents are checked separately.
Wire Summary(const TRecordingDriver& driver) {
    Wire out;
    for (const auto& call : driver.Calls()) {
        if (call.kind != TRecordingDriver::ckWrite) continue;
        if (call.bytes.size() > 6)
            out.push_back("table " + std::to_string(call.bytes.size()));
        else
            out.push_back(ToHex(call.bytes));
    }
    return out;
}

// The bytes of the n-th table block written (0-based).
std::vector<uint8_t> Table(const TRecordingDriver& driver, int n) {
    for (const auto& call : driver.Calls())
        if (call.kind == TRecordingDriver::ckWrite && call.bytes.size() > 6 && n-- == 0)
            return call.bytes;
    return {};
}

const std::string kDividerOverflow = "Переполнение делителя! (> FF80 или > FF00 )";

}  // namespace

// Sizing and timer load for one table or two, frequency (4-byte readings) or
// amplitude (2-byte readings), at the edges of the modulation frequency range.
TEST_F(GenFixture, IntModulationSizesTheTableAndTheTimerLoad) {
    struct TCase {
        int fm;
        bool single;
        TZyGen4AFPModes type;
        int rdsCnt;
        int rdsBytes;
        long la;  // -1: divider overflow
        const char* loadFrame;
    };
    const TCase cases[] = {
        {1000, true, ZGAFPms_freq, 172, 688, 65021, "20 02 B0 00 00 00"},
        {1000, true, ZGAFPms_ampl, 307, 614, 65247, "20 02 66 00 00 00"},
        {1000, true, ZGAFPms_phase, 307, 614, 65247, "20 02 66 00 00 00"},
        {1000, false, ZGAFPms_freq, 86, 344, 64507, "20 01 58 00 00 00"},
        {1, true, ZGAFPms_freq, 2048, 8192, 22336, "20 20 00 00 00 00"},
        {1, false, ZGAFPms_freq, 1024, 4096, -1, "20 10 00 00 00 00"},
        {2, false, ZGAFPms_freq, 1024, 4096, 22336, "20 10 00 00 00 00"},
        {20000, false, ZGAFPms_freq, 4, 16, 64430, "20 00 10 00 00 00"},
        {20000, true, ZGAFPms_ampl, 15, 30, 65241, "20 00 1E 00 00 00"},
    };
    Connect();
    TZyGen4IntModulation& im = *A().IntModulation();
    gen->SetAutoUpdate(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "Fm " << c.fm << (c.single ? " single" : " double") << " type " << c.type);
        im.SetFm(c.fm);
        im.SetType(c.type);
        const uint32_t laBefore = im.La();
        driver.Clear();
        if (c.la < 0) {
            try {
                im.WriteReadings(c.single);
                ADD_FAILURE() << "no divider overflow";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), kDividerOverflow);
            }
            EXPECT_EQ(im.La(), laBefore);
        } else {
            im.WriteReadings(c.single);
            EXPECT_EQ(im.La(), static_cast<uint32_t>(c.la));
        }
        EXPECT_EQ(im.RdsCnt(), c.rdsCnt);
        EXPECT_EQ(im.RdsBytes(), c.rdsBytes);
        // The upload goes out in either case.
        EXPECT_EQ(Summary(driver), (Wire{c.loadFrame, "table " + std::to_string(c.rdsBytes)}));
    }
    EXPECT_EQ(TZyGen4IntModulation::GetMaxReadingsCnt(1000, true, true), 172u);
    EXPECT_EQ(TZyGen4IntModulation::GetLa(1000, true, true, 0), 65021u);  // 0: the largest count
}

// Channel B's table goes at 0 alone and at 0x1000 next to channel A's.
TEST_F(GenFixture, ChannelBTableAddresses) {
    Connect();
    gen->SetAutoUpdate(false);
    B().IntModulation()->WriteReadings(true);
    B().IntModulation()->WriteReadings(false);
    EXPECT_EQ(Summary(driver),
              (Wire{"21 00 00 02 B0 00", "table 688", "21 10 00 11 58 00", "table 344"}));
}

TEST_F(GenFixture, SingleIntModulationSequenceAndTable) {
    Connect();
    const Wire frames = Cycle([&] { A().SetMode(ZGMdC_IntModulation); });
    ASSERT_EQ(Summary(driver), (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00",
                                     "02 3F FF 00 00 00", "05 00 00 00 00 00", "20 02 B0 00 00 00",
                                     "table 688", "87 FD FD 08 03 00"}));

    // 172 readings of a sine around the 1 MHz code (10737418) with the 100 Hz
    // deviation code (1073.74 → 1074), 32 bits each, most significant first.
    const std::vector<uint8_t> table = Table(driver, 0);
    ASSERT_EQ(table.size(), 688u);
    for (int i = 0; i < 172; ++i) {
        const double v = 10737418 + 1074 * std::sin(2 * std::numbers::pi * i / 172);
        const uint32_t expected = static_cast<uint32_t>(std::lround(v));
        const uint32_t got = uint32_t{table[4 * i]} << 24 | uint32_t{table[4 * i + 1]} << 16 |
                             uint32_t{table[4 * i + 2]} << 8 | table[4 * i + 3];
        ASSERT_EQ(got, expected) << "reading " << i;
    }
}

TEST_F(GenFixture, DuplexIntModulationPlaysChannelATableOnBoth) {
    Connect();
    Cycle([&] {
        gen->Options()->SetEnableDuplexIntMod(true);
        A().SetMode(ZGMdC_IntModulation);
        B().SetMode(ZGMdC_IntModulation);
    });
    EXPECT_EQ(
        Summary(driver),
        (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00", "02 3F FF 00 00 00",
              "05 00 00 00 00 00", "20 02 B0 00 00 00", "table 688", "F9 00 00 00 00 00",
              "14 00 A3 D7 0A 00", "12 3F FF 00 00 00", "15 00 00 00 00 00", "B0 FD FD 08 03 00"}));
}

TEST_F(GenFixture, DoubleIntModulationArmsEachTableThenStartsBoth) {
    Connect();
    Cycle([&] {
        A().SetMode(ZGMdC_IntModulation);
        B().SetMode(ZGMdC_IntModulation);
        B().IntModulation()->SetType(ZGAFPms_ampl);
        B().IntModulation()->SetMathFuncType(ZMFT_triangle);
    });
    // B: 2-byte readings in half the memory: 153 readings (306 = 0x132 bytes)
    // from 0x1000, 579 ticks each (La 64957 = FDBD).
    EXPECT_EQ(
        Summary(driver),
        (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00", "02 3F FF 00 00 00",
              "05 00 00 00 00 00", "20 01 58 00 00 00", "table 344", "97 FB FB 08 03 00",
              "F9 00 00 00 00 00", "14 00 A3 D7 0A 00", "12 3F FF 00 00 00", "15 00 00 00 00 00",
              "21 10 00 11 32 00", "table 306", "99 FD BD 08 01 00", "9A 00 00 00 00 00"}));

    // B's triangle around full scale (16383) with half of it as deviation
    // (50 % of 100 % → 8191), 16 bits each, most significant first.
    const std::vector<uint8_t> table = Table(driver, 1);
    ASSERT_EQ(table.size(), 306u);
    for (int i = 0; i < 153; ++i) {
        const double x = i / 153.0;
        const double y = x < 0.5 ? x / 0.5 : (0.5 - x) / 0.5 + 1;
        const long expected = std::lround(16383 - 8191 + 2 * 8191 * y);
        ASSERT_EQ(table[2 * i] << 8 | table[2 * i + 1], expected) << "reading " << i;
    }
}

// The divider overflow leaves the cycle after channel A's upload: no arm, no
// start, no AfterUpdate.
TEST_F(GenFixture, DividerOverflowEndsTheCycleAfterTheUpload) {
    Connect();
    int after = 0;
    gen->AfterUpdate = [&](TZyGen4*) { ++after; };
    gen->SetAutoUpdate(false);
    A().SetMode(ZGMdC_IntModulation);
    B().SetMode(ZGMdC_IntModulation);
    A().IntModulation()->SetFm(1);
    driver.Clear();
    try {
        gen->SetAutoUpdate(true);
        ADD_FAILURE() << "no divider overflow";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), kDividerOverflow);
    }
    EXPECT_EQ(Summary(driver),
              (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00",
                    "02 3F FF 00 00 00", "05 00 00 00 00 00", "20 10 00 00 00 00", "table 4096"}));
    EXPECT_EQ(after, 0);
}

// With no depth the amplitude table is flat at the carrier: the deviation code
// of 0 % is 0, never the all-ones pattern.
TEST_F(GenFixture, ZeroAmplitudeDepthGivesAFlatTable) {
    Connect();
    gen->SetAutoUpdate(false);
    TZyGen4IntModulation& im = *A().IntModulation();
    im.SetType(ZGAFPms_ampl);
    im.SetdA(0);
    A().Set_sinAmplitude(50);  // code 8191 = 1F FF
    im.WriteReadings(true);
    EXPECT_EQ(im.MathFunc()->CB(), 0.0);
    const std::vector<uint8_t> table = Table(driver, 0);
    ASSERT_EQ(table.size(), 614u);
    for (std::size_t i = 0; i < table.size(); i += 2) {
        ASSERT_EQ(table[i], 0x1F);
        ASSERT_EQ(table[i + 1], 0xFF);
    }
}

// A handler that lowers the amplitude from inside the cycle runs a complete
// nested cycle; the interrupted one then goes on with the new amplitude.
TEST_F(GenFixture, OverModulationAnswerRunsANestedCycle) {
    Connect();
    int questions = 0, after = 0;
    gen->AfterUpdate = [&](TZyGen4*) { ++after; };
    gen->SetAutoUpdate(false);
    A().SetMode(ZGMdC_IntModulation);
    A().IntModulation()->SetType(ZGAFPms_ampl);  // dA 50: limit 67 %
    gen->OnOverModulation = [&](TZyGen4Channel* ch, double max) {
        ++questions;
        EXPECT_EQ(max, 67);
        ch->Set_sinAmplitude(60);
    };
    driver.Clear();
    gen->SetAutoUpdate(true);
    const Wire channelA{"F1 00 00 00 00 00", "04 00 A3 D7 0A 00", "02 26 65 00 00 00",
                        "05 00 00 00 00 00", "20 02 66 00 00 00", "table 614",
                        "87 FE DF 08 01 00"};
    Wire expected{"F0 00 00 00 00 00", "F0 00 00 00 00 00"};
    expected.insert(expected.end(), channelA.begin(), channelA.end());  // nested
    expected.insert(expected.end(), channelA.begin(), channelA.end());  // resumed
    EXPECT_EQ(Summary(driver), expected);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(after, 2);
}
