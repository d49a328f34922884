#include <gtest/gtest.h>

#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "props/PropertyTable.h"
#include "scpi/ScpiDefaults.h"
#include "tests/unit/scpi/ScpiFixture.h"

namespace {

// Ten settings of both channels in one line.
const char* const kTenSettings =
    "OUTP1 ON;OUTP2 ON;SOUR1:FREQ 10 MHZ;POW -3;PHAS 45;:SOUR2:FREQ 20 MHZ;POW -6;PHAS 90;"
    ":SOUR1:FREQ 12 MHZ;:SOUR2:PHAS 30";

class ScpiCycle : public ScpiFixture {
  protected:
    // The frames the message sends, and those one cycle of the resulting
    // set-up sends.
    void ExpectOneCycle(const char* message) {
        gen->SetActive(true);
        const std::size_t before = driver.WritesHex().size();
        EXPECT_EQ(Run(message), "");
        EXPECT_EQ(Errors(), std::vector<std::string>());
        const std::vector<std::string> all = driver.WritesHex();
        const std::vector<std::string> sent(all.begin() + before, all.end());
        gen->UpdateMode();
        const std::vector<std::string> after = driver.WritesHex();
        const std::vector<std::string> cycle(after.begin() + all.size(), after.end());
        EXPECT_FALSE(cycle.empty());
        EXPECT_EQ(sent, cycle);
    }
};

TEST_F(ScpiCycle, TenSettingsInOneLineCostOneCycle) {
    ExpectOneCycle(kTenSettings);
    EXPECT_TRUE(gen->AutoUpdate());
}

TEST_F(ScpiCycle, AHostWithoutAutomaticUpdateStillGetsOneCyclePerLine) {
    gen->SetAutoUpdate(false);
    ExpectOneCycle(kTenSettings);
    EXPECT_FALSE(gen->AutoUpdate());
}

TEST_F(ScpiCycle, QueriesSendNothingAndChangeNothing) {
    gen->SetActive(true);
    int changes = 0;
    engine.AfterChange = [&changes] { ++changes; };
    const int writes = driver.WriteCount();
    EXPECT_EQ(Run("FREQ?;OUTP?;*IDN?;SYST:PROP? \"ChB.LFM.Tinc0\";SYST:ERR?").substr(0, 9),
              "1000000;0");
    EXPECT_EQ(driver.WriteCount(), writes);
    EXPECT_EQ(changes, 0);
    Run("FREQ 2 MHZ;FREQ 3 MHZ");
    EXPECT_EQ(changes, 1);
}

TEST_F(ScpiCycle, AScriptThatTurnsAutomaticUpdateOffGetsNoCycle) {
    gen->SetActive(true);
    const int writes = driver.WriteCount();
    Run("SYST:PROP \"AutoUpdate\",0;:FREQ 2 MHZ");
    EXPECT_EQ(driver.WriteCount(), writes);
    EXPECT_FALSE(gen->AutoUpdate());
    EXPECT_EQ(A().Frequency(), 2000.0);
}

TEST_F(ScpiFixture, ALinkFailureIsAHardwareErrorWithTheLinksMessage) {
    gen->SetActive(true);
    driver.FailWrite(driver.WriteCount() + 2);
    EXPECT_EQ(Run("OUTP ON;*OPC?"), "1");
    const std::vector<std::string> errors = Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("-240,\"Hardware error;", 0), 0u) << errors[0];
    EXPECT_GT(errors[0].size(), std::string("-240,\"Hardware error;\"").size());
    EXPECT_EQ(Run("FREQ 2 MHZ;FREQ?"), "2000000");
}

