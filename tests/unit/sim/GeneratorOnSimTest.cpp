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
        void (*arm)(TVirtualInstrument&, int k);
        const char* message;
    };
    const TCase cases[] = {
        {"write fails", [](TVirtualInstrument& s, int k) { s.FailWrite(k); },
         "Ошибка при записи команды в FTPort"},
        {"write short", [](TVirtualInstrument& s, int k) { s.ShortWrite(k); },
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
