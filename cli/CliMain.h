#pragma once

#include <ostream>
#include <string>
#include <vector>

// zygen4 with the arguments after the program name: parses them, runs the
// steps and returns the exit status (see TCliExit).
int RunZygen4(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
