#include <cmath>
#include <functional>
#include <optional>
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

// Engine setters at each end of their ranges: the first value refused starts
// no cycle and keeps the old value (reporting it where the setter reports);
// the last value accepted is stored and starts one cycle; setting it again
// starts none.
TEST_F(GenFixture, EngineSettersTakeTheirRangesAndUpdateOnce) {
    using TIM = TZyGen4IntModulation;
    using TD = TZyGen4DDSMod;
    using TL = TZyGen4LFM;
    using TTu = TZyGen4Tuner;
    TIM& im = *B().IntModulation();
    TD& dm = *B().DDSMod();
    TL& lfm = *B().LFM();
    TTu& tu = *B().Tuner();
    const double phaseBelow360 = std::nextafter(360.0, 0.0);
    struct TRow {
        const char* property;
        std::function<void(double)> set;
        std::function<double()> get;
        double lastAccepted, firstRefused;
        std::optional<TZyGen4Parameters> reported;  // the code OnParamValueError gets
        bool cycles = true;                         // false: only the timer restarts
    };
    // Each property's top end first, so that its bottom end is a change too.
    const TRow rows[] = {
        {"IntModulation.Fm",
         [&](double v) { im.SetFm(static_cast<int>(v)); },
         [&] { return im.Fm(); },
         TIM::kFmRange.hi,
         TIM::kFmRange.hi + 1.0,
         {}},
        {"IntModulation.Fm",
         [&](double v) { im.SetFm(static_cast<int>(v)); },
         [&] { return im.Fm(); },
         TIM::kFmRange.lo,
         TIM::kFmRange.lo - 1.0,
         {}},
        {"IntModulation.dA",
         [&](double v) { im.SetdA(static_cast<int>(v)); },
         [&] { return im.dA(); },
         TIM::kdARange.hi,
         TIM::kdARange.hi + 1.0,
         {}},
        {"IntModulation.dA",
         [&](double v) { im.SetdA(static_cast<int>(v)); },
         [&] { return im.dA(); },
         TIM::kdARange.lo,
         TIM::kdARange.lo - 1.0,
         {}},
        {"IntModulation.dF",
         [&](double v) { im.SetdF(static_cast<int>(v)); },
         [&] { return im.dF(); },
         TIM::kdFRange.hi,
         TIM::kdFRange.hi + 1.0,
         {}},
        {"IntModulation.dF",
         [&](double v) { im.SetdF(static_cast<int>(v)); },
         [&] { return im.dF(); },
         TIM::kdFRange.lo,
         TIM::kdFRange.lo - 1.0,
         {}},
        {"IntModulation.dPh",
         [&](double v) { im.SetdPh(static_cast<int>(v)); },
         [&] { return im.dPh(); },
         TIM::kdPhRange.hi,
         TIM::kdPhRange.hi + 1.0,
         {}},
        {"IntModulation.dPh",
         [&](double v) { im.SetdPh(static_cast<int>(v)); },
         [&] { return im.dPh(); },
         TIM::kdPhRange.lo,
         TIM::kdPhRange.lo - 1.0,
         {}},
        {"Tuner.ADCTimerInterval",
         [&](double v) { tu.SetADCTimerInterval(static_cast<int>(v)); },
         [&] { return tu.ADCTimerInterval(); },
         TTu::kADCTimerIntervalRange.lo,
         TTu::kADCTimerIntervalRange.lo - 1.0,
         {},
         false},
        {"LFM.Tinc0", [&](double v) { lfm.SetTinc0(static_cast<int>(v)); },
         [&] { return lfm.Tinc0(); }, TL::kTimeRange.hi, TL::kTimeRange.hi + 1.0, ZGP_LFMTime},
        {"LFM.Tinc0", [&](double v) { lfm.SetTinc0(static_cast<int>(v)); },
         [&] { return lfm.Tinc0(); }, TL::kTimeRange.lo, TL::kTimeRange.lo - 1.0, ZGP_LFMTime},
        {"LFM.Tdec1", [&](double v) { lfm.SetTdec1(static_cast<int>(v)); },
         [&] { return lfm.Tdec1(); }, TL::kTimeRange.hi, TL::kTimeRange.hi + 1.0, ZGP_LFMTime},
        {"LFM.Tdec1", [&](double v) { lfm.SetTdec1(static_cast<int>(v)); },
         [&] { return lfm.Tdec1(); }, TL::kTimeRange.lo, TL::kTimeRange.lo - 1.0, ZGP_LFMTime},
        {"DDSMod.T1", [&](double v) { dm.SetT1(v); }, [&] { return dm.T1(); }, TD::kTimeRange.hi,
         std::nextafter(TD::kTimeRange.hi, 1e9), ZGP_DDSModTime},
        {"DDSMod.T4", [&](double v) { dm.SetT4(v); }, [&] { return dm.T4(); }, TD::kTimeRange.lo,
         std::nextafter(TD::kTimeRange.lo, 0.0), ZGP_DDSModTime},
        {"DDSMod.F1", [&](double v) { dm.SetF1(v); }, [&] { return dm.F1(); },
         TZyGen4Channel::kMaxFrequency, std::nextafter(TZyGen4Channel::kMaxFrequency, 1e9),
         ZGP_ChFrequency},
        {"DDSMod.F1", [&](double v) { dm.SetF1(v); }, [&] { return dm.F1(); }, 0.0, -0.5,
         ZGP_ChFrequency},
        {"DDSMod.Ph2", [&](double v) { dm.SetPh2(v); }, [&] { return dm.Ph2(); }, phaseBelow360,
         360.0, ZGP_ChPhase},
        {"DDSMod.dF",
         [&](double v) { dm.Set_dF(v); },
         [&] { return dm.dF(); },
         TD::kdFRange.hi,
         std::nextafter(TD::kdFRange.hi, 1e9),
         {}},
        {"DDSMod.dF",
         [&](double v) { dm.Set_dF(v); },
         [&] { return dm.dF(); },
         TD::kdFRange.lo,
         -1e-9,
         {}},
        {"DDSMod.dPh",
         [&](double v) { dm.Set_dPh(v); },
         [&] { return dm.dPh(); },
         TD::kdPhRange.hi,
         std::nextafter(TD::kdPhRange.hi, 1e9),
         {}},
        {"DDSMod.dPh",
         [&](double v) { dm.Set_dPh(v); },
         [&] { return dm.dPh(); },
         TD::kdPhRange.lo,
         -1e-9,
         {}},
        {"DDSMod.Fm",
         [&](double v) { dm.SetFm(v); },
         [&] { return dm.Fm(); },
         TD::kFmRange.hi,
         std::nextafter(TD::kFmRange.hi, 1e9),
         {}},
        {"DDSMod.Fm",
         [&](double v) { dm.SetFm(v); },
         [&] { return dm.Fm(); },
         TD::kFmRange.lo,
         std::nextafter(TD::kFmRange.lo, 0.0),
         {}},
        {"DDSMod.ReadingsCntMin",
         [&](double v) { dm.SetReadingsCntMin(static_cast<int>(v)); },
         [&] { return dm.ReadingsCntMin(); },
         TD::kReadingsCntMinRange.hi,
         TD::kReadingsCntMinRange.hi + 1.0,
         {}},
        {"DDSMod.ReadingsCntMin",
         [&](double v) { dm.SetReadingsCntMin(static_cast<int>(v)); },
         [&] { return dm.ReadingsCntMin(); },
         TD::kReadingsCntMinRange.lo,
         TD::kReadingsCntMinRange.lo - 1.0,
         {}},
    };

    std::vector<std::pair<TZyGen4Parameters, double>> reports;
    gen->OnParamValueError = [&](TZyGen4Channel*, TZyGen4Parameters param, double* value) {
        reports.emplace_back(param, *value);
    };
    int cycles = 0;
    gen->AfterUpdate = [&](TZyGen4*) { ++cycles; };
    Connect();
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.property << ", last accepted " << row.lastAccepted);
        const double before = row.get();
        cycles = 0;
        reports.clear();
        row.set(row.firstRefused);
        EXPECT_EQ(row.get(), before);
        EXPECT_EQ(cycles, 0);
        using TReports = std::vector<std::pair<TZyGen4Parameters, double>>;
        const TReports expected =
            row.reported ? TReports{{*row.reported, row.firstRefused}} : TReports{};
        EXPECT_EQ(reports, expected);

        row.set(row.lastAccepted);
        EXPECT_EQ(row.get(), row.lastAccepted);
        EXPECT_EQ(cycles, row.cycles && before != row.lastAccepted ? 1 : 0);
        cycles = 0;
        row.set(row.lastAccepted);
        EXPECT_EQ(cycles, 0);
        EXPECT_EQ(reports, expected);
    }
}

