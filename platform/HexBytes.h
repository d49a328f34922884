#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// "F0 00 0A": two upper-case hex digits per byte, separated by single spaces.
std::string ToHex(const uint8_t* data, std::size_t count);
std::string ToHex(const std::vector<uint8_t>& bytes);
