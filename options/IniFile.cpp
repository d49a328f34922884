#include "options/IniFile.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <limits>

#include "platform/Exceptions.h"
#include "platform/ReadFile.h"
#include "platform/ReplaceFile.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

enum TLineKind : int32_t { lkOther, lkBlank, lkComment, lkSection, lkKey };

// What a line is; for a header `name` is the section, for a key line the key
// and `value` its value, both trimmed.
TLineKind Classify(const std::string& text, std::string* name = nullptr,
                   std::string* value = nullptr) {
    const std::string t = Trim(text);
    if (t.empty()) return lkBlank;
    if (t[0] == ';' || t[0] == '#') return lkComment;
    if (t[0] == '[') {
        const size_t close = t.find(']');
        if (close == std::string::npos) return lkOther;
        if (name) *name = Trim(t.substr(1, close - 1));
        return lkSection;
    }
    const size_t eq = t.find('=');
    if (eq == std::string::npos) return lkOther;
    if (name) *name = Trim(t.substr(0, eq));
    if (value) *value = Trim(t.substr(eq + 1));
    return lkKey;
}

bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

bool TIniFile::Load(TContent& content) const {
    // A missing file is empty; anything else that cannot be read (a folder,
    // a FIFO, a symbolic link loop) is no file of ours.
    std::string data;
    const TReadResult r = ReadRegularFile(fileName_, std::numeric_limits<size_t>::max(), data);
    if (r != rdOk && r != rdMissing) return false;
    size_t pos = 0;
    if (data.compare(0, kBom.size(), kBom) == 0) {
        content.bom = true;
        pos = kBom.size();
    }
    while (pos < data.size()) {
        const size_t nl = data.find('\n', pos);
        if (nl == std::string::npos) {
            content.lines.push_back({data.substr(pos), ""});
            break;
        }
        const bool crlf = nl > pos && data[nl - 1] == '\r';
        const size_t end = crlf ? nl - 1 : nl;
        content.lines.push_back({data.substr(pos, end - pos), crlf ? "\r\n" : "\n"});
        pos = nl + 1;
    }
    return true;
}

void TIniFile::WriteFailed() const {
    throw EIniFileException("Unable to write to " + fileName_);
}

void TIniFile::Store(const TContent& content) const {
    std::string data = content.bom ? kBom : std::string();
    for (const TLine& line : content.lines) data += line.text + line.eol;

    int err = 0;
    if (ReplaceFile(fileName_, reinterpret_cast<const uint8_t*>(data.data()), data.size(), err) !=
        rfOk)
        WriteFailed();
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) const {
    TContent content;
    if (!Load(content)) return defaultValue;
    const std::string sec = Trim(section), key = Trim(ident);
    bool inSection = false;
    for (const TLine& line : content.lines) {
        std::string name, value;
        switch (Classify(line.text, &name, &value)) {
            case lkSection:
                inSection = SameName(name, sec);
                break;
            case lkKey:
                if (inSection && SameName(name, key)) return value;
                break;
            default:
                break;
        }
    }
    return defaultValue;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident,
                           const std::string& value) {
    const std::string sec = Trim(section), key = Trim(ident);
    // Names and values that would change the file's structure cannot be stored.
    if (sec.empty() || key.empty() || HasLineBreak(sec) || HasLineBreak(key) ||
        HasLineBreak(value) || sec.find(']') != std::string::npos ||
        key.find('=') != std::string::npos || key[0] == '[' || key[0] == ';' || key[0] == '#')
        WriteFailed();

    TContent content;
    if (!Load(content)) WriteFailed();  // never overwrite a file we could not read

    std::vector<TLine>& lines = content.lines;
    std::string eol = "\n";
    for (const TLine& line : lines)
        if (!line.eol.empty()) {
            eol = line.eol;
            break;
        }

    bool inSection = false, inFirst = false;
    long firstSection = -1;  // header of the section's first occurrence
    long insertAfter = -1;   // last key line (or the header) of that occurrence
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name, old;
        const TLineKind kind = Classify(lines[i].text, &name, &old);
        if (kind == lkSection) {
            inSection = SameName(name, sec);
            inFirst = inSection && firstSection < 0;
            if (inFirst) firstSection = insertAfter = static_cast<long>(i);
        } else if (kind == lkKey && inSection) {
            if (SameName(name, key)) {
                // Keep the key as spelt in the file and the spacing around "=".
                std::string& text = lines[i].text;
                size_t cut = text.find('=') + 1;
                while (cut < text.size() && (text[cut] == ' ' || text[cut] == '\t')) ++cut;
                text = text.substr(0, cut) + value;
                Store(content);
                return;
            }
            if (inFirst) insertAfter = static_cast<long>(i);
        }
    }

    const TLine keyLine{key + "=" + value, eol};
    if (firstSection >= 0) {
        TLine& before = lines[insertAfter];
        if (before.eol.empty()) before.eol = eol;
        lines.insert(lines.begin() + insertAfter + 1, keyLine);
    } else {
        if (!lines.empty()) {
            if (lines.back().eol.empty()) lines.back().eol = eol;
            if (Classify(lines.back().text) != lkBlank) lines.push_back({"", eol});
        }
        lines.push_back({"[" + sec + "]", eol});
        lines.push_back(keyLine);
    }
    Store(content);
}

