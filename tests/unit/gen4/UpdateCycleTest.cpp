#include <string>
#include <vector>

#include "tests/fixtures/GenFixture.h"

using Wire = std::vector<std::string>;

TEST_F(GenFixture, BothChannelsGeneratingSendTenFramesWithTheirPauses) {
    Connect();
    const uint32_t t0 = ticks.GetTickCount();
    const Wire frames = Cycle([&] {
        A().SetMode(ZGMdC_gen);
        B().SetMode(ZGMdC_gen);
    });
    EXPECT_EQ(frames, (Wire{"F0 00 00 00 00 00", "F1 00 00 00 00 00", "04 00 A3 D7 0A 00",
                            "02 3F FF 00 00 00", "05 00 00 00 00 00", "F9 00 00 00 00 00",
                            "14 00 A3 D7 0A 00", "12 3F FF 00 00 00", "15 00 00 00 00 00",
                            "7F 00 00 00 00 00"}));
    EXPECT_GE(ticks.GetTickCount() - t0, 200u);
}
