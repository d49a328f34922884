#include <algorithm>
#include <array>
#include <string>

#include "platform/Exceptions.h"
#include "tests/fixtures/SimGenFixture.h"

namespace {

TEST_F(SimGenFixture, PlainGenerationOfBothChannelsMatchesTheModel) {
    struct TCarrier {
        double kHz, percent, degrees;
    };
    const TCarrier cases[] = {
        {1000, 100, 0}, {0, 50, 90}, {200000, 0.5, 359.99}, {12345.678, 33.3, 180.5}};
    gen->SetAutoUpdate(false);
    gen->SetActive(true);
    ASSERT_TRUE(gen->GetActive());
    for (const auto& a : cases) {
        for (const auto& b : cases) {
            Cycle([&] {
                A().SetMode(ZGMdC_gen);
                B().SetMode(ZGMdC_gen);
                A().Set_sinFrequency(a.kHz);
                A().Set_sinAmplitude(a.percent);
                A().SetPhase(a.degrees);
                B().Set_sinFrequency(b.kHz);
                B().Set_sinAmplitude(b.percent);
                B().SetPhase(b.degrees);
            });
            EXPECT_TRUE(SimA().output);
            EXPECT_TRUE(SimB().output);
            ExpectCarrier(A(), SimA());
            ExpectCarrier(B(), SimB());
        }
    }
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
    EXPECT_NE(Report().find("A.mode=ZGMdC_gen"), std::string::npos);
}

TEST_F(SimGenFixture, ChannelOffGetsNothingAfterTheReset) {
    Cycle([&] {
        gen->SetActive(true);
        B().SetMode(ZGMdC_gen);
    });
    EXPECT_FALSE(SimA().output);
    EXPECT_TRUE(SimB().output);
    EXPECT_NE(Report().find("A.mode=ZGMdC_off"), std::string::npos);
    EXPECT_NE(Report().find("B.mode=ZGMdC_gen"), std::string::npos);
    // Switching off resets the instrument and closes the link.
    gen->SetActive(false);
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_FALSE(SimB().output);
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
}

TEST_F(SimGenFixture, ExternalReferenceClockReachesTheInstrument) {
    sim.SetExternalRefMHz(10);
    Cycle([&] {
        gen->SetActive(true);
        gen->SetUseExtRefFreq(true);
        gen->SetRefFreq(10);
        gen->SetFreqScale(20);
        A().SetMode(ZGMdC_gen);
        A().Set_sinFrequency(54321.5);
    });
    EXPECT_DOUBLE_EQ(gen->GenFreq(), 200.0);
    EXPECT_DOUBLE_EQ(sim.ClockMHz(), 200.0);
    ExpectCarrier(A(), SimA());
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
}

// Each injected fault gives the link's error and leaves a model that the next
// cycle brings to the instrument in full.
TEST_F(SimGenFixture, FaultsGiveAClearErrorAndTheNextCycleRecovers) {
    struct TCase {
        const char* name;
        void (*arm)(TVirtualInstrument&, int64_t k);
        const char* message;
    };
    const TCase cases[] = {
        {"write fails", [](TVirtualInstrument& s, int64_t k) { s.FailWrite(k); },
         "Ошибка при записи команды в FTPort"},
        {"write short", [](TVirtualInstrument& s, int64_t k) { s.ShortWrite(k); },
         "Ошибка при записи команды в FTPort"},
    };
    for (const auto& c : cases) {
        TVirtualInstrument local;
        TFakeTickSource t;
        TZyGen4 g(nullptr, local, t, timers);
        g.SetAutoUpdate(false);
        g.SetActive(true);
        g.ChA()->SetMode(ZGMdC_gen);
        g.ChB()->SetMode(ZGMdC_gen);
        g.ChB()->Set_sinFrequency(2500);
        // The cycle's sixth write is channel B's output switch.
        c.arm(local, local.WriteCount() + 6);
        try {
            g.SetAutoUpdate(true);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message) << c.name;
        }
        EXPECT_TRUE(g.GetActive()) << c.name;
        EXPECT_FALSE(local.State().ch[1].output) << c.name;
        EXPECT_DOUBLE_EQ(g.ChB()->Frequency(), 2500) << c.name;
        g.UpdateMode();
        EXPECT_TRUE(local.State().ch[1].output) << c.name;
        EXPECT_NEAR(local.State().FrequencyHz(local.State().ch[1].freqCode), 2500e3, 0.1);
        g.SetActive(false);
    }
}

