#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/TraceFile.h"
#include "monitor/TransferRing.h"
#include "platform/Exceptions.h"
#include "tests/fixtures/TappedSimFixture.h"

namespace {

TTraceDriver::TTransfer Frame(uint8_t code) {
    return {TTraceDriver::tkCommand, {code, 0, 0, 0, 0, 0}, true};
}

std::vector<uint8_t> CodesFrom(const TTransferRing& ring, uint64_t from) {
    std::vector<uint8_t> codes;
    ring.ForEachFrom(from, [&](const TTransferRecord& r) { codes.push_back(r.transfer.bytes[0]); });
    return codes;
}

TEST(TransferRingTest, KeepsTheLastTransfersAndCountsTheOnesPushedOut) {
    TTransferRing ring(3);
    for (uint8_t code = 1; code <= 5; ++code) ring.Push(code * 20u, Frame(code));
    EXPECT_EQ(ring.Size(), 3u);
    EXPECT_EQ(ring.Dropped(), 2u);
    EXPECT_EQ(ring.FirstSeq(), 2u);
    EXPECT_EQ(ring.NextSeq(), 5u);
    EXPECT_EQ(CodesFrom(ring, 0), (std::vector<uint8_t>{3, 4, 5}));
    // A reader that saw up to sequence 3 gets only what is newer.
    EXPECT_EQ(CodesFrom(ring, 4), (std::vector<uint8_t>{5}));

    ring.Clear();  // the operator's clear drops nothing and keeps counting
    ring.Push(120, Frame(6));
    EXPECT_EQ(CodesFrom(ring, 0), (std::vector<uint8_t>{6}));
    EXPECT_EQ(ring.Dropped(), 2u);
    EXPECT_EQ(ring.NextSeq(), 6u);
}

TEST(TransferRingTest, HoldsAHundredThousandTransfersByDefault) {
    TTransferRing ring;
    for (uint32_t i = 0; i < 100005; ++i) ring.Push(i, Frame(static_cast<uint8_t>(i)));
    EXPECT_EQ(ring.Size(), 100000u);
    EXPECT_EQ(ring.Dropped(), 5u);
    uint32_t oldest = 0;
    ring.ForEachFrom(0, [&](const TTransferRecord& r) {
        if (oldest == 0) oldest = r.ms;
    });
    EXPECT_EQ(oldest, 5u);
}

TEST_F(TappedSimFixture, RecordsEveryTransferWithItsTimeSinceConnect) {
    ticks.Advance(5000);  // time before the link opens does not count
    Cycle([&] {
        gen->SetActive(true);
        A().SetMode(ZGMdC_gen);
        A().SetMode(ZGMdC_IntModulation);
    });
    const auto& ring = tap.Ring();
    ASSERT_GT(ring.Size(), 3u);
    std::optional<uint32_t> first;
    uint32_t last = 0;
    int data = 0;
    ring.ForEachFrom(0, [&](const TTransferRecord& r) {
        if (!first) first = r.ms;
        EXPECT_GE(r.ms, last);
        last = r.ms;
        EXPECT_TRUE(r.transfer.ok);
        data += r.transfer.kind == TTraceDriver::tkData;
    });
    EXPECT_EQ(data, 1);  // the modulation table
    EXPECT_EQ(first, 0u);
    // Each frame is followed by its 20 ms pause on the fake clock.
    EXPECT_GE(last, 20u * (ring.Size() - 2));
    EXPECT_LT(last, 5000u);
}

TEST_F(TappedSimFixture, TheRecordReplaysToTheInstrumentsStateThroughATraceFile) {
    Cycle([&] {
        gen->SetActive(true);
        A().SetMode(ZGMdC_LFM);
        B().SetMode(ZGMdC_LFM);
        A().Set_sinFrequency(1000);
        A().LFM()->SetFreqTop(2000);
    });
    // A lost frame must be lost in the replay too.
    sim.FailWrite(sim.WriteCount() + 3);
    EXPECT_THROW(gen->UpdateMode(), Exception);
    Cycle([&] {
        B().SetMode(ZGMdC_tuning);
        B().Tuner()->SetType(ZGAFPms_phase);
    });
    gen->ChB()->Tuner()->GetADCValue();

    std::vector<TTraceDriver::TTransfer> transfers;
    tap.Ring().ForEachFrom(0, [&](const TTransferRecord& r) { transfers.push_back(r.transfer); });
    std::istringstream file(TraceText(transfers));
    TLinkReplay replay;
    for (const auto& t : ReadTrace(file)) replay.Apply(t);
    EXPECT_EQ(replay.Instrument().StateLines(), sim.StateLines());
    ASSERT_TRUE(replay.LastReading().has_value());
}

TEST(TraceFileTest, ReadsWhatItWritesAndNamesTheFirstBadLine) {
    const std::string text = "C F0 00 00 00 00 00\nD 01 ff\n\nR 12 34 56 78 !\nC FD\n";
    std::istringstream in(text);
    const auto transfers = ReadTrace(in);
    ASSERT_EQ(transfers.size(), 4u);
    EXPECT_EQ(transfers[1].bytes, (std::vector<uint8_t>{0x01, 0xFF}));
    EXPECT_FALSE(transfers[2].ok);
    EXPECT_EQ(TraceText(transfers), "C F0 00 00 00 00 00\nD 01 FF\nR 12 34 56 78 !\nC FD\n");

    for (const char* bad : {"X 00\n", "C F0 0\n", "C F0 ! 00\n", "C\nCF0\n"}) {
        std::istringstream badIn(bad);
        EXPECT_THROW(ReadTrace(badIn), EConvertError) << bad;
    }
    std::istringstream second("C F0\nC G0\n");
    try {
        ReadTrace(second);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("строка 2"), std::string::npos) << e.what();
    }
}

}  // namespace
