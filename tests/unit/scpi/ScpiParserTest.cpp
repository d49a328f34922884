#include <gtest/gtest.h>

#include "gen4/engines/ZyGen4LFM.h"
#include "tests/unit/scpi/ScpiFixture.h"

namespace {

struct MessageCase {
    const char* message;
    const char* response;
    std::vector<int> errors;
};

void PrintTo(const MessageCase& c, std::ostream* os) {
    *os << c.message;
}

class ScpiMessages : public ScpiFixture, public ::testing::WithParamInterface<MessageCase> {};

// Forms, suffixes, units, MIN/MAX/DEF and compound messages: each message runs
// on a fresh generator; its response and the codes it leaves in the queue.
const MessageCase kForms[] = {
    {"FREQ 1000;FREQ?", "1000", {}},
    {"sour1:frequency:cw 2.5khz;Sour:Freq:Cw?", "2500", {}},
    {"SOURce2:FREQ 3 MHZ;:SOUR2:FREQ?;:FREQ?", "3000000;1000000", {}},
    {"OUTP2 ON;OUTPUT2:STATE?;OUTP1?", "1;0", {}},
    {"FREQ:STAR 1MHZ;STOP 2MHZ;:FREQ:STOP?;:FREQ?", "2000000;1000000", {}},
    {":FREQ 5E+3;:PHAS 90 DEG;PHAS?", "90", {}},
    {"FREQ 1.5e6 HZ;FREQ?", "1500000", {}},
    {"FREQ .5KHZ;FREQ?", "500", {}},
    {"POW -3 DB;POW 0;POW?;POW? DEF", "0;0", {}},
    {"FREQ MAX;FREQ?;FREQ? MIN;FREQ? DEF", "200000000;0;1000000", {}},
    {"PHAS MAXIMUM;PHAS? MAX", "359.99999999999994", {}},
    {"SWE:TIME:RISE 1.5 MS;SWE:TIME:RISE?", "0.0015", {}},
    {"SWE:TIME:HIGH 10 US;SWE:TIME:HIGH?;:SOUR:SWE:TIME:FALL 2;FALL?", "1e-05;2", {}},
    {"FSK:TIME3 1 US;FSK:TIME3?;:PSK:TIME3?", "1e-06;1e-06", {}},
    {"FSK:FREQ4 7 KHZ;FSK:FREQ4?;FREQ1?", "7000;1000000", {}},
    {"AM:DEPT 40 PCT;DEPT?;:AM:INT:FREQ 1 KHZ;FREQ?", "40;1000", {}},
    {"FM:INT:FUNC tri;FUNC?;:PM:INT:FUNC?", "TRI;TRI", {}},
    {"TUN:TYPE POW;TYPE?", "POW", {}},
    {"PSK:MODE QUAT;MODE?", "QUAT", {}},
    {"SYST:REF:EXT 1;FREQ 10 MHZ;FREQ?;MULT 20;MULT?", "10000000;20", {}},
    {"SYST:PROP \"ChB.IntModulation.Fm\",2500;SYST:PROP? 'ChB.IntModulation.Fm'", "2500", {}},
    {"SYST:PROP \"ChA.Mode\",ZGMdC_LFM;:SYST:PROP? \"ChA.Mode\";:SWE?", "ZGMdC_LFM;1", {}},
    {"SYST:PROP? \"AutoUpdate\";SYST:PROP \"AutoUpdate\",OFF;PROP? \"AutoUpdate\"", "1;0", {}},
    {"SYST:VERS?;:SYST:ERR?", "1999.0;0,\"No error\"", {}},
    {"*IDN?", "ZyPanel,TAYRA-9,0,1.2.3", {}},
    {"*opc?;*tst?;*wai;*stb?", "1;0;0", {}},
    {"*ESE 36;*ESE?;FOO;*ESR?;*ESR?;*STB?", "36;32;0;4", {-113}},
    {"", "", {}},
    {" ; ;FREQ?;", "1000000", {}},
    // Each error code.
    {"FREQ 1 2", "", {-102}},
    {"FREQ 1E", "", {-102}},
    {"SYST:PROP \"ChA.Mode", "", {-102}},
    {"FREQ::CW 1", "", {-102}},
    {"FREQ 1,2", "", {-108}},
    {"FREQ? 1", "", {-224}},
    {"FREQ", "", {-109}},
    {"FOO 1;FREQ:FOO 1;STOP 1", "", {-113, -113, -113}},
    {"SOUR3:FREQ 1;OUTP0 ON", "", {-114, -114}},
    {"FREQ 1 DEG;PHAS 1 HZ", "", {-131, -131}},
    {"TUN:ADC?", "", {-200}},
    {"SYST:PROP \"Status\",0", "", {-200}},
    {"FREQ 300 MHZ;FREQ -1;PHAS 360;SWE:TIME:RISE 5 US;FREQ 1e999",
     "",
     {-222, -222, -222, -222, -222}},
    {"*ESE 256", "", {-222}},
    {"OUTP MAYBE;FM:INT:FUNC SAW;SYST:PROP \"No.Such\",1;SYST:PROP \"ChA.Mode\",7.5",
     "",
     {-224, -224, -224, -224}},
    {"SYST:ERR;*IDN;*RST?;TUN:ADC", "", {-100, -100, -100, -100}},
    {"FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO;FOO",
     "",
     {-113, -113, -113, -113, -113, -113, -113, -113, -113, -113, -113, -113, -113, -113, -113,
      -350}},
};

TEST_P(ScpiMessages, GiveTheirResponseAndErrors) {
    const MessageCase& c = GetParam();
    EXPECT_EQ(Run(c.message), c.response);
    EXPECT_EQ(ErrorCodes(), c.errors);
}

INSTANTIATE_TEST_SUITE_P(Forms, ScpiMessages, ::testing::ValuesIn(kForms));

TEST_F(ScpiFixture, ErrorEntriesNameWhatTheyConcern) {
    Run("FREQ 300 MHZ;FREQ 2MHZ;FREQ:STOP 1MHZ;POW -100;FOO");
    EXPECT_EQ(Errors(), (std::vector<std::string>{
                            "-222,\"Data out of range;ChA.Frequency 300000000\"",
                            "-224,\"Illegal parameter value;ChA.LFM.FreqTop=1000 was not taken; "
                            "ChA.LFM.FreqTop stays 2000\"",
                            "-222,\"Data out of range;ChA.Amplitude -100\"",
                            "-113,\"Undefined header\"",
                        }));
    EXPECT_EQ(Run("SYST:ERR?"), "0,\"No error\"");
}

TEST_F(ScpiFixture, AStringResponseDoublesItsQuotes) {
    Run("SYST:PROP \"a\"\"b\",1");
    EXPECT_EQ(Run("SYST:ERR?"), "-224,\"Illegal parameter value;no property a\"\"b\"");
}

TEST_F(ScpiFixture, ClsEmptiesTheQueueAndTheEventRegister) {
    Run("FOO;FREQ -1");
    EXPECT_EQ(Run("*STB?"), "4");
    Run("*CLS");
    EXPECT_EQ(Run("*ESR?;*STB?;SYST:ERR:COUN?"), "0;0;0");
    Run("*ESE 16;FREQ -1");
    EXPECT_EQ(Run("*STB?;*ESR?"), "36;16");
    Run("*OPC");
    EXPECT_EQ(Run("*ESR?"), "1");
}

}  // namespace