// The setters without a range: a change starts one cycle, the same value
// none, and the few values a setter refuses are dropped silently.
TEST_F(GenFixture, EngineSettersWithoutARangeUpdateOnChange) {
    int cycles = 0;
    gen->AfterUpdate = [&](TZyGen4*) { ++cycles; };
    gen->OnParamValueError = [](TZyGen4Channel*, TZyGen4Parameters, double*) {
        ADD_FAILURE() << "no value here is reported";
    };
    Connect();
    auto updates = [&](auto change) {
        cycles = 0;
        change();
        return cycles;
    };
    TZyGen4IntModulation& im = *B().IntModulation();
    TZyGen4DDSMod& dm = *B().DDSMod();
    TZyGen4ExtModulation& em = *B().ExtModulation();
    TZyGen4LFM& lfm = *B().LFM();

    EXPECT_EQ(updates([&] { im.SetCC(2); }), 1);  // refused by the table, update anyway
    EXPECT_EQ(im.GetCC(), 0.5);
    EXPECT_EQ(updates([&] {
                  im.SetCC(0.5);
                  im.SetMathFuncType(ZMFT_sin);
                  im.SetType(ZGAFPms_freq);
                  em.SetScale(0);
                  em.SetType(ZGAFPms_freq);
                  dm.SetType(ZGAFPms_ampl);  // amplitude keying does not exist
                  lfm.SetTinc0(0);           // the stored value: not even checked
              }),
              0);
    EXPECT_EQ(dm.Type(), ZGAFPms_freq);
    EXPECT_EQ(updates([&] {
                  im.SetCC(0.25);
                  im.SetMathFuncType(ZMFT_rect);
                  dm.SetUseExtTimes(true);
                  dm.SetType(ZGAFPms_phase);
                  em.SetScale(300);
                  em.SetType(ZGAFPms_phase);
              }),
              6);
    EXPECT_EQ(im.GetMathFuncType(), ZMFT_rect);
    EXPECT_EQ(em.GetTypeAsInt(), 2);
    // The sweep's top follows the carrier: below it is dropped silently.
    EXPECT_EQ(updates([&] { lfm.SetFreqTop(static_cast<int>(B().Frequency()) - 1); }), 0);
    EXPECT_EQ(updates([&] { lfm.SetFreqTop(static_cast<int>(B().Frequency()) + 1); }), 1);
}
