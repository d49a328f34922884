#include "props/PropertyValue.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "props/EnumInfo.h"

namespace {

// The whole text as a number of type T, or nothing.
template <typename T>
std::optional<T> FromChars(std::string_view text, int base = 10) {
    T value{};
    const char* end = text.data() + text.size();
    std::from_chars_result r{};
    if constexpr (std::is_floating_point_v<T>)
        r = std::from_chars(text.data(), end, value);
    else
        r = std::from_chars(text.data(), end, value, base);
    if (text.empty() || r.ec != std::errc() || r.ptr != end) return std::nullopt;
    return value;
}

}  // namespace

bool TPropertyValue::Equals(TValueKind kind, const TPropertyValue& other) const {
    switch (kind) {
        case vkBool:
            return b == other.b;
        case vkDouble:
            return d == other.d;
        default:
            return i == other.i;
    }
}

std::optional<TPropertyValue> ParsePropertyValue(TValueKind kind, const TEnumInfo* enumInfo,
                                                 std::string_view text) {
    TPropertyValue v;
    switch (kind) {
        case vkBool:
            if (text == "1" || text == "true") {
                v.b = true;
            } else if (text == "0" || text == "false") {
                v.b = false;
            } else {
                return std::nullopt;
            }
            return v;
        case vkInt: {
            auto n = FromChars<int32_t>(text);
            if (!n) return std::nullopt;
            v.i = *n;
            return v;
        }
        case vkUnsigned: {
            auto n = FromChars<uint32_t>(text);
            if (!n) return std::nullopt;
            v.i = *n;
            return v;
        }
        case vkDouble: {
            // "nan" and "inf" are no settings a script means to send.
            auto n = FromChars<double>(text);
            if (!n || !std::isfinite(*n)) return std::nullopt;
            v.d = *n + 0.0;  // "-0" is 0
            return v;
        }
        case vkEnum: {
            if (!enumInfo) return std::nullopt;
            auto n = enumInfo->Parse(text);
            if (!n) return std::nullopt;
            v.i = *n;
            return v;
        }
        default:
            return std::nullopt;
    }
}

std::string FormatPropertyValue(TValueKind kind, const TEnumInfo* enumInfo,
                                const TPropertyValue& value) {
    switch (kind) {
        case vkBool:
            return value.b ? "1" : "0";
        case vkDouble: {
            char buffer[64];
            auto r = std::to_chars(buffer, buffer + sizeof buffer, value.d);
            return std::string(buffer, r.ptr);
        }
        case vkEnum:
            return enumInfo ? enumInfo->Name(value.i) : std::to_string(value.i);
        default:
            return std::to_string(value.i);
    }
}

std::optional<uint32_t> ParseUnsigned32(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return FromChars<uint32_t>(text.substr(2), 16);
    return FromChars<uint32_t>(text);
}
