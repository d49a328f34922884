#pragma once

#include <cmath>
#include <cstdint>

// x rounded to the nearest integer (ties to even), then the low 32 bits of
// that integer as two's complement: how every DDS code and table reading is
// formed. fmod is exact, so this holds for every finite double without an
// out-of-range cast; a non-finite x gives 0.
inline int32_t RoundLow32(double x) {
    if (!std::isfinite(x)) return 0;
    double r = std::fmod(std::nearbyint(x), 4294967296.0);
    if (r < 0) r += 4294967296.0;
    return static_cast<int32_t>(static_cast<uint32_t>(r));
}
