#pragma once

#include <string>
#include <string_view>
#include <vector>

// One mnemonic of a header: its letters in upper case and its numeric suffix
// (`SOUR2` → "SOUR", 2), or -1 without one.
struct TScpiMnemonic {
    std::string name;
    int suffix = -1;
};

// One parameter of a command as parsed.
struct TScpiParam {
    enum TKind : int {
        pkNumber,     // decimal number, maybe with a unit suffix: `10 MHZ`, `-3.5e2`
        pkCharacter,  // a word: `ON`, `MAX`, `SINusoid`, `ZGMdC_gen`
        pkString,     // quoted, with the quotes removed and doubled quotes made single
    };
    TKind kind = pkCharacter;
    std::string text;  // as written (unquoted for a string), without the unit
    double number = 0.0;
    std::string unit;  // upper case; empty when none was written
};

// One command or query of a program message.
struct TScpiUnit {
    bool common = false;    // `*IDN?`: header holds one mnemonic, "*IDN"
    bool fromRoot = false;  // a leading ':'
    bool query = false;     // ends with '?'
    std::vector<TScpiMnemonic> header;
    std::vector<TScpiParam> params;
};

// Splits a program message (one line) into its units at each ';' outside a
// quoted string; units with nothing but blanks are left out. Throws
// TScpiError -102 when a string is not closed.
std::vector<std::string_view> SplitScpiMessage(std::string_view message);

// Parses one unit. Throws TScpiError: -102 for malformed text, -114 for a
// suffix too long to be one, -222 for a number beyond a double's range.
TScpiUnit ParseScpiUnit(std::string_view text);
