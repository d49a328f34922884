#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/CommandTable.h"
#include "sim/InstrumentState.h"
#include "sim/WireSplitter.h"

// The instrument's side of the link: reads the byte stream, carries out each
// frame on the instrument state and stores uploaded tables. Codes it does not
// know and frames the instrument could not carry out are protocol errors: they
// are counted and described, and decoding goes on with the next frame.
class TFrameDecoder {
  public:
    // Descriptions beyond this many are counted but not kept.
    static constexpr std::size_t kMaxKeptErrors = 256;

    void Feed(const uint8_t* data, std::size_t count);
    // The receiver gives up on an incomplete frame or block (its timeout after
    // a transfer went wrong); what was missing counts as a protocol error.
    void DropPartial();

    const TInstrumentState& State() const { return state_; }
    void SetExternalRefMHz(double mhz) { state_.externalRefMHz = mhz; }

    std::size_t ProtocolErrorCount() const { return errorCount_; }
    const std::vector<std::string>& ProtocolErrors() const { return errors_; }
    uint64_t FrameCount() const { return frames_; }

    // Called for each ADC read command: the instrument must answer.
    std::function<void()> OnReadADC;

  private:
    enum TBlockKind : int32_t { bkNone, bkTable, bkDds };

    void Frame(const uint8_t* frame, std::size_t length);
    void Block(const uint8_t* data, std::size_t count);
    void Error(const std::string& what);
    bool RequireZero(const uint8_t* frame, int from);
    bool CheckParam(uint8_t selector, const char* what);
    // One handler per command family.
    void InstrumentFrame(const TCommandEntry& e, const uint8_t* f);
    void CarrierFrame(const TCommandEntry& e, const uint8_t* f);
    void TablesFrame(const TCommandEntry& e, const uint8_t* f);
    void SweepFrame(const TCommandEntry& e, const uint8_t* f);
    void IntModFrame(const TCommandEntry& e, const uint8_t* f);
    void DoubleIntMod(bool start);
    void ExtModFrame(const TCommandEntry& e, const uint8_t* f);
    void KeyingFrame(const TCommandEntry& e, const uint8_t* f);
    void ControlWord(TInstrumentState::TChannel& c, int ch, const uint8_t* f);
    void TableUpload(int ch, const uint8_t* f);
    void DdsUpload(int ch, const uint8_t* f);
    void IntModStart(TInstrumentState::TChannel& c, const uint8_t* f,
                     TInstrumentState::TIntModVariant variant);
    void ExtModStart(TInstrumentState::TChannel& c, TInstrumentState::TRun run, uint8_t scale,
                     uint8_t selector);
    void Tune(TInstrumentState::TChannel& c, TInstrumentState::TParam param, const uint8_t* f);
    void CheckCarrierWidth(const TInstrumentState::TChannel& c);

    TWireSplitter splitter_;
    TInstrumentState state_;
    std::string frameText_;  // the frame being carried out, for error texts

    // Where the bytes of the block being received go.
    TBlockKind blockKind_ = bkNone;
    int blockCh_ = 0;
    uint32_t blockAddress_ = 0;  // next byte address in the target memory
    uint32_t blockLimit_ = 0;    // size of the target memory in bytes

    std::size_t errorCount_ = 0;
    std::vector<std::string> errors_;
    uint64_t frames_ = 0;
};
