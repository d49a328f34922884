#pragma once

#include <istream>
#include <string>
#include <vector>

#include "sim/TraceDriver.h"

// The trace text zygen4 writes with --trace and the monitor saves: one
// transfer a line, "C F0 00 00 00 00 00", "D 01 02", "R 12 34 56 78", with
// " !" after a failed one. Blank lines are skipped.

// Throws EConvertError naming the line number for a line that is not a
// transfer.
std::vector<TTraceDriver::TTransfer> ReadTrace(std::istream& in);
std::string TraceText(const std::vector<TTraceDriver::TTransfer>& transfers);
