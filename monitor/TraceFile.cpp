#include "monitor/TraceFile.h"

#include <sstream>

#include "platform/Exceptions.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ParseLine(const std::string& line, TTraceDriver::TTransfer& out) {
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word.size() != 1) return false;
    switch (word[0]) {
        case 'C':
            out.kind = TTraceDriver::tkCommand;
            break;
        case 'D':
            out.kind = TTraceDriver::tkData;
            break;
        case 'R':
            out.kind = TTraceDriver::tkRead;
            break;
        default:
            return false;
    }
    out.bytes.clear();
    out.ok = true;
    while (words >> word) {
        if (!out.ok) return false;  // nothing may follow the failure mark
        if (word == "!") {
            out.ok = false;
            continue;
        }
        const int high = word.size() == 2 ? HexDigit(word[0]) : -1;
        const int low = word.size() == 2 ? HexDigit(word[1]) : -1;
        if (high < 0 || low < 0) return false;
        out.bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return true;
}

}  // namespace

std::vector<TTraceDriver::TTransfer> ReadTrace(std::istream& in) {
    std::vector<TTraceDriver::TTransfer> transfers;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        TTraceDriver::TTransfer t{TTraceDriver::tkCommand, {}, true};
        if (!ParseLine(line, t))
            throw EConvertError("строка " + std::to_string(number) +
                                " не является записью обмена: " + line);
        transfers.push_back(std::move(t));
    }
    return transfers;
}

std::string TraceText(const std::vector<TTraceDriver::TTransfer>& transfers) {
    std::string text;
    for (const auto& t : transfers) text += TTraceDriver::FormatLine(t) + "\n";
    return text;
}
