#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct TEnumInfo;

// What a published property holds, as far as text is concerned.
enum TValueKind : int32_t { vkBool, vkInt, vkUnsigned, vkDouble, vkEnum };

// One property value: `b` for bools, `i` for ints, unsigneds and enumerations
// (always within the C++ type's range once parsed), `d` for doubles.
struct TPropertyValue {
    bool b = false;
    int64_t i = 0;
    double d = 0.0;

    bool Equals(TValueKind kind, const TPropertyValue& other) const;
};

// Reads a value in its command-line form: bools 0/1/true/false, numbers in the
// "C" form (std::from_chars; finite doubles only), enumerations by name or listed number. Nothing
// when the text is not such a value. `enumInfo` is needed for vkEnum only.
std::optional<TPropertyValue> ParsePropertyValue(TValueKind kind, const TEnumInfo* enumInfo,
                                                 std::string_view text);

// Prints a value: bools 0/1, doubles in their shortest round-trip form,
// enumerations by name.
std::string FormatPropertyValue(TValueKind kind, const TEnumInfo* enumInfo,
                                const TPropertyValue& value);

// A whole decimal or 0x-hexadecimal number that fits 32 unsigned bits.
std::optional<uint32_t> ParseUnsigned32(std::string_view text);
