#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scpi/ScpiLineBuffer.h"

namespace {

// What comes out of the buffer for bytes fed in pieces: lines, and "!" for a
// refused one.
std::vector<std::string> Feed(const std::vector<std::string>& pieces) {
    TScpiLineBuffer buffer;
    std::vector<std::string> out;
    for (const auto& piece : pieces) {
        buffer.Append(piece);
        TScpiLineBuffer::TItem item;
        while (buffer.Next(item)) out.push_back(item.tooLong ? "!" : item.line);
    }
    return out;
}

const std::string kLongest(TScpiLineBuffer::kMaxLine, 'x');

struct LineCase {
    const char* name;
    std::vector<std::string> pieces;
    std::vector<std::string> lines;
};

TEST(ScpiLineBuffer, CutsLinesAndRefusesLongOnes) {
    const LineCase cases[] = {
        {"one line", {"FREQ?\n"}, {"FREQ?"}},
        {"CR LF", {"*IDN?\r\n"}, {"*IDN?"}},
        {"in pieces", {"FR", "EQ 1", "\nPH", "AS?\n"}, {"FREQ 1", "PHAS?"}},
        {"two in one", {"A\nB\n\n"}, {"A", "B", ""}},
        {"unfinished", {"FREQ 1"}, {}},
        {"longest taken", {kLongest + "\r\n"}, {kLongest}},
        {"one more refused", {kLongest + "y\nFREQ?\n"}, {"!", "FREQ?"}},
        {"refused as it grows",
         {kLongest, "yy", std::string(100000, 'z'), "z\nOUTP?\n"},
         {"!", "OUTP?"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Feed(c.pieces), c.lines) << c.name;
}

TEST(ScpiLineBuffer, ClearDropsAHalfReceivedLine) {
    TScpiLineBuffer buffer;
    buffer.Append("FREQ 1");
    buffer.Clear();
    buffer.Append("2\n");
    TScpiLineBuffer::TItem item;
    ASSERT_TRUE(buffer.Next(item));
    EXPECT_EQ(item.line, "2");
}

}  // namespace