TEST_F(ScpiFixture, ConnectingWithoutAnInstrumentIsAHardwareError) {
    driver.FailOpen(FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(Run("SYST:CONN ON;CONN?"), "0");
    EXPECT_EQ(ErrorCodes(), std::vector<int>{-240});
}

TEST_F(ScpiFixture, ResetRestoresTheConstructorsValuesWithOutputsOff) {
    Run("OUTP1 ON;OUTP2 ON;SOUR2:SWE ON;:FREQ 12 MHZ;POW -10;AM:DEPT 30;:FSK:FREQ3 5 KHZ;"
        ":SYST:REF:EXT ON;FREQ 12 MHZ;MULT 8;:SYST:PROP \"ChB.Tuner.ADCTimerInterval\",77");
    ASSERT_EQ(Errors(), std::vector<std::string>());
    Run("*RST");
    EXPECT_EQ(Errors(), std::vector<std::string>());
    TZyGen4& defaults = ScpiDefaultGenerator();
    for (const auto& def : TPropertyTable::Instance().All()) {
        if (def.ReadOnly() || def.path == "Active" || def.path == "AutoUpdate") continue;
        EXPECT_TRUE(def.get(*gen).Equals(def.kind, def.get(defaults))) << def.path;
    }
    EXPECT_EQ(A().Mode(), ZGMdC_off);
    EXPECT_EQ(B().Mode(), ZGMdC_off);
    EXPECT_EQ(Run("OUTP ON;SWE?;TUN?"), "0;0");
}

// The mode a line of commands leaves channel A in, and the answer of its
// queries.
struct ModeCase {
    const char* message;
    TZyGen4ModesCommon mode;
    TZyGen4AFPModes type;  // of the mode's engine, where it has one
    const char* response;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.message;
}

class ScpiModes : public ScpiFixture, public ::testing::WithParamInterface<ModeCase> {};

const ModeCase kModeCases[] = {
    {"OUTP ON", ZGMdC_gen, ZGAFPms_freq, ""},
    {"OUTP ON;AM ON;AM?;FM?;AM:SOUR?", ZGMdC_IntModulation, ZGAFPms_ampl, "1;0;INT"},
    {"OUTP ON;FM:SOUR EXT;FM ON;FM?;FM:SOUR?", ZGMdC_ExtModulation, ZGAFPms_freq, "1;EXT"},
    {"OUTP ON;PM ON;PM:SOUR EXT;PM:SOUR?", ZGMdC_ExtModulation, ZGAFPms_phase, "EXT"},
    {"OUTP ON;PM:SOUR EXT;PM ON;PM:SOUR INT", ZGMdC_IntModulation, ZGAFPms_phase, ""},
    {"OUTP ON;AM ON;AM OFF;AM?", ZGMdC_gen, ZGAFPms_freq, "0"},
    {"AM ON;AM?;OUTP?", ZGMdC_off, ZGAFPms_freq, "1;0"},
    {"AM ON;OUTP ON", ZGMdC_IntModulation, ZGAFPms_ampl, ""},
    {"OUTP ON;SWE ON;OUTP OFF;SWE?", ZGMdC_off, ZGAFPms_freq, "1"},
    {"OUTP ON;SWE ON;OUTP OFF;OUTP ON", ZGMdC_LFM, ZGAFPms_freq, ""},
    {"OUTP ON;FSK ON;FSK?;PSK?", ZGMdC_DDSMod, ZGAFPms_freq, "1;0"},
    {"OUTP ON;FSK ON;PSK ON;FSK?;PSK?", ZGMdC_DDSMod, ZGAFPms_phase, "0;1"},
    {"OUTP ON;TUN ON;TUN?;SWE?", ZGMdC_tuning, ZGAFPms_freq, "1;0"},
    {"OUTP ON;SYST:PROP \"ChA.Mode\",ZGMdC_ExtModulationA12;:AM:SOUR?;AM?", ZGMdC_ExtModulationA12,
     ZGAFPms_freq, "INT;0"},
};

TEST_P(ScpiModes, SwitchTheChannelsMode) {
    const ModeCase& c = GetParam();
    EXPECT_EQ(Run(c.message), c.response);
    EXPECT_EQ(Errors(), std::vector<std::string>());
    EXPECT_EQ(A().Mode(), c.mode);
    EXPECT_EQ(B().Mode(), ZGMdC_off);
    switch (c.mode) {
        case ZGMdC_IntModulation:
            EXPECT_EQ(A().IntModulation()->Type(), c.type);
            break;
        case ZGMdC_ExtModulation:
            EXPECT_EQ(A().ExtModulation()->Type(), c.type);
            break;
        case ZGMdC_DDSMod:
            EXPECT_EQ(A().DDSMod()->Type(), c.type);
            break;
        default:
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ScpiModes, ::testing::ValuesIn(kModeCases));

TEST_F(ScpiFixture, TheHostsHandlersAreLeftAloneAndKeptDuringAMessage) {
    int hostRejections = 0;
    gen->OnParamValueError = [&hostRejections](TZyGen4Channel*, TZyGen4Parameters, double*) {
        ++hostRejections;
    };
    Run("SYST:PROP \"ChA.Frequency\",300000");
    EXPECT_EQ(ErrorCodes(), std::vector<int>{-222});
    EXPECT_EQ(hostRejections, 0);
    A().Set_sinFrequency(300000);
    EXPECT_EQ(hostRejections, 1);
}

TEST_F(ScpiFixture, ASilentRefusalNamesTheValueKept) {
    Run("SYST:PROP \"ChA.Amplitude\",0;PROP \"RefFreq\",10");
    EXPECT_EQ(Errors(), (std::vector<std::string>{
                            "-224,\"Illegal parameter value;ChA.Amplitude=0 was not taken; "
                            "ChA.Amplitude stays 100\"",
                            "-224,\"Illegal parameter value;RefFreq=10 was not taken; RefFreq "
                            "stays 25\"",
                        }));
}

}  // namespace
