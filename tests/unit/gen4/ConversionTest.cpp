#include <cmath>
#include <limits>

#include "tests/fixtures/GenFixture.h"

TEST_F(GenFixture, FrequencyCodesFollowTheClock) {
    EXPECT_EQ(gen->Conv_FreqToCode(1000000), 10737418);
    EXPECT_EQ(gen->Conv_FreqToCode(0), 0);
    // 200 MHz is 2^31: the low 32 bits as a signed int.
    EXPECT_EQ(static_cast<uint32_t>(gen->Conv_FreqToCode(200000000.0)), 2147483648u);
    // The reverse adds one code step (0.093 Hz at 400 MHz).
    EXPECT_NEAR(gen->Conv_CodeToFreq(10737418), 1000000.0708, 1e-3);

    gen->SetUseExtRefFreq(true);
    gen->SetRefFreq(12.5);
    EXPECT_DOUBLE_EQ(gen->GenFreq(), 200.0);
    EXPECT_EQ(gen->Conv_FreqToCode(1000000), 21474836);
}

TEST_F(GenFixture, FrequencyCodeIsZeroWithoutAClockOrForNonFiniteValues) {
    gen->SetUseExtRefFreq(true);
    gen->SetFreqScale(3);  // below 4: stored as 0
    EXPECT_EQ(gen->FreqScale(), 0);
    EXPECT_EQ(gen->GenFreq(), 0.0);
    EXPECT_EQ(gen->Conv_FreqToCode(1000000), 0);
    gen->SetFreqScale(16);
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(gen->Conv_FreqToCode(inf), 0);
    EXPECT_EQ(gen->Conv_FreqToCode(-inf), 0);
    EXPECT_EQ(gen->Conv_FreqToCode(std::nan("")), 0);
    // Huge but finite: low 32 bits of the exact integer, no overflowing cast.
    EXPECT_EQ(gen->Conv_FreqToCode(1e300), 0);
    gen->SetRefFreq(inf);
    EXPECT_EQ(gen->Conv_FreqToCode(1000000), 0);
}

TEST(ZyGen4Conversions, StaticConversions) {
    EXPECT_EQ(TZyGen4::Conv_AmplToCode(100), 16383);
    EXPECT_EQ(TZyGen4::Conv_AmplToCode(50), 8191);
    EXPECT_NEAR(TZyGen4::Conv_CodeToAmpl(16383), 100.0, 1e-6);
    EXPECT_EQ(TZyGen4::Conv_PhaseToCode(0), 0);
    EXPECT_EQ(TZyGen4::Conv_PhaseToCode(90), 4096);
    EXPECT_EQ(TZyGen4::Conv_PhaseToCode(180), 8192);
    EXPECT_EQ(TZyGen4::Conv_PhaseToCode(359.995), 16384);
    EXPECT_NEAR(TZyGen4::Conv_CodeToPhase(16383), 359.978, 1e-3);
    EXPECT_NEAR(TZyGen4::Conv_CodeToPhase(16384), 360.0000001 - 1080.0, 1e-6);
    EXPECT_DOUBLE_EQ(TZyGen4::Conv_AmplTodB(100), 0.0);
    EXPECT_NEAR(TZyGen4::Conv_AmplTodB(50), -6.0206, 1e-4);
    EXPECT_DOUBLE_EQ(TZyGen4::Conv_AdBToAmpl(0), 100.0);
    EXPECT_NEAR(TZyGen4::Conv_AdBToAmpl(-20), 10.0, 1e-9);
    EXPECT_DOUBLE_EQ(TZyGen4::Conv_Value(2.5, 1000, 1), 2500.0);
    EXPECT_EQ(TZyGen4::Conv_Value(1234.5678, 1, 1000, -3), 1.235);
    EXPECT_EQ(TZyGen4::Conv_Value(-19.9931, 1, 1, -3), -19.993);
    EXPECT_EQ(TZyGen4::Conv_Value(1e305, 1, 1, -20), 1e305);   // no overflow to inf
    EXPECT_DOUBLE_EQ(TZyGen4::Conv_Value(2.5, 1, 1, 0), 2.0);  // ties to even
    EXPECT_DOUBLE_EQ(TZyGen4::Conv_Value(1250, 1, 1, 2), 1200.0);
}

TEST(ZyGen4Conversions, CodesRoundTiesToEvenAndNeverOverflow) {
    // Phase: 0.5 and 1.5 codes.
    const double half = 0.5 / (16384.0 / 360.0);
    EXPECT_EQ(TZyGen4::Conv_PhaseToCode(half), 0);
    EXPECT_EQ(TZyGen4::Conv_PhaseToCode(3 * half), 2);
    EXPECT_EQ(TZyGen4::Conv_PhaseToCode(std::nan("")), 0);
    EXPECT_EQ(TZyGen4::Conv_PhaseToCode(1e30), 0);
    EXPECT_EQ(TZyGen4::Conv_AmplToCode(std::numeric_limits<double>::infinity()), 0);
}

TEST(ZyGen4Conversions, AmplitudeBelowOneCodeStepGivesZero) {
    EXPECT_EQ(TZyGen4::Conv_AmplToCode(0.5 / 163.84 * 0.99), 0);  // formula: −1
    EXPECT_EQ(TZyGen4::Conv_AmplToCode(0), 0);
    EXPECT_EQ(TZyGen4::Conv_AmplToCode(-5), 0);
    EXPECT_EQ(TZyGen4::Conv_AmplToCode(1.0 / 163.84), 0);
    EXPECT_EQ(TZyGen4::Conv_AmplToCode(2.0 / 163.84), 1);
}

TEST_F(GenFixture, TinyAmplitudeGoesOutAsCodeZero) {
    Connect();
    const auto frames = Cycle([&] {
        A().SetMode(ZGMdC_gen);
        A().Set_sinAmplitude(0.001);
    });
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[3], "02 00 00 00 00 00");
}