TEST_F(SimGenFixture, FailedOpenLeavesTheGeneratorInactive) {
    sim.FailOpen();
    bool reported = false;
    gen->OnFTError = [&](TZyGen4*) { reported = true; };
    gen->SetActive(true);
    EXPECT_FALSE(gen->GetActive());
    EXPECT_TRUE(reported);
    EXPECT_EQ(gen->Status(), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(sim.FrameCount(), 0u);
}

}  // namespace

namespace {

TEST_F(SimGenFixture, SynchronousSweepLoadsBothChannelsAndStartsOnce) {
    Cycle([&] {
        gen->SetActive(true);
        A().SetMode(ZGMdC_LFM);
        B().SetMode(ZGMdC_LFM);
        A().Set_sinFrequency(1000);
        A().LFM()->SetFreqTop(2000);
        A().LFM()->SetTinc0(1000);
        A().LFM()->SetTdec0(4000);
        B().Set_sinFrequency(50000);
        B().LFM()->SetFreqTop(150000);
        B().LFM()->SetTinc0(250);
        B().LFM()->SetTinc1(1001);
        B().LFM()->SetTdec0(10000);
        B().LFM()->SetTdec1(20);
    });
    ASSERT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
    const auto& s = sim.State();
    const double step = s.ClockMHz() * 1e6 / 4294967296.0;
    for (TZyGen4Channel* pair :
         {static_cast<TZyGen4Channel*>(&A()), static_cast<TZyGen4Channel*>(&B())}) {
        const auto& got = s.ch[pair->IsChannelA() ? 0 : 1];
        const auto* lfm = pair->LFM();
        EXPECT_EQ(got.run, TInstrumentState::rnSweep);
        EXPECT_TRUE(got.output);
        ExpectCarrier(*pair, got);
        EXPECT_NEAR(s.FrequencyHz(got.freq2Code), lfm->FreqTop() * 1000.0, step);
        // The ramps' step size over step rate gives back the ramp times.
        const double spanKHz = lfm->FreqTop() - pair->Frequency();
        const auto rampUs = [&](const std::array<uint8_t, 5>& w) {
            return spanKHz * 1073741824.0 * TInstrumentState::TChannel::RampRate(w) /
                   (TInstrumentState::TChannel::RampStep(w) * 1e7);
        };
        EXPECT_NEAR(rampUs(got.slotWords[1]), lfm->Tinc0(), lfm->Tinc0() * 0.01);
        EXPECT_NEAR(rampUs(got.slotWords[0]), lfm->Tdec0(), lfm->Tdec0() * 0.01);
        // Channel B's times drive both sweeps, in 2 us units.
        EXPECT_EQ(got.sweepHalfRise, 625u);
        EXPECT_EQ(got.sweepHalfFall, 5010u);
        EXPECT_TRUE(got.sweepStarted);
    }
}

struct TKeyingCase {
    const char* name;
    bool channelA;
    TZyGen4DDSmodModes mode;
    TZyGen4AFPModes type;
    bool extTimes;
    const char* kind;
};

TEST_F(SimGenFixture, DdsKeyingSlotsHoldTheModelsValuesAndTimes) {
    const TKeyingCase cases[] = {
        {"BFSK on A", true, ZGTMs_BxSK, ZGAFPms_freq, false, "bxsk"},
        {"QPSK on B", false, ZGTMs_QxSK, ZGAFPms_phase, false, "qxsk"},
        {"QFSK on A, external times", true, ZGTMs_QxSK, ZGAFPms_freq, true, "qxsk"},
    };
    gen->SetAutoUpdate(false);
    gen->SetActive(true);
    for (const auto& c : cases) {
        TZyGen4Channel& ch = c.channelA ? static_cast<TZyGen4Channel&>(A()) : B();
        auto* dds = ch.DDSMod();
        Cycle([&] {
            A().SetMode(ZGMdC_off);
            B().SetMode(ZGMdC_off);
            ch.SetMode(ZGMdC_DDSMod);
            dds->SetMode(c.mode);
            dds->SetType(c.type);
            dds->SetUseExtTimes(c.extTimes);
            dds->SetF1(1500);
            dds->SetF2(2750.5);
            dds->SetF3(199999);
            dds->SetF4(0.001);
            dds->SetPh2(45.5);
            dds->SetT1(20);
            dds->SetT2(1300000);
            dds->SetT3(1234.5);
            dds->SetT4(999);
        });
        ASSERT_EQ(sim.ProtocolErrorCount(), 0u) << c.name << "\n" << Report();
        const auto& s = sim.State();
        const auto& got = s.ch[c.channelA ? 0 : 1];
        EXPECT_EQ(got.run, TInstrumentState::rnKeying) << c.name;
        EXPECT_EQ(got.keyExtTimes, c.extTimes) << c.name;
        const std::string prefix = c.channelA ? "A." : "B.";
        EXPECT_NE(Report().find(prefix + "keying.kind=" + c.kind), std::string::npos)
            << c.name << "\n"
            << Report();
        const double freqs[] = {dds->F1(), dds->F2(), dds->F3(), dds->F4()};
        const double phases[] = {dds->Ph1(), dds->Ph2(), dds->Ph3(), dds->Ph4()};
        const double times[] = {dds->T1(), dds->T2(), dds->T3(), dds->T4()};
        const int slots = c.mode == ZGTMs_QxSK ? 4 : 2;
        const double step = s.ClockMHz() * 1e6 / 4294967296.0;
        for (int k = 0; k < slots; ++k) {
            const auto& w = got.slotWords[static_cast<std::size_t>(k)];
            EXPECT_TRUE(got.slotWordSet[static_cast<std::size_t>(k)]) << c.name << k;
            EXPECT_NEAR(TInstrumentState::TChannel::SlotRate(w) * 20.0, times[k], 20.0)
                << c.name << k;
            const uint32_t first = TInstrumentState::TChannel::SlotFirst(w);
            ASSERT_LT(first + 1, TInstrumentState::kDdsWords);
            const uint32_t word = got.ddsMemory[first];
            EXPECT_EQ(got.ddsMemory[first + 1], word) << c.name << k;
            if (c.type == ZGAFPms_freq)
                EXPECT_NEAR(s.FrequencyHz(word), freqs[k] * 1000.0, step) << c.name << k;
            else
                EXPECT_NEAR(TInstrumentState::PhaseDegrees(word >> 18), phases[k], 360.0 / 16384)
                    << c.name << k;
        }
    }
}

TEST_F(SimGenFixture, DdsUserSequencePlaysTheModelsTable) {
    Cycle([&] {
        gen->SetActive(true);
        B().SetMode(ZGMdC_DDSMod);
        B().Set_sinFrequency(10000);
        B().DDSMod()->SetMode(ZGTMs_User);
        B().DDSMod()->SetFm(1234);
        B().DDSMod()->Set_dF(50000);
    });
    ASSERT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
    const auto& s = sim.State();
    const auto& got = s.ch[1];
    const auto& w = got.slotWords[0];
    const uint32_t readings =
        TInstrumentState::TChannel::SlotLast(w) - TInstrumentState::TChannel::SlotFirst(w) + 1;
    EXPECT_EQ(static_cast<int>(readings), B().DDSMod()->N());
    EXPECT_EQ(static_cast<int>(TInstrumentState::TChannel::SlotRate(w)), B().DDSMod()->Tau());
    EXPECT_EQ(got.ddsBytes, readings * 4);
    // The table spans the carrier plus and minus the deviation.
    double low = 1e300, high = -1e300;
    for (uint32_t i = 0; i < readings; ++i) {
        low = std::min(low, s.FrequencyHz(got.ddsMemory[i]));
        high = std::max(high, s.FrequencyHz(got.ddsMemory[i]));
    }
    EXPECT_NEAR(low, 10000e3 - 50000, 5);
    EXPECT_NEAR(high, 10000e3 + 50000, 5);
    // And lasts one period of the modulation frequency.
    EXPECT_NE(Report().find("B.keying.kind=user"), std::string::npos) << Report();
    const double fm = 1e8 / (readings * TInstrumentState::TChannel::SlotRate(w));
    EXPECT_NEAR(fm, 1234, 1234 * 1e-3);
}

// The external timing command has no channel: it must not turn a table that
// the other channel plays into keying.
TEST_F(SimGenFixture, ExternalKeyingTimesLeaveTheOtherChannelsTableAlone) {
    Cycle([&] {
        gen->SetActive(true);
        A().SetMode(ZGMdC_DDSMod);
        A().DDSMod()->SetMode(ZGTMs_User);
        B().SetMode(ZGMdC_DDSMod);
        B().DDSMod()->SetUseExtTimes(true);
    });
    ASSERT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
    for (const char* line : {"A.keying.kind=user", "A.keying.ext_times=0", "B.keying.kind=bxsk",
                             "B.keying.ext_times=1"})
        EXPECT_NE(Report().find(line), std::string::npos) << line << "\n" << Report();
}

}  // namespace
