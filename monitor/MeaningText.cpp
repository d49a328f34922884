#include "monitor/MeaningText.h"

#include <cmath>
#include <cstdio>

std::string GroupedNumber(double value, int maxDecimals) {
    if (!std::isfinite(value)) return "—";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", maxDecimals, std::fabs(value));
    std::string digits = text;
    std::string fraction;
    if (const auto dot = digits.find('.'); dot != std::string::npos) {
        fraction = digits.substr(dot + 1);
        digits.resize(dot);
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    }
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
        out += digits[i];
    }
    if (!fraction.empty()) out += "," + fraction;
    const bool negative = value < 0 && out.find_first_not_of("0, ") != std::string::npos;
    return negative ? "−" + out : out;
}

std::string HexCode(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string Counted(uint64_t count, const char* one, const char* few, const char* many) {
    const uint64_t lastTwo = count % 100;
    const uint64_t last = count % 10;
    const char* noun = lastTwo >= 11 && lastTwo <= 14 ? many
                       : last == 1                    ? one
                       : last >= 2 && last <= 4       ? few
                                                      : many;
    return GroupedNumber(static_cast<double>(count), 0) + " " + noun;
}
