#include "sim/VirtualInstrument.h"

#include <algorithm>
#include <limits>

#include "sim/StateReport.h"

namespace {
constexpr FT_HANDLE kHandle = 0x51;
}

TVirtualInstrument::TVirtualInstrument() {
    decoder_.OnReadADC = [this] { AnswerADC(); };
}

FT_STATUS TVirtualInstrument::FT_Open(int deviceNumber, FT_HANDLE& handle) {
    if (openResult_ != FT_OK) return openResult_;
    if (deviceNumber != 0) return FT_DEVICE_NOT_FOUND;
    if (open_) return FT_DEVICE_NOT_OPENED;  // busy: one user at a time
    open_ = true;
    handle = kHandle;
    return FT_OK;
}

FT_STATUS TVirtualInstrument::FT_Close(FT_HANDLE handle) {
    if (!open_ || handle != kHandle) return FT_INVALID_HANDLE;
    open_ = false;
    decoder_.DropPartial();
    return FT_OK;
}

FT_STATUS TVirtualInstrument::FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count,
                                       uint32_t& written) {
    const int64_t k = ++writeCount_;
    written = 0;
    if (!open_ || handle != kHandle) return FT_INVALID_HANDLE;
    if (auto it = writeFailures_.find(k); it != writeFailures_.end() && it->second != FT_OK) {
        decoder_.DropPartial();
        return it->second;
    }
    if (count > 0 && !data) return FT_INVALID_HANDLE;
    const bool cut = shortWrites_.count(k) > 0 && count > 0;
    written = cut ? count - 1 : count;
    decoder_.Feed(data, written);
    if (cut) decoder_.DropPartial();
    return FT_OK;
}

FT_STATUS TVirtualInstrument::FT_Read(FT_HANDLE handle, uint8_t* buffer, uint32_t count,
                                      uint32_t& read) {
    const int64_t k = ++readCount_;
    read = 0;
    if (!open_ || handle != kHandle) return FT_INVALID_HANDLE;
    if (auto it = readFailures_.find(k); it != readFailures_.end() && it->second != FT_OK) {
        replies_.clear();  // the answer is lost with the failed transfer
        return it->second;
    }
    if (count > 0 && !buffer) return FT_INVALID_HANDLE;
    // Only what the instrument has sent can be read; fewer bytes is a timeout.
    read = static_cast<uint32_t>(std::min<std::size_t>(count, replies_.size()));
    std::copy_n(replies_.begin(), read, buffer);
    replies_.erase(replies_.begin(), replies_.begin() + read);
    return FT_OK;
}

std::vector<std::string> TVirtualInstrument::StateLines() const {
    return StateReportLines(decoder_.State(), decoder_.ProtocolErrorCount());
}

void TVirtualInstrument::AnswerADC() {
    const uint32_t v = fixedAdc_ ? *fixedAdc_ : NextDriftValue();
    for (int shift = 24; shift >= 0; shift -= 8)
        replies_.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t TVirtualInstrument::NextDriftValue() {
    // A slow triangle, 64 reads up and 64 down. On a tuned channel it sweeps
    // the tuning range around the carrier, as the instrument's own reading
    // would move; frequency readings are whole 32-bit codes, amplitude and
    // phase readings 14-bit codes in the upper 16 bits.
    const uint32_t phase = driftStep_++ % 128;
    const int64_t up = phase < 64 ? phase : 128 - phase;  // 0 .. 64
    for (const TInstrumentState::TChannel& c : decoder_.State().ch) {
        if (c.run != TInstrumentState::rnTuning) continue;
        const int64_t offset = TInstrumentState::HalfRangeCodes(c.param, c.scale) * (up - 32) / 32;
        switch (c.param) {
            case TInstrumentState::prFreq:
                return static_cast<uint32_t>(std::clamp<int64_t>(
                    int64_t{c.freqCode} + offset, 0, std::numeric_limits<uint32_t>::max()));
            case TInstrumentState::prAmpl:
                return static_cast<uint32_t>(
                           std::clamp<int64_t>(int64_t{c.amplCode} + offset, 0, 16383))
                       << 16;
            case TInstrumentState::prPhase:
                return static_cast<uint32_t>(((int64_t{c.phaseCode} + offset) % 16384 + 16384) %
                                             16384)
                       << 16;
            default:
                break;
        }
    }
    return 0x60000000u + static_cast<uint32_t>(up) * 0x01000000u;
}
