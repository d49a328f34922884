// The virtual instrument's decoder on any byte stream, fed once whole and once
// in writes split anywhere: both end in the same state with the same frames,
// protocol errors and ADC reads. Input: a count n (first byte, 0 … 15), n
// piece lengths (one byte each, 0 taken as 1), then the stream, cut into
// pieces of those lengths in turn.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/FrameDecoder.h"
#include "sim/StateReport.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

struct TDecoded {
    TFrameDecoder decoder;
    int adcReads = 0;
    TDecoded() {
        decoder.OnReadADC = [this] { ++adcReads; };
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::size_t n = data[0] & 15;
    if (size < 1 + n) return 0;
    const std::vector<std::size_t> lengths(data + 1, data + 1 + n);
    const uint8_t* stream = data + 1 + n;
    const std::size_t count = size - 1 - n;

    TDecoded whole, split;
    whole.decoder.Feed(stream, count);
    std::size_t at = 0;
    for (std::size_t i = 0; at < count; ++i) {
        std::size_t piece = lengths.empty() ? 1 : lengths[i % lengths.size()];
        if (piece == 0) piece = 1;
        if (piece > count - at) piece = count - at;
        split.decoder.Feed(stream + at, piece);
        at += piece;
    }

    const TFrameDecoder& a = whole.decoder;
    const TFrameDecoder& b = split.decoder;
    Check(a.FrameCount() == b.FrameCount(), "same frames");
    Check(a.ProtocolErrorCount() == b.ProtocolErrorCount(), "same protocol errors");
    Check(a.ProtocolErrors() == b.ProtocolErrors(), "same error texts");
    Check(whole.adcReads == split.adcReads, "same ADC reads");
    Check(StateReportLines(a.State(), a.ProtocolErrorCount()) ==
              StateReportLines(b.State(), b.ProtocolErrorCount()),
          "same state");

    // A receiver timeout afterwards leaves both alike too.
    whole.decoder.DropPartial();
    split.decoder.DropPartial();
    Check(StateReportLines(a.State(), a.ProtocolErrorCount()) ==
              StateReportLines(b.State(), b.ProtocolErrorCount()),
          "same state after a timeout");
    return 0;
}