std::string TIniFile::IntToText(int value) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

bool TIniFile::TextToInt(const std::string& text, int& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    uint64_t magnitude = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    const auto r = std::from_chars(first, last, magnitude, base);
    if (r.ec != std::errc() || r.ptr != last) return false;
    // Decimal must lie in the signed range; hexadecimal may give the full
    // 32-bit pattern (colours are stored that way), but not with a sign.
    const uint64_t limit = base == 16 && !negative ? 0xFFFFFFFFull
                           : negative              ? 0x80000000ull
                                                   : 0x7FFFFFFFull;
    if (magnitude > limit) return false;
    const int64_t signedValue =
        negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    value = static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(signedValue)));
    return true;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident,
                          int defaultValue) const {
    int value = defaultValue;
    if (!TextToInt(ReadString(section, ident, ""), value)) return defaultValue;
    return value;
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, IntToText(value));
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident,
                        bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    TContent content;
    if (!Load(content)) return keys;
    const std::string sec = Trim(section);
    bool inSection = false;
    for (const TLine& line : content.lines) {
        std::string name;
        const TLineKind kind = Classify(line.text, &name);
        if (kind == lkSection) {
            inSection = SameName(name, sec);
        } else if (kind == lkKey && inSection) {
            bool seen = false;
            for (const std::string& k : keys) seen = seen || SameName(k, name);
            if (!seen) keys.push_back(name);
        }
    }
    return keys;
}

bool TIniFile::SectionExists(const std::string& section) const {
    return !ReadSection(section).empty();
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const {
    for (const std::string& k : ReadSection(section))
        if (SameName(k, Trim(ident))) return true;
    return false;
}

void TIniFile::EraseSection(const std::string& section) {
    TContent content;
    if (!Load(content)) WriteFailed();
    const std::string sec = Trim(section);
    std::vector<TLine>& lines = content.lines;
    std::vector<TLine> kept;
    bool changed = false;
    size_t i = 0;
    while (i < lines.size()) {
        std::string name;
        if (Classify(lines[i].text, &name) != lkSection || !SameName(name, sec)) {
            kept.push_back(lines[i++]);
            continue;
        }
        // Skip the header and its body up to the next header.
        changed = true;
        size_t end = i + 1;
        while (end < lines.size() && Classify(lines[end].text) != lkSection) ++end;
        if (end < lines.size()) {
            // Keep a comment block that leads into the next section.
            size_t lead = end;
            while (lead > i + 1) {
                const TLineKind k = Classify(lines[lead - 1].text);
                if (k != lkComment && k != lkBlank) break;
                --lead;
            }
            while (lead < end && Classify(lines[lead].text) == lkBlank) ++lead;
            for (size_t j = lead; j < end; ++j) kept.push_back(lines[j]);
        }
        i = end;
    }
    if (!changed) return;
    lines = std::move(kept);
    Store(content);
}
