#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The enumerators of one enumeration, for reading and printing values by name.
struct TEnumInfo {
    const char* typeName;
    std::vector<std::pair<const char*, int32_t>> items;

    // The value of a name or of a listed number; nothing for anything else.
    std::optional<int32_t> Parse(std::string_view text) const;
    // The enumerator's name, or the number when the value is not listed (a
    // value from a settings file may be anything).
    std::string Name(int64_t value) const;
};

// The enumerations the generator publishes.
const TEnumInfo& ModesCommonInfo();
const TEnumInfo& ChNamesInfo();
const TEnumInfo& AFPModesInfo();
const TEnumInfo& MathFuncsTypesInfo();
const TEnumInfo& DDSmodModesInfo();
const TEnumInfo& FtStatusInfo();
