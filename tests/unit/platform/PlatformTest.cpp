#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Component.h"
#include "platform/FakeTickSource.h"
#include "platform/HexBytes.h"
#include "platform/ManualTimerHost.h"
#include "platform/RecordingDriver.h"
#include "platform/TickSource.h"
#include "platform/TimerHost.h"

namespace {

struct TLogged : TComponent {
    TLogged(TComponent* owner, std::vector<std::string>& log, std::string name)
        : TComponent(owner), log_(log), name_(std::move(name)) {}
    ~TLogged() override { log_.push_back(name_); }
    std::vector<std::string>& log_;
    std::string name_;
};

TEST(Component, OwnerDestroysInReverseOrderAndEarlyDeathLeavesTheList) {
    std::vector<std::string> log;
    auto* owner = new TComponent(nullptr);
    new TLogged(owner, log, "first");
    auto* second = new TLogged(owner, log, "second");
    new TLogged(owner, log, "third");
    delete second;
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"second", "third", "first"}));
}

TEST(WaitTicks, WaitsTheFullSpanAndCallsTheHandlerRepeatedly) {
    // Start just below the wrap so the span crosses it.
    TFakeTickSource ticks(0xFFFFFFF5u);
    int calls = 0;
    WaitTicks(ticks, 20, [&] { ++calls; });
    EXPECT_EQ(ticks.GetTickCount() - 0xFFFFFFF5u, 20u);
    EXPECT_GE(calls, 2);
}

TEST(WaitTicks, HandlerRunsOnceEvenWhenNoTimeIsLeft) {
    TFakeTickSource ticks;
    int calls = 0;
    WaitTicks(ticks, 0, [&] { ++calls; });
    EXPECT_EQ(calls, 1);
}

TEST(RecordingDriver, RecordsWritesAndFollowsItsScript) {
    TRecordingDriver driver;
    FT_HANDLE handle = 0;
    ASSERT_EQ(driver.FT_Open(0, handle), FT_OK);
    driver.ShortWrite(2);
    driver.FailWrite(3);
    driver.QueueRead({1, 2, 3, 4});
    const uint8_t frame[] = {0xF0, 0, 0, 0, 0, 0x0A};
    uint32_t written = 0;
    EXPECT_EQ(driver.FT_Write(handle, frame, 6, written), FT_OK);
    EXPECT_EQ(written, 6u);
    EXPECT_EQ(driver.FT_Write(handle, frame, 6, written), FT_OK);
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(driver.FT_Write(handle, frame, 6, written), FT_IO_ERROR);
    uint8_t reply[4] = {};
    uint32_t read = 0;
    EXPECT_EQ(driver.FT_Read(handle, reply, 4, read), FT_OK);
    EXPECT_EQ(ToHex(reply, read), "01 02 03 04");
    EXPECT_EQ(driver.WritesHex().front(), "F0 00 00 00 00 0A");
}

TEST(ManualTimerHost, AdvanceFiresEachIntervalAndRespectsKills) {
    TManualTimerHost timers;
    int ticks = 0;
    TTimerHost::TTimerId id = 0;
    id = timers.SetTimer(500, [&] {
        if (++ticks == 3) timers.KillTimer(id);
    });
    timers.Advance(1499);
    EXPECT_EQ(ticks, 2);
    timers.Advance(10000);
    EXPECT_EQ(ticks, 3);
    timers.SetRefuseNew(true);
    EXPECT_EQ(timers.SetTimer(10, [] {}), 0u);
}

}  // namespace
