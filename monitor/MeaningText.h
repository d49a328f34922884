#pragma once

#include <cstdint>
#include <string>

// Number texts of the monitor, in the Russian manner: thousands grouped by
// spaces, a comma before the fraction, trailing zeros of the fraction dropped.
std::string GroupedNumber(double value, int maxDecimals = 3);
// "0x00A3D70A"-style without the prefix: `digits` upper-case hex digits.
std::string HexCode(uint32_t value, int digits);
// "1 отсчёт", "3 отсчёта", "12 отсчётов": the count and the noun in the
// form Russian gives that count.
std::string Counted(uint64_t count, const char* one, const char* few, const char* many);
