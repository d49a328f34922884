#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "gen4/engines/MathFunction.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "platform/HexBytes.h"
#include "tests/fixtures/GenFixture.h"

using Wire = std::vector<std::string>;

TEST_F(GenFixture, BinaryFrequencyKeyingOnChannelA) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_DDSMod);
        A().DDSMod()->SetF2(2000);
        A().DDSMod()->SetT2(1300000);
    });
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00",
                            "02 3F FF 00 00 00", "05 00 00 00 00 00", "00 86 80 02 40 00",
                            "07 32 00 01 00 00", "08 E8 FD 03 08 00", "80 00 00 00 00 00",
                            "40 00 00 00 00 00", "30 00 08 00 00 00", "00 A3 D7 0A 00 A3 D7 0A",
                            "40 00 01 00 00 00", "30 00 08 00 00 00", "01 47 AE 14 01 47 AE 14",
                            "00 A6 80 02 40 00", "80 00 00 00 00 00"}));
}

TEST_F(GenFixture, QuaternaryPhaseKeyingOnChannelB) {
    Connect();
    const Wire frames = Cycle([&] {
        B().SetMode(ZGMdC_DDSMod);
        B().DDSMod()->SetMode(ZGTMs_QxSK);
        B().DDSMod()->SetType(ZGAFPms_phase);
        B().DDSMod()->SetT3(20);
        B().DDSMod()->SetT4(1299999);
    });
    // Phases 0, 180, 90, 270 in the top 14 bits; hold times 1000, 1000, 20
    // and 1299999 ns as 50, 50, 1 and 64999 steps of 20 ns.
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F9 00 00 00 00 00",       "14 00 A3 D7 0A 00",
                            "12 3F FF 00 00 00", "15 00 00 00 00 00",       "10 C6 80 02 42 00",
                            "17 32 00 01 00 00", "18 32 00 03 08 00",       "19 01 00 05 10 00",
                            "1A E7 FD 07 18 00", "80 00 00 00 00 00",       "50 00 00 00 00 00",
                            "31 00 08 00 00 00", "00 00 00 00 00 00 00 00", "50 00 01 00 00 00",
                            "31 00 08 00 00 00", "80 00 00 00 80 00 00 00", "50 01 00 00 00 00",
                            "31 00 08 00 00 00", "40 00 00 00 40 00 00 00", "50 01 01 00 00 00",
                            "31 00 08 00 00 00", "C0 00 00 00 C0 00 00 00", "10 F6 80 02 42 00",
                            "80 00 00 00 00 00"}));
}

TEST_F(GenFixture, ExternalTimesEndTheKeyingWithKeyExtTimes) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_DDSMod);
        A().DDSMod()->SetType(ZGAFPms_phase);
        A().DDSMod()->SetUseExtTimes(true);
    });
    ASSERT_GE(frames.size(), 3u);
    // The last slot's value, then the external timing instead of the cycling
    // control word and its update.
    EXPECT_EQ(Wire(frames.end() - 3, frames.end()),
              (Wire{"30 00 08 00 00 00", "80 00 00 00 80 00 00 00", "E6 00 00 00 00 00"}));
    EXPECT_EQ(std::count(frames.begin(), frames.end(), "00 C6 80 02 40 00"), 1);
}

TEST_F(GenFixture, CalcNTauFitsTheTableToOnePeriod) {
    struct Case {
        double Fm;
        bool bidi;
        TMathFuncsTypes wave;
        int cntMin, N, Tau;
    };
    const Case cases[] = {
        {1000, false, ZMFT_sin, 32, 1000, 100},
        {1000, true, ZMFT_sin, 32, 1000, 50},
        // A triangle is not played up and down: it keeps the whole period.
        {1000, true, ZMFT_triangle, 32, 1000, 100},
        {200, false, ZMFT_sin, 32, 1000, 500},
        {1234, false, ZMFT_sin, 32, 583, 139},
        {300000, false, ZMFT_sin, 32, 333, 1},
        {1500000, false, ZMFT_sin, 32, 67, 1},
        {1500000, true, ZMFT_sin, 32, 33, 1},
        // A period shorter than half the fewest readings: the fastest rate
        // with the fewest readings, never a rate of 0.
        {1500000, false, ZMFT_sin, 200, 200, 1},
    };
    TZyGen4DDSMod& dds = *A().DDSMod();
    for (const Case& c : cases) {
        dds.SetFm(c.Fm);
        dds.SetContBidiRamp(c.bidi);
        dds.SetMathFuncType(c.wave);
        dds.SetReadingsCntMin(c.cntMin);
        dds.Calc_N_Tau();
        EXPECT_EQ(dds.N(), c.N) << "Fm " << c.Fm << " bidi " << c.bidi << " wave " << c.wave;
        EXPECT_EQ(dds.Tau(), c.Tau) << "Fm " << c.Fm << " bidi " << c.bidi << " wave " << c.wave;
    }
}

