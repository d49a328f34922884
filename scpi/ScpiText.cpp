#include "scpi/ScpiText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

std::string QuoteScpiString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return out + "\"";
}

std::string FormatScpiNumber(double value) {
    // SCPI's stand-ins for values that are no number: a level of 0 % is
    // -infinity dB.
    if (std::isnan(value)) return "9.91E+37";
    if (std::isinf(value)) return value > 0 ? "9.9E+37" : "-9.9E+37";
    // Whole numbers in full (3000000, not 3e+06), as they were typed.
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<int64_t>(value));
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string ScpiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}
