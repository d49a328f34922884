#pragma once

#include <cstdint>

// Values in a command frame are sent most significant byte first.
inline uint32_t FrameWord16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 8 | p[1];
}
inline uint32_t FrameWord24(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 16 | FrameWord16(p + 1);
}
inline uint32_t FrameWord32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | FrameWord24(p + 1);
}
