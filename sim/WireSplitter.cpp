#include "sim/WireSplitter.h"

#include <algorithm>

#include "sim/FrameWords.h"

namespace {

void AddPiece(std::vector<TWireSplitter::TPiece>& pieces, TWireSplitter::TPieceKind kind,
              std::size_t offset, std::size_t count) {
    if (count == 0) return;
    if (!pieces.empty() && pieces.back().kind == kind &&
        pieces.back().offset + pieces.back().count == offset) {
        pieces.back().count += count;
        return;
    }
    pieces.push_back({kind, offset, count});
}

}  // namespace

std::size_t TWireSplitter::FrameLength(uint8_t code) {
    return code == kReadAdcCode ? 1 : kFrameBytes;
}

uint32_t TWireSplitter::AnnouncedBlock(const uint8_t* frame, std::size_t length) {
    if (length < kFrameBytes) return 0;
    switch (frame[0]) {
        case 0x20:  // table upload, channel A: byte count
        case 0x30:  // DDS memory upload, channel A: byte count
        case 0x31:  // DDS memory upload, channel B: byte count
            return FrameWord16(frame + 1);
        case 0x21: {  // table upload, channel B: start and end address
            const uint32_t start = FrameWord16(frame + 1);
            const uint32_t end = FrameWord16(frame + 3);
            return end > start ? end - start : 0;
        }
        default:
            return 0;
    }
}

std::vector<TWireSplitter::TPiece> TWireSplitter::Feed(const uint8_t* data, std::size_t count,
                                                       const TBytesFn& onFrame,
                                                       const TBytesFn& onBlock) {
    std::vector<TPiece> pieces;
    std::size_t pos = 0;
    while (pos < count) {
        if (blockLeft_ > 0) {
            const std::size_t n = std::min<std::size_t>(blockLeft_, count - pos);
            if (onBlock) onBlock(data + pos, n);
            AddPiece(pieces, pkData, pos, n);
            blockLeft_ -= static_cast<uint32_t>(n);
            pos += n;
            continue;
        }
        const std::size_t need = FrameLength(have_ > 0 ? frame_[0] : data[pos]);
        const std::size_t n = std::min(need - have_, count - pos);
        std::copy_n(data + pos, n, frame_.begin() + static_cast<std::ptrdiff_t>(have_));
        AddPiece(pieces, pkCommand, pos, n);
        have_ += n;
        pos += n;
        if (have_ == need) {
            have_ = 0;
            blockLeft_ = AnnouncedBlock(frame_.data(), need);
            if (onFrame) onFrame(frame_.data(), need);
        }
    }
    return pieces;
}

void TWireSplitter::DropPartial() {
    have_ = 0;
    blockLeft_ = 0;
}
