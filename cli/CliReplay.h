#pragma once

#include <ostream>
#include <string>
#include <vector>

// `zygen4 replay [--explain] FILE`: feeds a trace into a fresh virtual
// instrument and prints its decoded state; with --explain each transfer first,
// as its trace line and its meaning. `args` are the words after "replay".
// Returns the exit status (see TCliExit).
int RunReplay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
