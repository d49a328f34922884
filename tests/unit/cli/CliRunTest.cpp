#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/CliOptions.h"
#include "cli/CliRunner.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "sim/VirtualInstrument.h"
#include "tests/unit/cli/CliRun.h"

namespace {

using Args = std::vector<std::string>;

// "key=value" lines as a lookup.
std::string Value(const std::vector<std::string>& lines, const std::string& key) {
    for (const auto& line : lines)
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return "<missing " + key + ">";
}

Args Sim(Args steps) {
    Args args{"--device", "sim", "--fast"};
    args.insert(args.end(), steps.begin(), steps.end());
    return args;
}

}  // namespace

TEST(Zygen4, PlainGenerationOfBothChannelsTracesTenFramesAndTurnsBothOutputsOn) {
    CliRun run({"--device", "sim", "--fast", "--trace", "-", "AutoUpdate=0", "Active=1",
                "ChA.Mode=ZGMdC_gen", "ChB.Mode=ZGMdC_gen", "AutoUpdate=1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // Nothing after the cycle: the exit closes the link without a reset.
    EXPECT_EQ(run.out,
              "C F0 00 00 00 00 00\nC F1 00 00 00 00 00\nC 04 00 A3 D7 0A 00\n"
              "C 02 3F FF 00 00 00\nC 05 00 00 00 00 00\nC F9 00 00 00 00 00\n"
              "C 14 00 A3 D7 0A 00\nC 12 3F FF 00 00 00\nC 15 00 00 00 00 00\n"
              "C 7F 00 00 00 00 00\n");

    CliRun state(Sim({"Active=1", "ChA.Mode=ZGMdC_gen", "ChB.Mode=1", "state"}));
    ASSERT_EQ(state.status, 0) << state.err;
    const auto lines = state.OutLines();
    EXPECT_EQ(Value(lines, "clock_mhz"), "400");
    EXPECT_EQ(Value(lines, "protocol_errors"), "0");
    const double step = 400e6 / 4294967296.0;
    for (const char* ch : {"A", "B"}) {
        const std::string p = std::string(ch) + ".";
        EXPECT_EQ(Value(lines, p + "output"), "1");
        EXPECT_EQ(Value(lines, p + "mode"), "ZGMdC_gen");
        EXPECT_NEAR(std::stod(Value(lines, p + "frequency_hz")), 1e6, step);
        EXPECT_EQ(Value(lines, p + "amplitude_code"), "16383");
        EXPECT_EQ(Value(lines, p + "phase_code"), "0");
    }
}

TEST(Zygen4, SimulatedExternalReferenceCarriesTheDeclaredClock) {
    // 10 MHz × 20: the instrument must run at the 200 MHz the model computes
    // with, so the carrier lands at 1 MHz on both sides.
    CliRun run(Sim({"Active=1", "ChA.Mode=ZGMdC_gen", "UseExtRefFreq=1", "RefFreq=10",
                    "FreqScale=20", "update", "state"}));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = run.OutLines();
    EXPECT_EQ(Value(lines, "clock_mhz"), "200");
    EXPECT_NEAR(std::stod(Value(lines, "A.frequency_hz")), 1e6, 200e6 / 4294967296.0);
}

TEST(Zygen4, TraceShowsDataBlocksReadsAndFailedTransfers) {
    // Internal modulation uploads a table after its load command; the ADC
    // read answers four bytes; the third write fails.
    CliRun mod(Sim({"--trace", "-", "Active=1", "ChA.Mode=ZGMdC_IntModulation"}));
    ASSERT_EQ(mod.status, 0) << mod.err;
    int blocks = 0;
    for (const auto& line : mod.OutLines()) {
        if (line.rfind("D ", 0) != 0) continue;
        ++blocks;
        EXPECT_NE(line.back(), '!') << line;
    }
    EXPECT_GT(blocks, 0) << mod.out;

    CliRun adc({"--device", "sim", "--fast", "--sim-adc", "0x01020304", "--trace", "-", "Active=1",
                "adc", "B"});
    EXPECT_EQ(adc.status, 0) << adc.err;
    EXPECT_EQ(adc.out, "C F0 00 00 00 00 00\nC FD\nR 01 02 03 04\nADC B 16909060\n");

    CliRun failed(Sim({"--sim-fault", "write:3", "--trace", "-", "Active=1", "ChA.Mode=1"}));
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "C F0 00 00 00 00 00\nC F0 00 00 00 00 00\nC F1 00 00 00 00 00 !\n");
    EXPECT_NE(failed.err.find("ChA.Mode=1"), std::string::npos) << failed.err;
}

TEST(Zygen4, ExitStatus) {
    struct Case {
        Args args;
        int status;
        const char* errHas;
    };
    const Case cases[] = {
        {{"--bogus"}, 2, "unknown option '--bogus'"},
        {{"--device", "usb"}, 2, "unknown device"},
        {{"--fast", "Active=1"}, 2, "--fast needs --device sim"},
        {{"state"}, 2, "needs --device sim"},
        {Sim({"--sim-fault", "write:0"}), 2, "write:0"},
        {Sim({"--sim-adc", "-1"}), 2, "--sim-adc"},
        {Sim({"Active=1", "ChA.Frequncy=5"}), 2, "unknown property 'ChA.Frequncy'"},
        {Sim({"ChA.Mode=ZGMdC_none"}), 2, "ChA.Mode"},
        {Sim({"ChA.Mode=9"}), 2, "ChA.Mode"},
        {Sim({"ChA.Frequency=1,5"}), 2, "ChA.Frequency"},
        {Sim({"ChA.Amplitude=nan"}), 2, "ChA.Amplitude"},
        {Sim({"ChA.LFM.Tinc0=1.5"}), 2, "ChA.LFM.Tinc0"},
        {Sim({"ChA.LFM.Tinc0=99999999999"}), 2, "ChA.LFM.Tinc0"},
        {Sim({"AutoUpdate=yes"}), 2, "AutoUpdate"},
        {Sim({"Status=FT_OK"}), 2, "read-only"},
        {Sim({"wait"}), 2, "wait"},
        {Sim({"adc", "C"}), 2, "adc"},
        {Sim({"frobnicate"}), 2, "unknown step"},
        {Sim({"--device", "ftdi"}), 2, "--device given twice"},
        {Sim({"Active=1", "--trace", "-"}), 2, "options come first"},
        {Sim({"save", ""}), 2, "'save' needs a file name"},
        {Sim({"--serve", "localhost:5025"}), 2, "IPv4 address"},
        {Sim({"--serve", "127.0.0.1:65536"}), 2, "port from 0 to 65535"},
        {Sim({"--serve", "192.0.2.1:0"}), 1, "cannot listen on 192.0.2.1:0"},
        {Sim({"ChA.Frequency=200000.001"}), 3, "ChA.Frequency=200000.001"},
        {Sim({"ChB.Phase=360"}), 3, "ChB.Phase=360"},
        {Sim({"ChA.DDSMod.T2=10"}), 3, "ChA.DDSMod.T2=10"},
        {Sim({"ChA.Amplitude=0"}), 3, "ChA.Amplitude stays 100"},
        {Sim({"RefFreq=30"}), 3, "RefFreq stays 25"},
        {Sim({"UseExtRefFreq=1", "FreqScale=2"}), 3, "FreqScale is now 0"},
        {Sim({"--sim-fault", "open", "Active=1"}), 1, "FT_DEVICE_NOT_FOUND"},
        {Sim({"adc", "A"}), 1, "not connected"},
        {Sim({"load", "/nonexistent/zygen4.set"}), 1, "load /nonexistent/zygen4.set"},
        {Sim({"--trace", "/nonexistent/trace.txt"}), 1, "trace"},
        {Sim({"--trace", "/dev/full", "Active=1"}), 1, "writing the trace file"},
        {Sim({"UseExtRefFreq=1", "RefFreq=30", "FreqScale=4", "ChA.Frequency=200000"}), 0, ""},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        CliRun run(c.args);
        EXPECT_EQ(run.status, c.status) << line << "\n" << run.err;
        EXPECT_NE(run.err.find(c.errHas), std::string::npos) << line << "\n" << run.err;
        if (c.status == 2) {
            EXPECT_EQ(run.out, "") << line;
            EXPECT_NE(run.err.find("zygen4 --help"), std::string::npos) << line;
        }
    }
}

TEST(Zygen4, OutputThatCannotBeWrittenIsARuntimeError) {
    std::ostream lost(nullptr);
    std::ostringstream err;
    EXPECT_EQ(RunZygen4(Sim({"ChA.Frequency?"}), lost, err), ceRuntimeError);
    EXPECT_NE(err.str().find("writing the output failed"), std::string::npos) << err.str();
}

TEST(Zygen4, UsageErrorAnywhereSendsNothing) {
    CliRun run(Sim({"--trace", "-", "Active=1", "ChA.Mode=ZGMdC_gen", "update", "ChB.Mode=gen"}));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
}

TEST(Zygen4, RejectedValueEndsTheRunAndKeepsTheOldValue) {
    CliRun run(Sim({"ChA.Phase=10", "ChA.Phase=400", "ChA.Phase?"}));
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("ChA.Phase=400: out of range"), std::string::npos) << run.err;
}

