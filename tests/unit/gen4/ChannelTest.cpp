#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "platform/Exceptions.h"
#include "tests/fixtures/GenFixture.h"

namespace {

const TZyGen4ModesCommon kModes[] = {ZGMdC_off,
                                     ZGMdC_gen,
                                     ZGMdC_tuning,
                                     ZGMdC_IntModulation,
                                     ZGMdC_ExtModulation,
                                     ZGMdC_ExtModulationA12,
                                     ZGMdC_ExtModulationAB1,
                                     ZGMdC_LFM,
                                     ZGMdC_DDSMod};

// Modes the other channel loses when this channel enters a mode.
std::set<TZyGen4ModesCommon> SwitchedOff(TZyGen4ModesCommon mode) {
    switch (mode) {
        case ZGMdC_off:
        case ZGMdC_gen:
            return {ZGMdC_ExtModulationAB1};
        case ZGMdC_tuning:
            return {ZGMdC_tuning,           ZGMdC_IntModulation,    ZGMdC_ExtModulation,
                    ZGMdC_ExtModulationA12, ZGMdC_ExtModulationAB1, ZGMdC_LFM};
        case ZGMdC_IntModulation:
            return {ZGMdC_tuning,           ZGMdC_ExtModulation, ZGMdC_ExtModulationA12,
                    ZGMdC_ExtModulationAB1, ZGMdC_LFM,           ZGMdC_DDSMod};
        case ZGMdC_ExtModulation:
            return {ZGMdC_tuning, ZGMdC_IntModulation, ZGMdC_ExtModulationA12,
                    ZGMdC_ExtModulationAB1, ZGMdC_LFM};
        case ZGMdC_ExtModulationA12:
            return {ZGMdC_tuning, ZGMdC_IntModulation, ZGMdC_ExtModulation, ZGMdC_ExtModulationAB1,
                    ZGMdC_LFM};
        case ZGMdC_LFM:
            return {ZGMdC_tuning, ZGMdC_IntModulation, ZGMdC_ExtModulation, ZGMdC_ExtModulationA12,
                    ZGMdC_ExtModulationAB1};
        case ZGMdC_DDSMod:
            return {ZGMdC_IntModulation, ZGMdC_ExtModulationAB1};
        default:
            return {};
    }
}

}  // namespace

// Every pair of modes, with either channel as the one being set: the other
// channel's resulting mode and the OnChModeChange sequence.
TEST(ZyGen4ChannelCompat, AllModePairs) {
    for (bool setA : {true, false}) {
        for (TZyGen4ModesCommon other : kModes) {
            for (TZyGen4ModesCommon mode : kModes) {
                TRecordingDriver driver;
                TFakeTickSource ticks;
                TManualTimerHost timers;
                TZyGen4 gen(nullptr, driver, ticks, timers);
                TZyGen4Channel* self = setA ? static_cast<TZyGen4Channel*>(gen.ChA()) : gen.ChB();
                TZyGen4Channel* that = self->GetOtherCh();
                // Only channel A can hold the sum of the external inputs.
                if (!that->CheckEnableNewMode(other)) continue;
                that->SetMode(other);
                ASSERT_EQ(that->Mode(), other);
                const TZyGen4ModesCommon before = self->Mode();  // AB1 joins both

                std::vector<std::pair<TZyGen4Channel*, bool>> events;
                gen.OnChModeChange = [&](TZyGen4Channel* ch, bool val) {
                    events.emplace_back(ch, val);
                };
                self->SetMode(mode);

                SCOPED_TRACE(std::string(setA ? "A" : "B") + " set to " + std::to_string(mode) +
                             ", other in " + std::to_string(other));
                const bool refused = !setA && mode == ZGMdC_ExtModulationA12;
                if (refused || mode == before) {
                    EXPECT_EQ(self->Mode(), before);
                    EXPECT_EQ(that->Mode(), other);
                    EXPECT_TRUE(events.empty());
                    continue;
                }
                EXPECT_EQ(self->Mode(), mode);
                using Events = std::vector<std::pair<TZyGen4Channel*, bool>>;
                if (mode == ZGMdC_ExtModulationAB1) {
                    EXPECT_EQ(that->Mode(), ZGMdC_ExtModulationAB1);
                    EXPECT_EQ(events, (Events{{self, false}, {that, true}}));
                } else if (SwitchedOff(mode).count(other)) {
                    EXPECT_EQ(that->Mode(), ZGMdC_off);
                    EXPECT_EQ(events, (Events{{self, false}, {that, true}}));
                } else {
                    EXPECT_EQ(that->Mode(), other);
                    EXPECT_EQ(events, (Events{{self, false}}));
                }
                gen.OnChModeChange = nullptr;
            }
        }
    }
}

