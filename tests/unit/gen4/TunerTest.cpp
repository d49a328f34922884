#include <string>
#include <vector>

#include "gen4/engines/ZyGen4Tuner.h"
#include "platform/Exceptions.h"
#include "tests/fixtures/GenFixture.h"

namespace {
using Wire = std::vector<std::string>;
}

TEST_F(GenFixture, AmplitudeTuningOnChannelB) {
    Connect();
    const Wire frames = Cycle([&] {
        B().SetMode(ZGMdC_tuning);
        B().Tuner()->SetType(ZGAFPms_ampl);
        B().Tuner()->SetScale(3);
    });
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F9 00 00 00 00 00", "14 00 A3 D7 0A 00",
                            "12 3F FF 00 00 00", "15 00 00 00 00 00", "2A 3F FF 00 00 00",
                            "E2 03 00 00 00 00"}));
}

// The carrier value of the tuned parameter, then its tuning command with the
// scale's low byte.
TEST_F(GenFixture, FrequencyAndPhaseTuningStarts) {
    struct TCase {
        TZyGen4AFPModes type;
        int scale;
        Wire tail;
    };
    const TCase cases[] = {
        {ZGAFPms_freq, 1, {"29 00 A3 D7 0A 00", "81 01 00 00 00 00"}},
        {ZGAFPms_phase, 0x105, {"29 20 00 00 00 00", "84 05 00 00 00 00"}},
    };
    Connect();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const Wire frames = Cycle([&] {
            A().SetMode(ZGMdC_tuning);
            A().SetPhase(180);
            A().Tuner()->SetType(c.type);
            A().Tuner()->SetScale(c.scale);
        });
        ASSERT_EQ(frames.size(), 7u);
        EXPECT_EQ(Wire(frames.end() - 2, frames.end()), c.tail);
    }
}

// Each tick sends the one-byte read command, takes the 4-byte reply most
// significant byte first and reports it; amplitude and phase use the upper half.
TEST_F(GenFixture, TunerReadsTheADCOnEachTick) {
    struct TCase {
        TZyGen4AFPModes type;
        unsigned expected;
    };
    const TCase cases[] = {
        {ZGAFPms_freq, 305419896u}, {ZGAFPms_ampl, 0x1234u}, {ZGAFPms_phase, 0x1234u}};
    std::vector<TZyGen4Channel*> ticks;
    gen->OnADCTimer = [&](TZyGen4Channel* ch) { ticks.push_back(ch); };
    Connect();
    B().Tuner()->SetADCTimerEnabled(true);
    B().SetMode(ZGMdC_tuning);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        B().Tuner()->SetType(c.type);
        driver.Clear();
        driver.QueueRead({0x12, 0x34, 0x56, 0x78});
        timers.Advance(500);
        EXPECT_EQ(B().Tuner()->ADCValue(), c.expected);
        EXPECT_EQ(Frames(), Wire{"FD"});
    }
    EXPECT_EQ(ticks, (std::vector<TZyGen4Channel*>(3, &B())));
}

// The timer runs only when all four conditions hold.
TEST_F(GenFixture, TunerTimerNeedsAllFourConditions) {
    struct TCase {
        int interval;
        bool enabled, active, tuning, running;
    };
    const TCase cases[] = {
        {500, true, true, true, true},   {0, true, true, true, false},
        {500, false, true, true, false}, {500, true, false, true, false},
        {500, true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.interval << c.enabled << c.active << c.tuning);
        gen->SetActive(false);
        A().SetMode(c.tuning ? ZGMdC_tuning : ZGMdC_gen);
        A().Tuner()->SetADCTimerInterval(c.interval);
        A().Tuner()->SetADCTimerEnabled(c.enabled);
        gen->SetActive(c.active);
        gen->UpdateMode();
        EXPECT_EQ(A().Tuner()->ADCTimerRunning(), c.running);
        EXPECT_EQ(timers.RunningCount(), c.running ? 1 : 0);
    }
}