TEST(Zygen4, QueriesPrintShortestDoublesEnumeratorNamesAndBits) {
    CliRun run(Sim({"ChA.Frequency=1234.5678", "ChA.Frequency?", "ChB.Phase=0.1", "ChB.Phase?",
                    "ChA.Frequency=200000", "ChA.Frequency?", "ChB.Mode=3", "ChB.Mode?",
                    "ChA.Tuner.ADCTimerEnabled=true", "ChA.Tuner.ADCTimerEnabled?",
                    "ChA.DDSMod.ContBidiRamp?", "Status?", "ChB.ChannelType?",
                    "ChA.IntModulation.RdsCnt?", "Active?"}));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "ChA.Frequency=1234.5678\nChB.Phase=0.1\nChA.Frequency=2e+05\n"
              "ChB.Mode=ZGMdC_IntModulation\nChA.Tuner.ADCTimerEnabled=1\n"
              "ChA.DDSMod.ContBidiRamp=0\nStatus=FT_OK\nChB.ChannelType=ZGCN_B\n"
              "ChA.IntModulation.RdsCnt=0\nActive=0\n");

    // Read-only values the instrument gave.
    CliRun live(Sim({"--sim-adc", "77", "Active=1", "ChA.Mode=ZGMdC_IntModulation", "adc", "A",
                     "ChA.Tuner.ADCValue?", "ChA.IntModulation.RdsCnt?"}));
    ASSERT_EQ(live.status, 0) << live.err;
    const auto lines = live.OutLines();
    ASSERT_EQ(lines.size(), 3u) << live.out;
    EXPECT_EQ(lines[0], "ADC A 77");
    EXPECT_EQ(lines[1], "ChA.Tuner.ADCValue=77");
    EXPECT_NE(lines[2], "ChA.IntModulation.RdsCnt=0");
}