TEST_F(GenFixture, CarrierRangeChecks) {
    std::vector<std::pair<TZyGen4Parameters, double>> errors;
    gen->OnParamValueError = [&](TZyGen4Channel* ch, TZyGen4Parameters param, double* value) {
        EXPECT_EQ(ch, &A());
        errors.emplace_back(param, *value);
    };
    int cycles = 0;
    gen->AfterUpdate = [&](TZyGen4*) { ++cycles; };
    Connect();
    cycles = 0;

    A().Set_sinFrequency(200000);
    EXPECT_EQ(A().Frequency(), 200000);
    A().Set_sinFrequency(200000.001);
    A().Set_sinFrequency(-1);
    A().Set_sinFrequency(std::nan(""));
    EXPECT_EQ(A().Frequency(), 200000);
    A().Set_sinFrequency(0);
    EXPECT_EQ(A().Frequency(), 0);

    A().SetPhase(359.999);
    EXPECT_EQ(A().Phase(), 359.999);
    A().SetPhase(360);
    A().SetPhase(-0.5);
    EXPECT_EQ(A().Phase(), 359.999);

    // Amplitude is refused without a report.
    A().Set_sinAmplitude(0);
    A().Set_sinAmplitude(100.5);
    A().Set_sinAmplitude(std::nan(""));
    EXPECT_EQ(A().Amplitude(), 100);
    A().Set_sinAmplitude(40);
    EXPECT_EQ(A().Amplitude(), 40);
    A().Set_sinAmplitude(40);  // unchanged: no cycle

    ASSERT_EQ(errors.size(), 5u);
    EXPECT_EQ(errors[0], std::make_pair(ZGP_ChFrequency, 200000.001));
    EXPECT_EQ(errors[1], std::make_pair(ZGP_ChFrequency, -1.0));
    EXPECT_EQ(errors[2].first, ZGP_ChFrequency);
    EXPECT_TRUE(std::isnan(errors[2].second));
    EXPECT_EQ(errors[3], std::make_pair(ZGP_ChPhase, 360.0));
    EXPECT_EQ(errors[4], std::make_pair(ZGP_ChPhase, -0.5));
    EXPECT_EQ(cycles, 4);  // 200000, 0, 359.999, 40
}

TEST_F(GenFixture, RaisingTheCarrierLiftsTheSweepTop) {
    EXPECT_EQ(A().LFM()->FreqTop(), 0);  // built before the carrier was set
    A().Set_sinFrequency(1500.7);
    EXPECT_EQ(A().LFM()->FreqTop(), 1500);
    A().LFM()->SetFreqTop(3000);
    A().Set_sinFrequency(2000);
    EXPECT_EQ(A().LFM()->FreqTop(), 3000);
    A().LFM()->SetFreqTop(1000);  // below the carrier: ignored
    EXPECT_EQ(A().LFM()->FreqTop(), 3000);
}

