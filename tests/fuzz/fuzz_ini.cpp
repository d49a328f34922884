// The INI layer on any file and any sequence of operations. Input: the file's
// bytes, a NUL, then one operation per line, fields separated by tabs:
//   w SECTION KEY VALUE   write, then read back the trimmed value
//   r SECTION KEY         read a string, an integer and a bool
//   e SECTION             erase, then the section no longer exists
//   s SECTION             list the keys, each of which exists
//   i TEXT                an integer's text form survives a round trip
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "options/IniFile.h"
#include "platform/Exceptions.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, sep)) parts.push_back(part);
    return parts;
}

// The white space the INI layer trims around names and values.
std::string Trim(const std::string& s) {
    const char* blank = " \t\v\f\r";
    const std::size_t b = s.find_first_not_of(blank);
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(blank) - b + 1);
}

void Operate(TIniFile& ini, const std::vector<std::string>& f) {
    const std::string& op = f[0];
    if (op == "w" && f.size() >= 4) {
        try {
            ini.WriteString(f[1], f[2], f[3]);
        } catch (const EIniFileException&) {
            return;  // names or values that would change the file's structure
        }
        Check(ini.ReadString(f[1], f[2], "\x01") == Trim(f[3]), "a write reads back");
        Check(ini.ValueExists(f[1], f[2]), "a written key exists");
    } else if (op == "r" && f.size() >= 3) {
        ini.ReadString(f[1], f[2], "");
        ini.ReadInteger(f[1], f[2], 7);
        ini.ReadBool(f[1], f[2], true);
    } else if (op == "e" && f.size() >= 2) {
        try {
            ini.EraseSection(f[1]);
        } catch (const EIniFileException&) {
            return;
        }
        Check(!ini.SectionExists(f[1]), "an erased section is gone");
    } else if (op == "s" && f.size() >= 2) {
        for (const std::string& key : ini.ReadSection(f[1]))
            Check(ini.ValueExists(f[1], key), "a listed key exists");
    } else if (op == "i" && f.size() >= 2) {
        int value = 0, again = 0;
        if (!TIniFile::TextToInt(f[1], value)) return;
        Check(TIniFile::TextToInt(TIniFile::IntToText(value), again) && again == value,
              "integer text round trip");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string path = ScratchDir() + "/options.ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << input.substr(0, nul);

    TIniFile ini(path);
    if (nul == std::string::npos) return 0;
    int budget = 16;  // operations per input, so that each run stays short
    for (const std::string& line : Split(input.substr(nul + 1), '\n')) {
        const std::vector<std::string> fields = Split(line, '\t');
        if (fields.empty()) continue;
        if (--budget < 0) break;
        Operate(ini, fields);
    }
    return 0;
}