TEST(Zygen4, WaitRunsTheTunerTimerAndEachTickPrintsTheReading) {
    CliRun run(Sim({"--sim-adc", "7", "Active=1", "ChA.Tuner.ADCTimerEnabled=1",
                    "ChA.Mode=ZGMdC_tuning", "wait", "1000", "Active=0", "wait", "1000"}));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ADC A 7\nADC A 7\n");
}

TEST(Zygen4, OverModulationIsReportedAndChangesNothing) {
    CliRun run(Sim({"ChA.Tuner.Type=ZGAFPms_ampl", "ChA.Tuner.Scale=20", "ChA.Amplitude=80",
                    "Active=1", "ChA.Mode=ZGMdC_tuning", "ChA.Amplitude?"}));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ChA.Amplitude=80\n");
    EXPECT_NE(run.err.find("overmodulation limit 50"), std::string::npos) << run.err;
}

TEST(Zygen4, ExitClosesTheLinkWithoutResetButActiveOffResets) {
    auto options = ParseCommandLine(Sim({"Active=1", "ChA.Mode=ZGMdC_gen"}));
    std::ostringstream out, err;
    TCliRunner runner(options, out, err);
    ASSERT_EQ(runner.Run(), ceOk) << err.str();
    ASSERT_NE(runner.Instrument(), nullptr);
    EXPECT_FALSE(runner.Instrument()->IsOpen());
    EXPECT_TRUE(runner.Instrument()->State().ch[0].output);

    CliRun off(Sim({"--trace", "-", "Active=1", "ChA.Mode=ZGMdC_gen", "Active=0"}));
    EXPECT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(off.OutLines().back(), "C F0 00 00 00 00 00");
}

TEST(Zygen4, HelpListsEveryPropertyAndVersionPrintsTheNumber) {
    CliRun help({"--help"});
    EXPECT_EQ(help.status, 0);
    // Each line: the path, " *" when read-only, and the range the setter
    // accepts where it has one, the same numbers as the engine's constant.
    auto line = [&help](const std::string& path) {
        for (const std::string& l : help.OutLines()) {
            std::istringstream words(l);
            std::string first;
            if (words >> first && first == path) return l.substr(2);
        }
        return std::string("(missing)");
    };
    const auto& count = TZyGen4DDSMod::kReadingsCntMinRange;
    EXPECT_THAT(
        line("ChB.DDSMod.ReadingsCntMin"),
        testing::EndsWith(" " + std::to_string(count.lo) + ".." + std::to_string(count.hi)));
    EXPECT_THAT(line("ChA.DDSMod.Fm"), testing::EndsWith(" 200..1500000"));
    EXPECT_EQ(line("ChA.DDSMod.Mode"), "ChA.DDSMod.Mode");
    EXPECT_NE(help.out.find("  ChA.Tuner.ADCValue *\n"), std::string::npos);
    CliRun version({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("zygen4 ", 0), 0u);
}

TEST(Zygen4, SaveAndLoadCarryTheSetUpAndABadFileIsAnError) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zygen4-test-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "setup.zg4").string();

    CliRun save(
        Sim({"ChA.Frequency=1234.5", "ChB.Mode=ZGMdC_LFM", "ChB.DDSMod.T3=777", "save", file}));
    ASSERT_EQ(save.status, 0) << save.err;
    CliRun load(Sim({"load", file, "ChA.Frequency?", "ChB.Mode?", "ChB.DDSMod.T3?"}));
    EXPECT_EQ(load.status, 0) << load.err;
    EXPECT_EQ(load.out, "ChA.Frequency=1234.5\nChB.Mode=ZGMdC_LFM\nChB.DDSMod.T3=777\n");

    const std::string bad = (dir / "bad.zg4").string();
    std::ofstream(bad) << "not a settings file";
    CliRun wrong(Sim({"load", bad, "ChA.Frequency?"}));
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("load " + bad + ": "), std::string::npos) << wrong.err;
    fs::remove_all(dir);
}