TEST_F(GenFixture, OverModulationLimitPerMode) {
    EXPECT_EQ(A().GetMaxAmplAvoidOverMod(), 100);
    A().SetMode(ZGMdC_IntModulation);
    EXPECT_EQ(A().GetMaxAmplAvoidOverMod(), 67);  // dA 50
    A().SetMode(ZGMdC_tuning);
    A().Tuner()->SetScale(20);
    EXPECT_EQ(A().GetMaxAmplAvoidOverMod(), 50);
    A().Tuner()->SetScale(21);
    EXPECT_EQ(A().GetMaxAmplAvoidOverMod(), 0);
    A().Tuner()->SetScale(INT32_MIN);
    EXPECT_EQ(A().GetMaxAmplAvoidOverMod(), 100);
    A().SetMode(ZGMdC_ExtModulationA12);
    A().ExtModulation()->SetScale(19);
    EXPECT_EQ(A().GetMaxAmplAvoidOverMod(), 75);
}

TEST_F(GenFixture, OverModulationQuestionBeforeAmplitudeTuning) {
    std::vector<double> asked;
    gen->OnOverModulation = [&](TZyGen4Channel* ch, double max) {
        EXPECT_EQ(ch, &A());
        // No polling while the question is open.
        EXPECT_FALSE(A().Tuner()->ADCTimerEnabled());
        asked.push_back(max);
    };
    A().SetMode(ZGMdC_tuning);
    A().Tuner()->SetADCTimerEnabled(true);
    A().Tuner()->SetType(ZGAFPms_ampl);
    A().Tuner()->SetScale(20);
    A().Set_sinAmplitude(80);
    // Inactive: the check runs, nothing is sent.
    auto start = [&] { A().SetModeTuning(); };
    start();
    EXPECT_EQ(asked, std::vector<double>{50});
    EXPECT_TRUE(A().Tuner()->ADCTimerEnabled());

    gen->Options()->SetOverModulationNotify(false);
    start();
    gen->Options()->SetOverModulationNotify(true);
    A().Tuner()->SetType(ZGAFPms_freq);  // not the amplitude
    start();
    A().Tuner()->SetType(ZGAFPms_ampl);
    A().Set_sinAmplitude(50);  // at the limit
    start();
    EXPECT_EQ(asked.size(), 1u);

    // An answer whose nested cycle fails still gives the polling back.
    A().Set_sinAmplitude(80);
    gen->OnOverModulation = [&](TZyGen4Channel*, double) { throw Exception("link"); };
    EXPECT_THROW(start(), Exception);
    EXPECT_TRUE(A().Tuner()->ADCTimerEnabled());
}

TEST_F(GenFixture, TunerPollsOnlyWhileTuningOnALiveLink) {
    TZyGen4Tuner& tuner = *A().Tuner();
    gen->SetAutoUpdate(false);
    tuner.SetADCTimerEnabled(true);
    A().SetMode(ZGMdC_tuning);
    gen->UpdateDependentTimers();
    EXPECT_FALSE(tuner.ADCTimerRunning());  // inactive
    gen->SetActive(true);
    gen->UpdateDependentTimers();
    ASSERT_TRUE(tuner.ADCTimerRunning());
    EXPECT_EQ(timers.RunningCount(), 1);
    tuner.SetADCTimerInterval(-5);
    EXPECT_EQ(tuner.ADCTimerInterval(), 500);
    tuner.SetADCTimerInterval(0);
    EXPECT_FALSE(tuner.ADCTimerRunning());
    tuner.SetADCTimerInterval(250);
    EXPECT_TRUE(tuner.ADCTimerRunning());
    gen->SetActive(false);
    EXPECT_EQ(timers.RunningCount(), 0);

    gen->SetActive(true);
    timers.SetRefuseNew(true);
    try {
        gen->UpdateDependentTimers();
        ADD_FAILURE() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message(), "Невозможно создать таймер!");
    }
    EXPECT_FALSE(tuner.ADCTimerRunning());
}

