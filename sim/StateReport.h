#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sim/InstrumentState.h"

// The instrument state as "key=value" lines: instrument-wide keys first
// (clock_mhz, protocol_errors, ...), then A.* and B.* with the carrier, the
// mode in the model's names and that mode's decoded parameters. Numbers use the
// "C" form; frequencies in Hz with three decimals.
std::vector<std::string> StateReportLines(const TInstrumentState& state,
                                          std::size_t protocolErrors);
