#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "props/PropertyTable.h"
#include "tests/unit/cli/CliRun.h"

namespace {

// A value for each writable property, different from its default and, for the
// two channels, from each other: a path wired to the wrong getter, setter or
// channel reads back something else.
struct ChannelValue {
    const char* suffix;
    const char* a;
    const char* b;
};

const ChannelValue kChannelValues[] = {
    {"LFM.FreqTop", "5000", "6000"},  // before Frequency: the top must not be below it
    {"Mode", "ZGMdC_LFM", "ZGMdC_LFM"},
    {"Frequency", "2500.5", "3500.25"},
    {"Amplitude", "55.5", "66.25"},
    {"Phase", "12.25", "13.5"},
    {"IntModulation.Type", "ZGAFPms_phase", "ZGAFPms_ampl"},
    {"IntModulation.Fm", "1234", "4321"},
    {"IntModulation.dA", "33", "44"},
    {"IntModulation.dF", "4321", "5432"},
    {"IntModulation.dPh", "45", "46"},
    {"IntModulation.CC", "0.25", "0.125"},
    {"IntModulation.MathFuncType", "ZMFT_triangle", "ZMFT_rect"},
    {"ExtModulation.Type", "ZGAFPms_ampl", "ZGAFPms_phase"},
    {"ExtModulation.Scale", "7", "8"},
    {"Tuner.Scale", "9", "10"},
    {"Tuner.Type", "ZGAFPms_phase", "ZGAFPms_ampl"},
    {"Tuner.ADCTimerEnabled", "1", "1"},
    {"Tuner.ADCTimerInterval", "250", "300"},
    {"LFM.Tinc0", "100", "200"},
    {"LFM.Tinc1", "101", "201"},
    {"LFM.Tdec0", "102", "202"},
    {"LFM.Tdec1", "103", "203"},
    {"DDSMod.F1", "1001", "2001"},
    {"DDSMod.F2", "1002", "2002"},
    {"DDSMod.F3", "1003", "2003"},
    {"DDSMod.F4", "1004", "2004"},
    {"DDSMod.dF", "1500", "1600"},
    {"DDSMod.Ph1", "11", "21"},
    {"DDSMod.Ph2", "12", "22"},
    {"DDSMod.Ph3", "13", "23"},
    {"DDSMod.Ph4", "14", "24"},
    {"DDSMod.dPh", "45.5", "55.5"},
    {"DDSMod.T1", "2001", "3001"},
    {"DDSMod.T2", "2002", "3002"},
    {"DDSMod.T3", "2003", "3003"},
    {"DDSMod.T4", "2004", "3004"},
    {"DDSMod.ContBidiRamp", "1", "1"},
    {"DDSMod.Mode", "ZGTMs_User", "ZGTMs_QxSK"},
    {"DDSMod.Type", "ZGAFPms_phase", "ZGAFPms_phase"},
    {"DDSMod.Fm", "2500", "3500"},
    {"DDSMod.MathFuncType", "ZMFT_rect", "ZMFT_triangle"},
    {"DDSMod.CC", "0.75", "0.625"},
    {"DDSMod.ReadingsCntMin", "64", "128"},
};

const char* const kReadOnly[] = {
    "Status",          "ChA.ChannelType",          "ChA.IntModulation.RdsCnt", "ChA.Tuner.ADCValue",
    "ChB.ChannelType", "ChB.IntModulation.RdsCnt", "ChB.Tuner.ADCValue"};

}  // namespace

TEST(PropertyTable, EveryWritablePathSetsAndReadsItsOwnProperty) {
    // AutoUpdate first: the link opens but no cycle sends anything.
    std::vector<std::pair<std::string, std::string>> sets = {{"AutoUpdate", "0"},
                                                             {"Active", "1"},
                                                             {"UseExtRefFreq", "1"},
                                                             {"RefFreq", "30"},
                                                             {"FreqScale", "8"},
                                                             {"Options.EnableDuplexIntMod", "1"},
                                                             {"Options.OverModulationNotify", "0"}};
    for (const auto& v : kChannelValues) {
        sets.emplace_back(std::string("ChA.") + v.suffix, v.a);
        sets.emplace_back(std::string("ChB.") + v.suffix, v.b);
    }

    std::vector<std::string> args{"--device", "sim", "--fast"};
    std::string expected;
    for (const auto& [path, value] : sets) args.push_back(path + "=" + value);
    for (const auto& [path, value] : sets) {
        args.push_back(path + "?");
        expected += path + "=" + value + "\n";
    }
    CliRun run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);

    // The table holds exactly these paths, writable, and the read-only ones.
    std::set<std::string> writable, readOnly(std::begin(kReadOnly), std::end(kReadOnly)), table;
    for (const auto& s : sets) writable.insert(s.first);
    for (const auto& def : TPropertyTable::Instance().All()) {
        EXPECT_TRUE(table.insert(def.path).second) << "twice: " << def.path;
        EXPECT_EQ((def.ReadOnly() ? readOnly : writable).count(def.path), 1u) << def.path;
    }
    EXPECT_EQ(table.size(), writable.size() + readOnly.size());
}
