#include "props/EnumInfo.h"

#include <charconv>

std::optional<int32_t> TEnumInfo::Parse(std::string_view text) const {
    for (const auto& [name, value] : items)
        if (text == name) return value;
    int32_t number = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, number);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    for (const auto& item : items)
        if (item.second == number) return number;
    return std::nullopt;
}

std::string TEnumInfo::Name(int64_t value) const {
    for (const auto& [name, v] : items)
        if (v == value) return name;
    return std::to_string(value);
}

const TEnumInfo& ModesCommonInfo() {
    static const TEnumInfo info{"TZyGen4ModesCommon",
                                {{"ZGMdC_off", 0},
                                 {"ZGMdC_gen", 1},
                                 {"ZGMdC_tuning", 2},
                                 {"ZGMdC_IntModulation", 3},
                                 {"ZGMdC_ExtModulation", 4},
                                 {"ZGMdC_ExtModulationA12", 5},
                                 {"ZGMdC_ExtModulationAB1", 6},
                                 {"ZGMdC_LFM", 7},
                                 {"ZGMdC_DDSMod", 8}}};
    return info;
}

const TEnumInfo& ChNamesInfo() {
    static const TEnumInfo info{"TZyGen4ChNames", {{"ZGCN_A", 0}, {"ZGCN_B", 1}}};
    return info;
}

const TEnumInfo& AFPModesInfo() {
    static const TEnumInfo info{"TZyGen4AFPModes",
                                {{"ZGAFPms_freq", 0}, {"ZGAFPms_ampl", 1}, {"ZGAFPms_phase", 2}}};
    return info;
}

const TEnumInfo& MathFuncsTypesInfo() {
    static const TEnumInfo info{"TMathFuncsTypes",
                                {{"ZMFT_sin", 0}, {"ZMFT_triangle", 1}, {"ZMFT_rect", 2}}};
    return info;
}

const TEnumInfo& DDSmodModesInfo() {
    static const TEnumInfo info{"TZyGen4DDSmodModes",
                                {{"ZGTMs_BxSK", 0}, {"ZGTMs_QxSK", 1}, {"ZGTMs_User", 2}}};
    return info;
}

const TEnumInfo& FtStatusInfo() {
    static const TEnumInfo info{"FT_STATUS",
                                {{"FT_OK", 0},
                                 {"FT_INVALID_HANDLE", 1},
                                 {"FT_DEVICE_NOT_FOUND", 2},
                                 {"FT_DEVICE_NOT_OPENED", 3},
                                 {"FT_IO_ERROR", 4},
                                 {"FT_INSUFFICIENT_RESOURCES", 5}}};
    return info;
}
