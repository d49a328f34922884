#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "tests/unit/cli/CliRun.h"

namespace {

namespace fs = std::filesystem;

class Zygen4Replay : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("zygen4-replay-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string File(const char* name) const { return (dir / name).string(); }
};

std::vector<std::string> StateLinesOf(const CliRun& run) {
    std::vector<std::string> state;
    for (const auto& line : run.OutLines())
        if (line.find('=') != std::string::npos) state.push_back(line);
    return state;
}

TEST_F(Zygen4Replay, ATraceOfEveryModeFamilyReplaysToTheSameState) {
    // Each run: set-ups of two mode families, then the state. (A lost write
    // ends zygen4's run before its state; the monitor's tests replay those.)
    const std::vector<std::vector<std::string>> runs = {
        {"ChA.Mode=ZGMdC_LFM", "ChB.Mode=ZGMdC_LFM", "ChA.LFM.Tinc0=1000"},
        {"ChA.Mode=ZGMdC_IntModulation", "ChB.Mode=ZGMdC_DDSMod", "ChB.DDSMod.Mode=ZGTMs_QxSK"},
        {"ChA.Mode=ZGMdC_tuning", "ChB.Mode=ZGMdC_ExtModulation", "adc", "A"},
        {"ChA.Mode=ZGMdC_DDSMod", "ChA.DDSMod.Mode=ZGTMs_User", "ChB.Mode=ZGMdC_gen"},
    };
    for (const auto& steps : runs) {
        const std::string trace = File("run.trace");
        std::vector<std::string> args{"--device", "sim", "--fast", "--trace", trace};
        args.insert(args.end(), {"AutoUpdate=0", "Active=1"});
        args.insert(args.end(), steps.begin(), steps.end());
        args.insert(args.end(), {"AutoUpdate=1", "state"});
        const CliRun live(args);
        ASSERT_EQ(live.status, 0) << live.err;
        const CliRun replay({"replay", trace});
        ASSERT_EQ(replay.status, 0) << replay.err;
        EXPECT_EQ(replay.OutLines(), StateLinesOf(live)) << steps[0];
    }
}

TEST_F(Zygen4Replay, ExplainPrintsEachTransferWithItsMeaning) {
    const std::string trace = File("explain.trace");
    std::ofstream(trace) << "C F0 00 00 00 00 00\nC F9 00 00 00 00 00 !\nC FD\nR 00 00 12 34\n";
    const CliRun run({"replay", "--explain", trace});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = run.OutLines();
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[0], "C F0 00 00 00 00 00\tсброс");
    EXPECT_EQ(lines[1], "C F9 00 00 00 00 00 !\tB: выход включён");
    EXPECT_EQ(lines[2], "C FD\tчтение АЦП");
    EXPECT_EQ(lines[3], "R 00 00 12 34\tответ АЦП 00001234");
    EXPECT_EQ(lines[4], "clock_mhz=400");
    // The failed frame never arrived.
    for (const auto& line : lines) EXPECT_NE(line, "B.output=1");
}

TEST_F(Zygen4Replay, AMissingOrMalformedTraceIsAnError) {
    const std::string bad = File("bad.trace");
    std::ofstream(bad) << "C F0 00 00 00 00 00\nhello\n";
    const struct {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{"replay"}, 2, "needs a trace file"},
        {{"replay", "a", "b"}, 2, "unexpected 'b'"},
        {{"replay", "--fast", "a"}, 2, "unexpected '--fast'"},
        {{"replay", File("none.trace")}, 1, "cannot open the trace"},
        {{"replay", bad}, 1, "строка 2"},
    };
    for (const auto& c : cases) {
        const CliRun run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_EQ(run.out, "") << c.args.back();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

}  // namespace
