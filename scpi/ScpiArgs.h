#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scpi/ScpiCall.h"

// Reading the parameters of a command. Each throws TScpiError: -109 when the
// parameter is missing, -108 when more follow than the command takes, -224 or
// -222 naming `what` (a property path) for a value it cannot take.

// What a number measures, and so which unit suffixes it takes.
enum TScpiUnitKind : int { ukNone, ukHertz, ukDegree, ukDecibel, ukSecond, ukPercent };

// The limits of a numeric setting, in the units of its SCPI form.
struct TScpiRange {
    double min;
    double max;
    std::function<double()> def;  // the value of a generator as constructed
};

// Checks that the call has exactly `count` parameters.
void ExpectParams(const TScpiCall& call, std::size_t count);

// Parameter `index`: a number in `kind`'s units (a suffix scales it), or
// MINimum, MAXimum or DEFault. Outside the range: -222. The value comes back
// multiplied by 10^exponent (a model holding kHz takes Hz with -3); scaling by
// whole powers of ten at once keeps `1 US` exactly 1000 ns.
double NumberArg(const TScpiCall& call, std::size_t index, TScpiUnitKind kind,
                 const TScpiRange& range, const std::string& what, int exponent = 0);

// x × 10^exponent, correctly rounded for |exponent| ≤ 22.
double ScaleByPow10(double x, int exponent);

// ON, OFF, or a number (rounded; anything but 0 is on).
bool BoolArg(const TScpiCall& call, std::size_t index, const std::string& what);

// One of the choices, by long or short form (`SINusoid`): its position.
int ChoiceArg(const TScpiCall& call, std::size_t index, const std::vector<const char*>& choices,
              const std::string& what);

// A quoted string, or the text of a word or number as written.
std::string TextArg(const TScpiCall& call, std::size_t index);

// A numeric query takes nothing, or MINimum, MAXimum or DEFault: the value to
// report then, or nothing for the setting's present value.
bool NumberQueryLimit(const TScpiCall& call, const TScpiRange& range, double& value);

// The short form of a choice for responses (`SINusoid` → "SIN").
std::string ChoiceShortForm(const char* choice);
