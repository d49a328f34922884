#include "scpi/ScpiArgs.h"

#include <cmath>
#include <string_view>

#include "scpi/ScpiError.h"
#include "scpi/ScpiText.h"

namespace {

struct TUnit {
    const char* name;
    TScpiUnitKind kind;
    int exponent;  // the unit is 10^exponent of its kind's base unit
};

// MHZ is megahertz, as generators read it (not millihertz).
constexpr TUnit kUnits[] = {
    {"HZ", ukHertz, 0},   {"KHZ", ukHertz, 3},  {"MHZ", ukHertz, 6},  {"MAHZ", ukHertz, 6},
    {"GHZ", ukHertz, 9},  {"DEG", ukDegree, 0}, {"DB", ukDecibel, 0}, {"S", ukSecond, 0},
    {"MS", ukSecond, -3}, {"US", ukSecond, -6}, {"NS", ukSecond, -9}, {"PCT", ukPercent, 0},
};

// A character parameter as `long` or its short form, case-insensitive.
bool IsWord(const TScpiParam& p, const char* choice) {
    if (p.kind != TScpiParam::pkCharacter) return false;
    const std::string upper = ScpiUpper(p.text);
    return upper == ScpiUpper(choice) || upper == ChoiceShortForm(choice);
}

const TScpiParam& Arg(const TScpiCall& call, std::size_t index) {
    if (index >= call.params.size()) throw TScpiError{seMissingParameter, {}};
    return call.params[index];
}

}  // namespace

void ExpectParams(const TScpiCall& call, std::size_t count) {
    if (call.params.size() < count) throw TScpiError{seMissingParameter, {}};
    if (call.params.size() > count) throw TScpiError{seParameterNotAllowed, {}};
}

std::string ChoiceShortForm(const char* choice) {
    std::string s;
    for (const char* c = choice; *c; ++c)
        if ((*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9')) s += *c;
    return s;
}

double ScaleByPow10(double x, int exponent) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (exponent >= 0) return x * kPow10[exponent];
    return x / kPow10[-exponent];
}

double NumberArg(const TScpiCall& call, std::size_t index, TScpiUnitKind kind,
                 const TScpiRange& range, const std::string& what, int exponent) {
    const TScpiParam& p = Arg(call, index);
    if (IsWord(p, "MINimum")) return ScaleByPow10(range.min, exponent);
    if (IsWord(p, "MAXimum")) return ScaleByPow10(range.max, exponent);
    if (IsWord(p, "DEFault")) return ScaleByPow10(range.def(), exponent);
    if (p.kind != TScpiParam::pkNumber) throw TScpiError{seIllegalParameterValue, what};
    int unitExponent = 0;
    if (!p.unit.empty()) {
        const TUnit* unit = nullptr;
        for (const auto& u : kUnits)
            if (p.unit == u.name && u.kind == kind) unit = &u;
        if (!unit) throw TScpiError{seInvalidSuffix, what + " " + p.unit};
        unitExponent = unit->exponent;
    }
    const double value = ScaleByPow10(p.number, unitExponent);
    if (!(value >= range.min && value <= range.max))
        throw TScpiError{seDataOutOfRange, what + " " + FormatScpiNumber(value)};
    return ScaleByPow10(p.number, unitExponent + exponent);
}

bool BoolArg(const TScpiCall& call, std::size_t index, const std::string& what) {
    const TScpiParam& p = Arg(call, index);
    if (IsWord(p, "ON")) return true;
    if (IsWord(p, "OFF")) return false;
    if (p.kind == TScpiParam::pkNumber && p.unit.empty()) return std::nearbyint(p.number) != 0.0;
    throw TScpiError{seIllegalParameterValue, what};
}

int ChoiceArg(const TScpiCall& call, std::size_t index, const std::vector<const char*>& choices,
              const std::string& what) {
    const TScpiParam& p = Arg(call, index);
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (IsWord(p, choices[i])) return static_cast<int>(i);
    throw TScpiError{seIllegalParameterValue, what};
}

std::string TextArg(const TScpiCall& call, std::size_t index) {
    const TScpiParam& p = Arg(call, index);
    return p.text + p.unit;
}

bool NumberQueryLimit(const TScpiCall& call, const TScpiRange& range, double& value) {
    if (call.params.empty()) return false;
    ExpectParams(call, 1);
    const TScpiParam& p = call.params[0];
    if (IsWord(p, "MINimum")) {
        value = range.min;
    } else if (IsWord(p, "MAXimum")) {
        value = range.max;
    } else if (IsWord(p, "DEFault")) {
        value = range.def();
    } else {
        throw TScpiError{seIllegalParameterValue, {}};
    }
    return true;
}
