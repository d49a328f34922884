#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Cuts the byte stream written to the instrument into command frames and the
// data blocks that upload frames announce. Frames and blocks may arrive split
// over any number of writes. The splitter is a small value: copy it to learn how
// bytes would be split without consuming them.
class TWireSplitter {
  public:
    enum TPieceKind : int32_t { pkCommand, pkData };
    // A run of bytes of one kind inside one write.
    struct TPiece {
        TPieceKind kind;
        std::size_t offset;
        std::size_t count;
    };
    using TBytesFn = std::function<void(const uint8_t* bytes, std::size_t count)>;

    // Splits `count` bytes. `onFrame` receives each frame once it is complete,
    // `onBlock` each run of data bytes as it arrives; either may be empty.
    // Returns the runs of the input, command bytes and data bytes apart.
    std::vector<TPiece> Feed(const uint8_t* data, std::size_t count, const TBytesFn& onFrame = {},
                             const TBytesFn& onBlock = {});

    // Forgets an incomplete frame and the rest of an announced block.
    void DropPartial();
    std::size_t PendingFrameBytes() const { return have_; }
    uint32_t PendingBlockBytes() const { return blockLeft_; }

    // Bytes on the wire for a frame starting with `code`: 1 for the ADC read,
    // 6 for every other code (unknown codes included).
    static std::size_t FrameLength(uint8_t code);
    // Data bytes that follow a complete frame: the table uploads announce them.
    static uint32_t AnnouncedBlock(const uint8_t* frame, std::size_t length);

    static constexpr std::size_t kFrameBytes = 6;
    static constexpr uint8_t kReadAdcCode = 0xFD;

  private:
    std::array<uint8_t, kFrameBytes> frame_{};
    std::size_t have_ = 0;
    uint32_t blockLeft_ = 0;
};
