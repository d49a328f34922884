#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/FtdiAccess.h"

// zygen4 with the arguments after the program name: parses them, runs the
// steps and returns the exit status (see TCliExit). `ftdi` reaches the
// instrument for --device ftdi; without it only the virtual instrument works.
int RunZygen4(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const TFtdiAccess& ftdi = {});
