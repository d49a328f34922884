#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gen4/engines/MathFunction.h"
#include "platform/HexBytes.h"

namespace {

std::string BlockHex(const TMathFunction& f) {
    return ToHex(f.ReadingsMemory(), static_cast<std::size_t>(f.ReadingsMemorySize()));
}

// Readings decoded from a 4-byte, least-significant-first, direct-order block.
std::vector<int32_t> Readings(const TMathFunction& f) {
    std::vector<int32_t> out;
    const uint8_t* p = f.ReadingsMemory();
    for (int i = 0; i < f.ReadingsCount(); ++i, p += 4)
        out.push_back(static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                           static_cast<uint32_t>(p[3]) << 24));
    return out;
}

struct TWaveCase {
    const char* name;
    TMathFuncsTypes type;
    int n;
    double ca, cb, cc;
    bool half;
    std::vector<int32_t> expected;
};

TEST(MathFunction, ExampleReadings) {
    const TWaveCase cases[] = {
        {"sine whole period", ZMFT_sin, 4, 0, 100, 0.5, false, {0, 100, 0, -100}},
        {"sine half period", ZMFT_sin, 4, 0, 100, 0.5, true, {0, 71, 100, 71}},
        {"sine around a centre", ZMFT_sin, 4, 1000, 10, 0.5, false, {1000, 1010, 1000, 990}},
        {"rect 2.5 goes to even", ZMFT_rect, 5, 10, 5, 0.5, false, {15, 15, 5, 5, 5}},
        {"rect CC 0 all low", ZMFT_rect, 3, 10, 5, 0.0, false, {5, 5, 5}},
        {"rect CC 1 all high", ZMFT_rect, 3, 10, 5, 1.0, false, {15, 15, 15}},
        {"rect ignores half", ZMFT_rect, 4, 10, 5, 0.25, true, {15, 5, 5, 5}},
        {"triangle symmetric", ZMFT_triangle, 4, 0, 100, 0.5, false, {-100, 0, 100, 0}},
        {"triangle CC 0 falls", ZMFT_triangle, 4, 0, 100, 0.0, false, {100, 50, 0, -50}},
        {"triangle CC 1 rises", ZMFT_triangle, 4, 0, 100, 1.0, false, {-100, -50, 0, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMathFunction f;
        f.SetAutoUpdate(false);
        f.SetBytesPerReading(BPR_4bytes);
        f.SetFunctionType(c.type);
        f.Set_CA(c.ca);
        f.Set_CB(c.cb);
        f.Set_CC(c.cc);
        f.SetHalfOfPeriod(c.half);
        f.SetReadingsCount(c.n);
        f.SetAutoUpdate(true);
        EXPECT_EQ(f.ReadingsMemorySize(), c.n * 4);
        EXPECT_EQ(Readings(f), c.expected);
    }
}

// A single high rectangle reading equals CA + CB exactly: a handy way to put
// a chosen code into the block.
void OneReading(TMathFunction& f, double code, int count = 1) {
    f.SetAutoUpdate(false);
    f.SetFunctionType(ZMFT_rect);
    f.Set_CC(1.0);
    f.Set_CB(0.0);
    f.Set_CA(code);
    f.SetReadingsCount(count);
    f.SetAutoUpdate(true);
}

TEST(MathFunction, ByteLayouts) {
    TMathFunction f;
    f.SetBytesPerReading(BPR_4bytes);
    f.SetDirectRdsBytes(false);
    OneReading(f, 16909060);
    EXPECT_EQ(BlockHex(f), "01 02 03 04");
    f.SetDirectRdsBytes(true);
    EXPECT_EQ(BlockHex(f), "04 03 02 01");

    f.SetBytesPerReading(BPR_2bytes);
    EXPECT_EQ(BlockHex(f), "04 03");  // low 16 bits only
    f.Set_CA(-1);
    EXPECT_EQ(BlockHex(f), "FF FF");
    f.SetDirectRdsBytes(false);
    f.Set_CA(0x1234);
    EXPECT_EQ(BlockHex(f), "12 34");

    // Reversed order: readings of i = 2, 1, 0 land in slots 0, 1, 2.
    TMathFunction r;
    r.SetAutoUpdate(false);
    r.SetDirectRdsBytes(false);
    r.SetFunctionType(ZMFT_triangle);
    r.Set_CC(1.0);
    r.Set_CA(20);
    r.Set_CB(15);  // rising ramp 5, 15, 25
    r.SetReadingsCount(3);
    r.SetAutoUpdate(true);
    EXPECT_EQ(BlockHex(r), "00 05 00 0F 00 19");
    r.SetDirectRdsOrder(false);
    EXPECT_EQ(BlockHex(r), "00 19 00 0F 00 05");
}

TEST(MathFunction, EmptyTableHasNoBlock) {
    TMathFunction f;
    EXPECT_EQ(f.ReadingsCount(), 0);
    EXPECT_EQ(f.ReadingsMemorySize(), 0);
    EXPECT_EQ(f.ReadingsMemory(), nullptr);
    OneReading(f, 5, 2);
    ASSERT_NE(f.ReadingsMemory(), nullptr);
    f.SetReadingsCount(0);
    EXPECT_EQ(f.ReadingsMemorySize(), 0);
    EXPECT_EQ(f.ReadingsMemory(), nullptr);
}

TEST(MathFunction, SameOrRejectedValuesNeverRecompute) {
    TMathFunction f;
    OneReading(f, 7, 3);
    const int built = f.UpdateCount();
    const std::string block = BlockHex(f);

    f.SetReadingsCount(3);
    f.SetBytesPerReading(f.BytesPerReading());
    f.Set_CA(7);
    f.Set_CB(0);
    f.Set_CC(1.0);
    f.SetFunctionType(ZMFT_rect);
    f.SetDirectRdsBytes(true);
    f.SetDirectRdsOrder(true);
    f.SetHalfOfPeriod(false);
    f.SetAutoUpdate(true);
    f.SetPropsLoaded(true);
    f.SetReadingsCount(-1);
    f.SetReadingsCount(TMathFunction::kMaxReadingsCount + 1);
    f.Set_CC(1.5);
    f.Set_CC(-0.1);
    f.Set_CC(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(f.UpdateCount(), built);
    EXPECT_EQ(f.ReadingsCount(), 3);
    EXPECT_EQ(f.CC(), 1.0);
    EXPECT_EQ(BlockHex(f), block);
}

TEST(MathFunction, AutoUpdateAndPropsLoaded) {
    TMathFunction f;
    // Each accepted change recomputes while AutoUpdate is on.
    f.SetReadingsCount(2);
    f.Set_CA(3);
    EXPECT_EQ(f.UpdateCount(), 2);

    // Off, several changes, on: exactly one recomputation.
    f.SetAutoUpdate(false);
    f.Set_CA(4);
    f.Set_CB(2);
    f.SetReadingsCount(4);
    EXPECT_EQ(f.UpdateCount(), 2);
    EXPECT_EQ(f.ReadingsMemorySize(), 4);  // still the old block
    f.SetAutoUpdate(true);
    EXPECT_EQ(f.UpdateCount(), 3);
    EXPECT_EQ(f.ReadingsMemorySize(), 8);

    // PropsLoaded off: nothing is computed and the block stays as it was.
    f.SetPropsLoaded(false);
    EXPECT_EQ(f.UpdateCount(), 3);
    const std::string block = BlockHex(f);
    f.SetReadingsCount(6);
    f.SetAutoUpdate(false);
    f.SetAutoUpdate(true);
    EXPECT_EQ(f.UpdateCount(), 3);
    EXPECT_EQ(BlockHex(f), block);

    // Switching it on recomputes whatever AutoUpdate is.
    f.SetAutoUpdate(false);
    f.SetPropsLoaded(true);
    EXPECT_EQ(f.UpdateCount(), 4);
    EXPECT_EQ(f.ReadingsMemorySize(), 12);
}

TEST(MathFunction, ReadingCodeRoundsHalfToEvenAndKeepsTheLow32Bits) {
    EXPECT_EQ(TMathFunction::ReadingCode(2.5), 2u);
    EXPECT_EQ(TMathFunction::ReadingCode(3.5), 4u);
    EXPECT_EQ(TMathFunction::ReadingCode(-2.5), 0xFFFFFFFEu);
    EXPECT_EQ(TMathFunction::ReadingCode(4294967295.0 + 16383.0), 16382u);  // low 32 bits
    EXPECT_EQ(TMathFunction::ReadingCode(1e300), 0u);                       // a multiple of 2^32
    EXPECT_EQ(TMathFunction::ReadingCode(-1e300), 0u);
    EXPECT_EQ(TMathFunction::ReadingCode(std::numeric_limits<double>::infinity()), 0u);
    EXPECT_EQ(TMathFunction::ReadingCode(std::numeric_limits<double>::quiet_NaN()), 0u);
}

}  // namespace
