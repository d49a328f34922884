#pragma once

#include <string>
#include <string_view>

// Small text helpers of the SCPI syntax.

// `text` as a string response: in double quotes, inner quotes doubled, and
// control characters (a line end would end the response) replaced by spaces.
std::string QuoteScpiString(std::string_view text);

// A number as a response: whole numbers in full, others in the shortest
// text that reads back as the same double; SCPI's 9.9E+37 for infinity, 9.91E+37 for not a number.
std::string FormatScpiNumber(double value);

// ASCII upper case; SCPI mnemonics and character data are case-insensitive.
std::string ScpiUpper(std::string_view text);