// An unplugged instrument: the failed exchange stops the polling before its
// error leaves, so one failure gives one message; the next cycle re-arms it.
TEST_F(GenFixture, FailedPollStopsTheTimerUntilTheNextCycle) {
    int ftErrors = 0, reports = 0;
    gen->OnFTError = [&](TZyGen4*) { ++ftErrors; };
    gen->OnADCTimer = [&](TZyGen4Channel*) { ++reports; };
    Connect();
    A().Tuner()->SetADCTimerEnabled(true);
    A().SetMode(ZGMdC_tuning);
    driver.QueueRead({0, 0, 0, 7});
    timers.Advance(500);
    ASSERT_EQ(A().Tuner()->ADCValue(), 7u);

    driver.FailRead(driver.ReadCount() + 1);
    try {
        timers.Advance(500);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Ошибка при чтении данных из FTPort");
    }
    EXPECT_FALSE(A().Tuner()->ADCTimerRunning());
    EXPECT_EQ(timers.RunningCount(), 0);
    EXPECT_EQ(ftErrors, 1);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(A().Tuner()->ADCValue(), 7u);
    timers.Advance(5000);  // nothing left to fire
    EXPECT_EQ(ftErrors, 1);

    // A failed read command stops it the same way.
    gen->UpdateMode();
    ASSERT_TRUE(A().Tuner()->ADCTimerRunning());
    driver.FailWrite(driver.WriteCount() + 1);
    EXPECT_THROW(timers.Advance(500), Exception);
    EXPECT_FALSE(A().Tuner()->ADCTimerRunning());

    gen->UpdateMode();
    EXPECT_TRUE(A().Tuner()->ADCTimerRunning());
}

// Lowering the amplitude from the overmodulation question runs a nested cycle
// while polling is held off; the interrupted cycle then finishes with the new
// amplitude and polling runs again, once.
TEST_F(GenFixture, OverModulationAnswerDuringTuningStart) {
    Connect();
    gen->SetAutoUpdate(false);
    A().SetMode(ZGMdC_tuning);
    A().Tuner()->SetType(ZGAFPms_ampl);
    A().Tuner()->SetScale(20);  // limit 50 %
    A().Tuner()->SetADCTimerEnabled(true);
    gen->OnOverModulation = [&](TZyGen4Channel* ch, double max) {
        EXPECT_EQ(max, 50);
        ch->Set_sinAmplitude(40);
        EXPECT_FALSE(A().Tuner()->ADCTimerRunning());
    };
    driver.Clear();
    gen->SetAutoUpdate(true);
    const Wire channelA{"F1 00 00 00 00 00", "04 00 A3 D7 0A 00", "02 19 99 00 00 00",
                        "05 00 00 00 00 00", "29 19 99 00 00 00", "82 14 00 00 00 00"};
    Wire expected{"F0 00 00 00 00 00", "F0 00 00 00 00 00"};
    expected.insert(expected.end(), channelA.begin(), channelA.end());
    expected.insert(expected.end(), channelA.begin(), channelA.end());
    EXPECT_EQ(Frames(), expected);
    EXPECT_TRUE(A().Tuner()->ADCTimerRunning());
    EXPECT_EQ(timers.RunningCount(), 1);
}

// A link error in the nested cycle of the answer leaves polling allowed, not
// switched off for good; the timer waits for the next cycle.
TEST_F(GenFixture, FailedOverModulationAnswerKeepsPollingEnabled) {
    Connect();
    gen->SetAutoUpdate(false);
    A().SetMode(ZGMdC_tuning);
    A().Tuner()->SetType(ZGAFPms_ampl);
    A().Tuner()->SetScale(20);  // limit 50 %
    A().Tuner()->SetADCTimerEnabled(true);
    gen->OnOverModulation = [&](TZyGen4Channel* ch, double) {
        driver.FailWrite(driver.WriteCount() + 1);  // the nested cycle's reset
        ch->Set_sinAmplitude(40);
    };
    EXPECT_THROW(gen->SetAutoUpdate(true), Exception);
    EXPECT_TRUE(A().Tuner()->ADCTimerEnabled());
    EXPECT_FALSE(A().Tuner()->ADCTimerRunning());

    gen->OnOverModulation = nullptr;
    gen->UpdateMode();
    EXPECT_TRUE(A().Tuner()->ADCTimerRunning());
}
