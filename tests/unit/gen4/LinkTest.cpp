#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/HexBytes.h"
#include "tests/fixtures/GenFixture.h"

using Wire = std::vector<std::string>;

TEST(ZyGen4Cmd, ChannelBTranslationCoversEveryCode) {
    struct Row {
        TZyGen4Commands code;
        uint8_t b;
    };
    const Row rows[] = {
        {GC_ControlWord, 0x10},
        {GC_SetAmpl, 0x12},
        {GC_SetFreq, 0x14},
        {GC_SetPhase, 0x15},
        {GC_SetFreq2, 0x16},
        {GC_Aux7, 0x17},
        {GC_Aux8, 0x18},
        {GC_Aux9, 0x19},
        {GC_AuxA, 0x1A},
        {GC_LoadModTable, 0x21},
        {GC_SetCarrier, 0x2A},
        {GC_LoadKeyTable, 0x31},
        {GC_SelectKeySlot, 0x50},
        {GC_UpdateDDSs1, 0x7F},
        {GC_UpdateDDSs0, 0x80},
        {GC_TuneFreq, 0xE1},
        {GC_TuneAmpl, 0xE2},
        {GC_LFMStart, 0x83},
        {GC_TunePhase, 0xE4},
        {GC_LFMTimeInc, 0x85},
        {GC_LFMTimeDec, 0x86},
        {GC_IntModStart, 0x89},
        {GC_IntModStop, 0x8A},
        {GC_ExtModStart, 0x8D},
        {GC_ExtModDouble, 0x8F},
        {GC_ExtModA12, 0x91},
        {GC_IntModArm, 0x99},
        {GC_IntModDoubleStart, 0x9A},
        {GC_IntModDoubleStop, 0x9B},
        {GC_IntModDuplex, 0xB0},
        {GC_ExtModDuplex, 0xB2},
        {GC_ExtFreqScale, 0xE5},
        {GC_KeyExtTimes, 0xE6},
        {GC_Reset, 0xF0},
        {GC_OutputOn, 0xF9},
        {GC_OutputOff, 0xFA},
        {GC_ReadADC, 0xFD},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.code));
        const TZyGen4Cmd a(row.code, ZGCN_A);
        const TZyGen4Cmd b(row.code, ZGCN_B);
        EXPECT_EQ(a.Code, row.code);
        EXPECT_EQ(b.Code, row.b);
        EXPECT_EQ(b.Ch, ZGCN_B);
        EXPECT_THAT(b.Payload, ::testing::Each(0));
    }
    // No translated code falls into another translation step.
    for (int code = 0; code < 256; ++code) {
        const uint8_t once = TZyGen4Cmd::TranslateForB(static_cast<uint8_t>(code));
        if (once != code) {
            EXPECT_EQ(TZyGen4Cmd::TranslateForB(once), once) << code;
        }
    }
}

TEST(ZyGen4Cmd, PayloadWritersPutMostSignificantByteFirst) {
    TZyGen4Cmd cmd(GC_SetFreq, ZGCN_A);
    cmd.Put32(1, 0x0102A3D7);
    cmd.PutByte(5, 0xEE);
    uint8_t wire[TZyGen4Cmd::kFrameSize];
    EXPECT_EQ(ToHex(wire, cmd.WireImage(wire)), "04 01 02 A3 D7 EE");
    TZyGen4Cmd low(GC_Aux7, ZGCN_B);
    low.Put16LE(1, 0xFDE8);
    low.Put24(3, 0x1234567);   // only the low 24 bits
    low.Put32(4, 0xAABBCCDD);  // bytes past b5 are dropped
    EXPECT_EQ(ToHex(wire, low.WireImage(wire)), "17 E8 FD 23 AA BB");
}

TEST_F(GenFixture, ReadADCPutsOneByteOnTheWireOthersSix) {
    Connect();
    EXPECT_TRUE(gen->WriteCmdFTPort(TZyGen4Cmd(GC_ReadADC, ZGCN_B, 1)));
    EXPECT_TRUE(gen->WriteCmdFTPort(TZyGen4Cmd(GC_OutputOff, ZGCN_B)));
    EXPECT_EQ(Frames(), (Wire{"FD", "FA 00 00 00 00 00"}));
}

TEST_F(GenFixture, NothingIsSentWhileInactive) {
    int events = 0;
    gen->OnFTError = [&](TZyGen4*) { ++events; };
    gen->OnGenResponseWait = [&](TZyGen4*) { ++events; };
    gen->AfterUpdate = [&](TZyGen4*) { ++events; };
    const uint8_t block[2] = {1, 2};
    uint8_t reply[4] = {};
    EXPECT_FALSE(gen->WriteCmdFTPort(TZyGen4Cmd(GC_Reset, ZGCN_A)));
    EXPECT_FALSE(gen->WriteBytesToFTPort(block, 2));
    EXPECT_EQ(gen->ReadBytesFromFTPort(reply, 4), 0);
    A().SetMode(ZGMdC_gen);
    A().Set_sinFrequency(5000);
    gen->UpdateMode();
    EXPECT_TRUE(driver.Calls().empty());
    EXPECT_EQ(events, 0);
    EXPECT_EQ(ticks.GetTickCount(), 0u);
}

TEST_F(GenFixture, PauseCallsTheWaitHandlerEvenWhenTheTickCounterWraps) {
    ticks.Advance(0xFFFFFFF5u);  // 10 ticks before the wrap
    Connect();
    int waits = 0;
    gen->OnGenResponseWait = [&](TZyGen4* sender) {
        EXPECT_EQ(sender, gen.get());
        ++waits;
    };
    const uint32_t t0 = ticks.GetTickCount();
    gen->ResetGen();
    EXPECT_GE(waits, 1);
    EXPECT_EQ(static_cast<uint32_t>(ticks.GetTickCount() - t0), 20u);
}

