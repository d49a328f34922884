#include "scpi/ScpiMessage.h"

#include <charconv>
#include <cmath>

#include "scpi/ScpiError.h"
#include "scpi/ScpiText.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsAlpha(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

[[noreturn]] void Syntax(std::string_view what) {
    throw TScpiError{seSyntaxError, std::string(what)};
}

// `SOURce2`, `FREQ`: letters, then an optional decimal suffix.
TScpiMnemonic ParseMnemonic(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsAlpha(text[i])) ++i;
    if (i == 0) Syntax(text.empty() ? std::string_view("empty header node") : text);
    TScpiMnemonic m{ScpiUpper(text.substr(0, i)), -1};
    if (i == text.size()) return m;
    const std::string_view digits = text.substr(i);
    for (char c : digits)
        if (!IsDigit(c)) Syntax(text);
    if (digits.size() > 6) throw TScpiError{seHeaderSuffixOutOfRange, std::string(text)};
    std::from_chars(digits.data(), digits.data() + digits.size(), m.suffix);
    return m;
}

// The header up to the first blank: `*IDN?`, `:SOUR2:FREQ:CW`, `FREQ?`.
void ParseHeader(std::string_view header, TScpiUnit& unit) {
    if (!header.empty() && header.back() == '?') {
        unit.query = true;
        header.remove_suffix(1);
    }
    if (!header.empty() && header.front() == '*') {
        unit.common = true;
        std::string_view name = header.substr(1);
        if (name.empty()) Syntax(header);
        for (char c : name)
            if (!IsAlpha(c)) Syntax(header);
        unit.header.push_back({"*" + ScpiUpper(name), -1});
        return;
    }
    if (!header.empty() && header.front() == ':') {
        unit.fromRoot = true;
        header.remove_prefix(1);
    }
    // Every node between the colons, none of them empty.
    while (true) {
        const std::size_t colon = header.find(':');
        unit.header.push_back(ParseMnemonic(header.substr(0, colon)));
        if (colon == std::string_view::npos) break;
        header.remove_prefix(colon + 1);
    }
}

// A decimal number with an optional unit suffix: `-1.5E+3`, `.5`, `10 MHZ`.
TScpiParam ParseNumber(std::string_view text) {
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t count = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0) Syntax(text);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        // An exponent needs digits; `1E` is no number (nor a unit of one).
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j >= text.size() || !IsDigit(text[j])) Syntax(text);
        i = j;
        digits();
    }
    TScpiParam p;
    p.kind = TScpiParam::pkNumber;
    std::string_view number = text.substr(0, i);
    p.text = std::string(number);
    if (number.front() == '+') number.remove_prefix(1);  // from_chars takes no '+'
    auto r = std::from_chars(number.data(), number.data() + number.size(), p.number);
    if (r.ec == std::errc::result_out_of_range || !std::isfinite(p.number))
        throw TScpiError{seDataOutOfRange, std::string(text)};
    if (r.ec != std::errc() || r.ptr != number.data() + number.size()) Syntax(text);
    p.number += 0.0;  // "-0" is 0
    std::string_view unit = Trim(text.substr(i));
    for (char c : unit)
        if (!IsAlpha(c)) Syntax(text);
    p.unit = ScpiUpper(unit);
    return p;
}

// A quoted string: the quote, anything with the quote doubled, the quote.
TScpiParam ParseString(std::string_view text) {
    const char quote = text.front();
    TScpiParam p;
    p.kind = TScpiParam::pkString;
    std::size_t i = 1;
    while (true) {
        if (i >= text.size()) Syntax(text);
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                p.text += quote;
                i += 2;
                continue;
            }
            break;
        }
        p.text += text[i++];
    }
    if (i + 1 != text.size()) Syntax(text);  // something after the closing quote
    return p;
}

TScpiParam ParseParam(std::string_view text) {
    if (text.empty()) Syntax("empty parameter");
    const char c = text.front();
    if (c == '"' || c == '\'') return ParseString(text);
    if (IsDigit(c) || c == '+' || c == '-' || c == '.') return ParseNumber(text);
    if (!IsAlpha(c)) Syntax(text);
    for (char ch : text)
        if (!IsAlpha(ch) && !IsDigit(ch) && ch != '_') Syntax(text);
    TScpiParam p;
    p.kind = TScpiParam::pkCharacter;
    p.text = std::string(text);
    return p;
}

// Calls `piece` for each part of `text` between the separators outside
// quoted strings; false when a string is not closed.
template <typename F>
bool SplitOutsideQuotes(std::string_view text, char separator, F piece) {
    char quote = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;  // a doubled quote closes and opens again
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == separator) {
            piece(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (quote) return false;
    piece(text.substr(start));
    return true;
}

}  // namespace

std::vector<std::string_view> SplitScpiMessage(std::string_view message) {
    std::vector<std::string_view> units;
    const bool closed = SplitOutsideQuotes(message, ';', [&](std::string_view unit) {
        if (!Trim(unit).empty()) units.push_back(Trim(unit));
    });
    if (!closed) Syntax("string not closed");
    return units;
}

TScpiUnit ParseScpiUnit(std::string_view text) {
    text = Trim(text);
    std::size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    TScpiUnit unit;
    ParseHeader(text.substr(0, end), unit);
    const std::string_view params = Trim(text.substr(end));
    if (params.empty()) return unit;
    const bool closed = SplitOutsideQuotes(
        params, ',', [&](std::string_view p) { unit.params.push_back(ParseParam(Trim(p))); });
    if (!closed) Syntax("string not closed");
    return unit;
}