TEST_F(GenFixture, UserModeLoadsSlotWordAndReversedTable) {
    struct Case {
        TZyGen4AFPModes type;
        bool bidi;
        const char* slotWord;
        const char* control;
        double CA, CB;  // expected centre and deviation words
        int k;          // 2: whole sine period, 1: half of it
    };
    const Case cases[] = {
        // 1000 kHz carrier, 1000 Hz deviation, whole period wrapping around.
        {ZGAFPms_freq, false, "07 64 00 E7 03 80", "00 86 80 02 40 00", 10737418, 10737, 2},
        // Phase 90° with 90° deviation, half a period played up and down.
        {ZGAFPms_phase, true, "07 32 00 E7 03 60", "00 C6 80 02 40 00", 1073741824.0, 1073741824.0,
         1},
    };
    Connect();
    for (const Case& c : cases) {
        const Wire frames = Cycle([&] {
            A().SetMode(ZGMdC_DDSMod);
            A().SetPhase(90);
            A().DDSMod()->SetMode(ZGTMs_User);
            A().DDSMod()->SetType(c.type);
            A().DDSMod()->SetContBidiRamp(c.bidi);
        });
        // Reset, output and carrier, then the user sequence.
        ASSERT_EQ(frames.size(), 12u);
        EXPECT_EQ(Wire(frames.begin() + 5, frames.begin() + 10),
                  (Wire{c.control, "40 00 00 00 00 00", c.slotWord, "80 00 00 00 00 00",
                        "30 0F A0 00 00 00"}));
        EXPECT_EQ(frames[11], "80 00 00 00 00 00");

        // The table: N = 1000 readings, the last one at DDS address 0, each
        // reading most significant byte first.
        const int n = 1000;
        std::vector<uint8_t> expected(4 * n);
        for (int i = 0; i < n; ++i) {
            const double v = c.CA + c.CB * std::sin(c.k * M_PI * i / n);
            const uint32_t r = static_cast<uint32_t>(static_cast<int64_t>(std::nearbyint(v)));
            const int s = n - 1 - i;
            for (int b = 0; b < 4; ++b)
                expected[4 * s + b] = static_cast<uint8_t>(r >> (24 - 8 * b));
        }
        EXPECT_EQ(frames[10], ToHex(expected)) << "type " << c.type;
    }
    // The phase table's peak (i = 500) is 0x80000000, at address 499.
    EXPECT_EQ(ToHex(A().DDSMod()->MathFunc()->ReadingsMemory() + 4 * 499, 4), "80 00 00 00");
}

TEST_F(GenFixture, UnchangedValuesNeverReapplyTheModes) {
    Connect();
    const Wire first = Cycle([&] {
        A().SetMode(ZGMdC_DDSMod);
        A().DDSMod()->SetMode(ZGTMs_User);
        B().SetMode(ZGMdC_LFM);
        B().LFM()->SetFreqTop(2000);
        B().LFM()->SetTinc0(100);
    });
    const int tableUpdates = A().DDSMod()->MathFunc()->UpdateCount();

    driver.Clear();
    TZyGen4DDSMod& dds = *A().DDSMod();
    dds.SetF1(dds.F1());
    dds.Set_dF(dds.dF());
    dds.SetPh2(dds.Ph2());
    dds.Set_dPh(dds.dPh());
    dds.SetT3(dds.T3());
    dds.SetContBidiRamp(dds.ContBidiRamp());
    dds.SetMode(dds.Mode());
    dds.SetType(dds.Type());
    dds.SetFm(dds.Fm());
    dds.SetMathFuncType(dds.GetMathFuncType());
    dds.SetCC(dds.GetCC());
    dds.SetReadingsCntMin(dds.ReadingsCntMin());
    dds.SetUseExtTimes(dds.UseExtTimes());
    TZyGen4LFM& lfm = *B().LFM();
    lfm.SetFreqTop(lfm.FreqTop());
    lfm.SetTinc0(lfm.Tinc0());
    lfm.SetTdec1(lfm.Tdec1());
    EXPECT_TRUE(Frames().empty());

    // A forced cycle re-sends the same frames and reuses the table as it was.
    driver.Clear();
    gen->UpdateMode();
    EXPECT_EQ(Frames(), first);
    EXPECT_EQ(A().DDSMod()->MathFunc()->UpdateCount(), tableUpdates);
}