TEST_F(GenFixture, TransferFailuresFireOnFTErrorThenThrowTheirMessage) {
    Connect();
    std::vector<std::string> log;
    gen->OnFTError = [&](TZyGen4*) { log.push_back("OnFTError"); };
    auto message = [&](auto action) {
        try {
            action();
        } catch (const Exception& e) {
            return e.Message();
        }
        return std::string("no exception");
    };
    // A short write reports FT_OK but is still a failure.
    driver.ShortWrite(driver.WriteCount() + 1);
    EXPECT_EQ(message([&] { gen->ResetGen(); }), "Ошибка при записи команды в FTPort");
    EXPECT_EQ(gen->Status(), FT_OK);
    driver.FailWrite(driver.WriteCount() + 1, FT_IO_ERROR);
    const uint8_t block[3] = {1, 2, 3};
    EXPECT_EQ(message([&] { gen->WriteBytesToFTPort(block, 3); }),
              "Ошибка при записи данных в FTPort");
    EXPECT_EQ(gen->Status(), FT_IO_ERROR);
    uint8_t reply[4];
    driver.QueueRead({0x12, 0x34});  // two of four bytes
    EXPECT_EQ(message([&] { gen->ReadBytesFromFTPort(reply, 4); }),
              "Ошибка при чтении данных из FTPort");
    EXPECT_EQ(log.size(), 3u);
    // A failed transfer does not close the link.
    EXPECT_TRUE(gen->GetActive());
    driver.QueueRead({0x12, 0x34, 0x56, 0x78});
    EXPECT_EQ(gen->ReadBytesFromFTPort(reply, 4), 4);
    EXPECT_EQ(ToHex(reply, 4), "12 34 56 78");
}

TEST_F(GenFixture, FailedOpenRaisesNothingAndFailedCloseKeepsTheLink) {
    std::vector<std::string> log;
    gen->OnFTError = [&](TZyGen4*) { log.push_back("error"); };
    gen->OnChangeActiveState = [&](TZyGen4*) { log.push_back("state"); };
    driver.FailOpen(FT_DEVICE_NOT_FOUND);
    EXPECT_NO_THROW(gen->SetActive(true));
    EXPECT_FALSE(gen->GetActive());
    EXPECT_EQ(gen->Status(), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(log, (Wire{"error", "state"}));

    driver.FailOpen(FT_OK);
    gen->SetActive(true);
    driver.FailClose(FT_IO_ERROR);
    log.clear();
    driver.Clear();
    EXPECT_NO_THROW(gen->SetActive(false));
    EXPECT_TRUE(gen->GetActive());
    EXPECT_EQ(gen->Status(), FT_IO_ERROR);
    EXPECT_EQ(log, (Wire{"error", "state"}));
    EXPECT_EQ(Frames(), (Wire{"F0 00 00 00 00 00"}));
    driver.FailClose(FT_OK);
}

TEST_F(GenFixture, SwitchingOffSendsOnlyTheResetAndCloses) {
    int changes = 0;
    gen->OnChangeActiveState = [&](TZyGen4*) { ++changes; };
    gen->SetActive(false);  // unchanged: nothing at all
    EXPECT_EQ(changes, 0);
    A().SetMode(ZGMdC_gen);
    gen->SetActive(true);
    EXPECT_EQ(changes, 1);
    gen->SetActive(true);
    EXPECT_EQ(changes, 1);
    driver.Clear();
    gen->SetActive(false);
    EXPECT_EQ(Frames(), (Wire{"F0 00 00 00 00 00"}));
    EXPECT_EQ(driver.Calls().back().kind, TRecordingDriver::ckClose);
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_FALSE(gen->GetActive());
    EXPECT_EQ(changes, 2);
}

TEST_F(GenFixture, UnpluggedInstrumentStillDisconnectsAndReconnects) {
    Connect();
    std::vector<std::string> log;
    gen->OnFTError = [&](TZyGen4*) { log.push_back("error"); };
    gen->OnChangeActiveState = [&](TZyGen4*) {
        log.push_back(gen->GetActive() ? "state:on" : "state:off");
    };
    driver.FailWrite(driver.WriteCount() + 1, FT_IO_ERROR);
    EXPECT_THROW(gen->SetActive(false), Exception);
    EXPECT_EQ(log, (Wire{"error", "state:off"}));
    EXPECT_FALSE(gen->GetActive());
    EXPECT_FALSE(driver.IsOpen());
    gen->SetActive(true);
    EXPECT_TRUE(gen->GetActive());
}

TEST(ZyGen4Destructor, ClosesTheLinkAndSwallowsAFailedReset) {
    TRecordingDriver driver;
    TFakeTickSource ticks;
    TManualTimerHost timers;
    auto gen = std::make_unique<TZyGen4>(nullptr, driver, ticks, timers);
    gen->SetActive(true);
    driver.FailWrite(driver.WriteCount() + 1, FT_IO_ERROR);
    EXPECT_NO_THROW(gen.reset());
    EXPECT_FALSE(driver.IsOpen());
}

TEST(ZyGen4Destructor, ResetsAndClosesALiveLink) {
    TRecordingDriver driver;
    TFakeTickSource ticks;
    TManualTimerHost timers;
    {
        TZyGen4 gen(nullptr, driver, ticks, timers);
        gen.SetActive(true);
        driver.Clear();
    }
    EXPECT_EQ(driver.WritesHex(), (Wire{"F0 00 00 00 00 00"}));
    EXPECT_FALSE(driver.IsOpen());
}