// Engine setters: unchanged or refused values start no cycle; accepted ones do.
TEST_F(GenFixture, EngineSettersRangesAndUpdates) {
    std::vector<std::pair<TZyGen4Parameters, double>> errors;
    gen->OnParamValueError = [&](TZyGen4Channel*, TZyGen4Parameters param, double* value) {
        errors.emplace_back(param, *value);
    };
    int cycles = 0;
    gen->AfterUpdate = [&](TZyGen4*) { ++cycles; };
    Connect();
    auto updates = [&](auto change) {
        cycles = 0;
        change();
        return cycles;
    };

    TZyGen4IntModulation& im = *B().IntModulation();
    EXPECT_EQ(updates([&] {
                  im.SetFm(0);
                  im.SetFm(20001);
                  im.SetFm(1000);
              }),
              0);
    EXPECT_EQ(updates([&] {
                  im.SetdA(101);
                  im.SetdA(-1);
                  im.SetdPh(-1);
                  im.SetdPh(181);
              }),
              0);
    EXPECT_EQ(updates([&] {
                  im.SetdF(2000001);
                  im.SetType(ZGAFPms_freq);
              }),
              0);
    EXPECT_EQ(updates([&] {
                  im.SetFm(20000);
                  im.SetdA(0);
                  im.SetdF(2000000);
                  im.SetdPh(180);
              }),
              4);
    EXPECT_EQ(updates([&] { im.SetCC(2); }), 1);  // refused by the table, update anyway
    EXPECT_EQ(im.GetCC(), 0.5);
    EXPECT_EQ(updates([&] {
                  im.SetCC(0.5);
                  im.SetMathFuncType(ZMFT_sin);
              }),
              0);
    EXPECT_EQ(updates([&] {
                  im.SetCC(0.25);
                  im.SetMathFuncType(ZMFT_rect);
              }),
              2);
    EXPECT_EQ(im.GetMathFuncType(), ZMFT_rect);

    TZyGen4LFM& lfm = *B().LFM();
    EXPECT_EQ(updates([&] {
                  lfm.SetTinc0(5);
                  lfm.SetTdec1(10000001);
                  lfm.SetTinc0(0);
              }),
              0);  // 0 is the stored value: not even checked
    EXPECT_EQ(updates([&] {
                  lfm.SetTinc0(10);
                  lfm.SetTinc1(10000000);
                  lfm.SetTdec0(1000);
              }),
              3);

    TZyGen4DDSMod& dm = *B().DDSMod();
    EXPECT_EQ(updates([&] {
                  dm.SetT1(10);
                  dm.SetT4(1300001);
                  dm.SetT2(1000);
              }),
              0);
    EXPECT_EQ(updates([&] {
                  dm.SetF1(200001);
                  dm.SetPh2(360);
                  dm.SetType(ZGAFPms_ampl);
              }),
              0);
    EXPECT_EQ(updates([&] {
                  dm.SetFm(199);
                  dm.Set_dF(-1);
                  dm.Set_dPh(181);
              }),
              0);
    EXPECT_EQ(updates([&] {
                  dm.SetReadingsCntMin(15);
                  dm.SetReadingsCntMin(1025);
              }),
              0);
    EXPECT_EQ(dm.Type(), ZGAFPms_freq);
    EXPECT_EQ(updates([&] {
                  dm.SetT1(20);
                  dm.SetF4(200000);
                  dm.SetPh4(0);
                  dm.SetFm(1500000);
              }),
              4);
    EXPECT_EQ(updates([&] {
                  dm.SetUseExtTimes(true);
                  dm.SetType(ZGAFPms_phase);
              }),
              2);

    TZyGen4ExtModulation& em = *B().ExtModulation();
    EXPECT_EQ(updates([&] {
                  em.SetScale(0);
                  em.SetType(ZGAFPms_freq);
              }),
              0);
    EXPECT_EQ(updates([&] {
                  em.SetScale(300);
                  em.SetType(ZGAFPms_phase);
              }),
              2);
    EXPECT_EQ(em.GetTypeAsInt(), 2);

    using Errors = std::vector<std::pair<TZyGen4Parameters, double>>;
    EXPECT_EQ(errors, (Errors{{ZGP_LFMTime, 5},
                              {ZGP_LFMTime, 10000001},
                              {ZGP_DDSModTime, 10},
                              {ZGP_DDSModTime, 1300001},
                              {ZGP_ChFrequency, 200001},
                              {ZGP_ChPhase, 360}}));
}
