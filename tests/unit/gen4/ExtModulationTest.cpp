#include <string>
#include <vector>

#include "gen4/engines/ZyGen4ExtModulation.h"
#include "tests/fixtures/GenFixture.h"

namespace {

using Wire = std::vector<std::string>;

const Wire kCarrierA{"F1 00 00 00 00 00", "04 00 A3 D7 0A 00", "02 3F FF 00 00 00",
                     "05 00 00 00 00 00"};
const Wire kCarrierB{"F9 00 00 00 00 00", "14 00 A3 D7 0A 00", "12 3F FF 00 00 00",
                     "15 00 00 00 00 00"};

Wire Join(std::initializer_list<Wire> parts) {
    Wire out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST_F(GenFixture, ExtModulationOnChannelBAlone) {
    Connect();
    const Wire frames = Cycle([&] {
        B().SetMode(ZGMdC_ExtModulation);
        B().ExtModulation()->SetType(ZGAFPms_ampl);
        B().ExtModulation()->SetScale(5);
    });
    EXPECT_EQ(frames,
              Join({{"F0 00 00 00 00 00"}, kCarrierB, {"2A 3F FF 00 00 00", "8D 05 01 00 00 00"}}));
}

// Frequency carries the 32-bit code; the scale goes out as its low byte.
TEST_F(GenFixture, ExtFrequencyModulationSendsTheScaleLowByte) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_ExtModulation);
        A().ExtModulation()->SetScale(300);
    });
    EXPECT_EQ(frames,
              Join({{"F0 00 00 00 00 00"}, kCarrierA, {"29 00 A3 D7 0A 00", "8B 2C 03 00 00 00"}}));
}

// Sum of both inputs: channel A's phase with A's scale and B's engine scale.
TEST_F(GenFixture, ExtModulationA12) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_ExtModulationA12);
        A().SetPhase(90);
        A().ExtModulation()->SetType(ZGAFPms_phase);
        A().ExtModulation()->SetScale(2);
        B().ExtModulation()->SetScale(7);
    });
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00",
                            "02 3F FF 00 00 00", "05 10 00 00 00 00", "29 10 00 00 00 00",
                            "91 02 07 02 00 00"}));
}

TEST_F(GenFixture, DoubleExtModulationSendsBothCarriersThenOneStart) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_ExtModulation);
        B().SetMode(ZGMdC_ExtModulation);
        A().ExtModulation()->SetScale(3);
        B().ExtModulation()->SetType(ZGAFPms_phase);
        B().ExtModulation()->SetScale(4);
    });
    EXPECT_EQ(frames, Join({{"F0 00 00 00 00 00"},
                            kCarrierA,
                            {"29 00 A3 D7 0A 00"},
                            kCarrierB,
                            {"2A 00 00 00 00 00", "8F 03 03 04 02 00"}}));
}

// Both channels from input 1: B gets only its output and carrier, A's
// settings drive the duplex start.
TEST_F(GenFixture, ExtModulationAB1) {
    Connect();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_ExtModulationAB1);
        A().ExtModulation()->SetType(ZGAFPms_ampl);
        A().ExtModulation()->SetScale(9);
        B().ExtModulation()->SetScale(1);
    });
    EXPECT_EQ(B().Mode(), ZGMdC_ExtModulationAB1);
    EXPECT_EQ(frames, Join({{"F0 00 00 00 00 00"},
                            kCarrierB,
                            kCarrierA,
                            {"29 3F FF 00 00 00", "B2 09 01 00 00 00"}}));
}
