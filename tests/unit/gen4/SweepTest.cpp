#include <string>
#include <vector>

#include "gen4/engines/ZyGen4LFM.h"
#include "tests/fixtures/GenFixture.h"

using Wire = std::vector<std::string>;

// Span in kHz and ramp duration in µs, as StartLFM feeds them to XYtoAB.
TEST(SweepSteps, XYtoABFindsTheLastConvergentWithinTheRateLimit) {
    struct Case {
        double span, time, A, B;
    };
    const Case cases[] = {
        {1000, 1000, 16643, 155},
        {1, 10, 1922, 179},
        {100000, 1000000, 1922, 179},
        {1000, 10000000, 1, 93},
        {250000, 10, 67108864, 25},
        {0, 1000, 0, 0},  // top equal to the carrier
        {1000, 0, 0, 0},  // time never set
        // Top below a fractional carrier: a quotient of 0 gives 0/1, then a
        // negative one ends the search.
        {-0.5, 1000, 0, 1},
        {-0.9, 10, 0, 0},
        // A carrier stored far below any real one: the first quotient does not
        // fit in 32 bits, no step fits, and the search ends.
        {1e30, 1000, 0, 0},
    };
    for (const Case& c : cases) {
        double A = -1, B = -1;
        TZyGen4LFM::XYtoAB(c.span * 1073741824.0, c.time * 1e7, 0, 255, A, B);
        EXPECT_EQ(A, c.A) << "span " << c.span << " time " << c.time;
        EXPECT_EQ(B, c.B) << "span " << c.span << " time " << c.time;
    }
}

TEST(SweepSteps, XYtoABEndsWithoutLimitsForAnyRatio) {
    struct Case {
        double X, Y, A, B;
    };
    const Case cases[] = {
        {1, 3, 1, 3},
        {355, 113, 355, 113},
        {1e39, 1e4, 0, 0},
        {1e-300, 1e300, 0, 1},
        // The double nearest to pi is 884279719003555 / 2^48 exactly.
        {3.141592653589793, 1, 884279719003555, 281474976710656},
    };
    for (const Case& c : cases) {
        double A = -1, B = -1;
        TZyGen4LFM::XYtoAB(c.X, c.Y, 0, 0, A, B);
        EXPECT_EQ(A, c.A) << c.X << " / " << c.Y;
        EXPECT_EQ(B, c.B) << c.X << " / " << c.Y;
    }
}

TEST_F(GenFixture, OneChannelSweepLoadsRampsTopAndTiming) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_LFM);
        A().LFM()->SetFreqTop(2000);
        A().LFM()->SetTinc0(1000);
        A().LFM()->SetTinc1(1001);
        A().LFM()->SetTdec0(10000000);
        A().LFM()->SetTdec1(10);
    });
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00",
                            "02 3F FF 00 00 00", "05 00 00 00 00 00", "00 06 A0 02 40 00",
                            "08 9B 00 00 41 03", "07 5D 00 00 00 01", "06 01 47 AE 14 00",
                            "80 00 00 00 00 00", "85 00 03 E8 00 00", "86 4C 4B 45 00 00",
                            "83 00 00 00 00 00"}));
}

TEST_F(GenFixture, SynchronousSweepTimesBothChannelsFromChannelB) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_LFM);
        B().SetMode(ZGMdC_LFM);
        A().LFM()->SetFreqTop(2000);
        A().LFM()->SetTinc0(1000);
        A().LFM()->SetTinc1(1001);
        A().LFM()->SetTdec0(10000000);
        A().LFM()->SetTdec1(10);
        B().LFM()->SetFreqTop(1001);
        B().LFM()->SetTinc0(10);
        B().LFM()->SetTinc1(20);
        B().LFM()->SetTdec0(10);
        B().LFM()->SetTdec1(11);
    });
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00",
                            // A: loaded, not started
                            "F1 00 00 00 00 00", "04 00 A3 D7 0A 00", "02 3F FF 00 00 00",
                            "05 00 00 00 00 00", "00 06 A0 02 40 00", "08 9B 00 00 41 03",
                            "07 5D 00 00 00 01", "06 01 47 AE 14 00", "80 00 00 00 00 00",
                            // B: loaded, timed from B's times, started
                            "F9 00 00 00 00 00", "14 00 A3 D7 0A 00", "12 3F FF 00 00 00",
                            "15 00 00 00 00 00", "10 06 A0 02 42 00", "18 B3 00 00 07 82",
                            "17 B3 00 00 07 82", "16 00 A4 00 FC 00", "80 00 00 00 00 00",
                            "85 00 00 0F 00 00", "86 00 00 0A 00 00", "83 00 00 00 00 00"}));
}
