#include "platform/HexBytes.h"

std::string ToHex(const uint8_t* data, std::size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i) text += ' ';
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

std::string ToHex(const std::vector<uint8_t>& bytes) {
    return ToHex(bytes.data(), bytes.size());
}
