#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "tests/fixtures/GenFixture.h"

using Wire = std::vector<std::string>;

TEST_F(GenFixture, BothChannelsGeneratingSendTenFramesWithTheirPauses) {
    Connect();
    const uint32_t t0 = ticks.GetTickCount();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_gen);
        B().SetMode(ZGMdC_gen);
    });
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00",
                            "02 3F FF 00 00 00", "05 00 00 00 00 00", "F9 00 00 00 00 00",
                            "14 00 A3 D7 0A 00", "12 3F FF 00 00 00", "15 00 00 00 00 00",
                            "7F 00 00 00 00 00"}));
    EXPECT_GE(ticks.GetTickCount() - t0, 200u);
}

TEST_F(GenFixture, ChannelBAloneIsTheFirstOfThePair) {
    Connect();
    const Wire frames = Cycle([&] {
        B().SetMode(ZGMdC_gen);
        B().Set_sinFrequency(10000);
        B().Set_sinAmplitude(50);
        B().SetPhase(90);
    });
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F9 00 00 00 00 00", "14 06 66 66 66 00",
                            "12 1F FF 00 00 00", "15 10 00 00 00 00", "7F 00 00 00 00 00"}));
}

TEST_F(GenFixture, OffChannelsGetOnlyTheResetAndTheClockMultiplier) {
    int after = 0;
    gen->AfterUpdate = [&](TZyGen4* sender) {
        EXPECT_EQ(sender, gen.get());
        ++after;
    };
    gen->UpdateMode();  // inactive: nothing
    EXPECT_EQ(after, 0);
    Connect();
    EXPECT_EQ(after, 1);
    gen->UpdateMode();
    EXPECT_EQ(Frames(), Wire{"F0 00 00 00 00 00"});
    EXPECT_EQ(after, 2);

    driver.Clear();
    gen->SetUseExtRefFreq(true);  // runs a cycle
    EXPECT_EQ(Frames(), (Wire{"F0 00 00 00 00 00", "E5 10 00 00 00 00"}));
    gen->SetFreqScale(300);  // no cycle; the low byte goes out next time
    gen->UpdateMode();
    EXPECT_EQ(Frames().back(), "E5 2C 00 00 00 00");
}

TEST_F(GenFixture, ClockFollowsTheReferenceOnlyWhenExternal) {
    gen->SetRefFreq(30);
    gen->SetFreqScale(10);
    EXPECT_EQ(gen->RefFreq(), 25.0);
    EXPECT_EQ(gen->FreqScale(), 16);
    gen->SetUseExtRefFreq(true);
    gen->SetRefFreq(30);
    gen->SetFreqScale(10);
    EXPECT_EQ(gen->GenFreq(), 300.0);
    gen->SetFreqScale(3);
    EXPECT_EQ(gen->FreqScale(), 0);
    gen->SetUseExtRefFreq(false);
    EXPECT_EQ(gen->RefFreq(), 25.0);
    EXPECT_EQ(gen->FreqScale(), 16);
    EXPECT_EQ(gen->GenFreq(), 400.0);
}

TEST_F(GenFixture, LinkErrorStopsTheCycleWhereItHappens) {
    Connect();
    gen->SetAutoUpdate(false);
    A().SetMode(ZGMdC_gen);
    B().SetMode(ZGMdC_gen);
    int errors = 0, after = 0;
    gen->OnFTError = [&](TZyGen4*) { ++errors; };
    gen->AfterUpdate = [&](TZyGen4*) { ++after; };
    driver.Clear();
    driver.FailWrite(driver.WriteCount() + 4);  // channel A's amplitude
    EXPECT_THROW(gen->SetAutoUpdate(true), Exception);
    EXPECT_EQ(Frames().size(), 4u);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(gen->GetActive());
    EXPECT_EQ(A().Frequency(), 1000);
}

TEST_F(GenFixture, AutoUpdateOffCollectsChangesIntoOneCycle) {
    Connect();
    int after = 0;
    gen->AfterUpdate = [&](TZyGen4*) { ++after; };
    gen->SetAutoUpdate(false);
    A().SetMode(ZGMdC_gen);
    A().Set_sinFrequency(2000);
    A().SetPhase(45);
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(Frames().empty());
    gen->SetAutoUpdate(true);
    EXPECT_EQ(after, 1);
    gen->SetAutoUpdate(true);  // unchanged
    EXPECT_EQ(after, 1);
}

TEST_F(GenFixture, DuplexOptionReappliesOnlyWhenBothChannelsModulate) {
    Connect();
    gen->Options()->SetEnableDuplexIntMod(true);  // A and B off: no cycle
    EXPECT_TRUE(Frames().empty());
    gen->SetAutoUpdate(false);
    A().SetMode(ZGMdC_IntModulation);
    B().SetMode(ZGMdC_IntModulation);
    gen->SetAutoUpdate(true);
    driver.Clear();
    gen->Options()->SetEnableDuplexIntMod(false);
    ASSERT_FALSE(Frames().empty());
    EXPECT_EQ(Frames().front(), "F0 00 00 00 00 00");
    EXPECT_FALSE(gen->Options()->EnableDuplexIntMod());
}

TEST_F(GenFixture, BothChannelsFromInputOneDrivenByChannelA) {
    Connect();
    const Wire frames = Cycle([&] { B().SetMode(ZGMdC_ExtModulationAB1); });
    ASSERT_EQ(A().Mode(), ZGMdC_ExtModulationAB1);
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F9 00 00 00 00 00", "14 00 A3 D7 0A 00",
                            "12 3F FF 00 00 00", "15 00 00 00 00 00", "F1 00 00 00 00 00",
                            "04 00 A3 D7 0A 00", "02 3F FF 00 00 00", "05 00 00 00 00 00",
                            "29 00 A3 D7 0A 00", "B2 00 03 00 00 00"}));
}

TEST_F(GenFixture, ModesGoOutInTheCycleOrder) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_DDSMod);  // keying comes after plain generation
        B().SetMode(ZGMdC_gen);
    });
    ASSERT_GE(frames.size(), 8u);
    EXPECT_EQ(frames[0], "F0 00 00 00 00 00");
    EXPECT_EQ(frames[1], "F9 00 00 00 00 00");
    EXPECT_EQ(frames[5], "7F 00 00 00 00 00");
    EXPECT_EQ(frames[6], "F1 00 00 00 00 00");
}
