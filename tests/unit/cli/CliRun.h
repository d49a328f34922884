#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliMain.h"

// One zygen4 run through the library: its exit status and what it printed.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;

    explicit CliRun(const std::vector<std::string>& args) {
        std::ostringstream o, e;
        status = RunZygen4(args, o, e);
        out = o.str();
        err = e.str();
    }

    std::vector<std::string> OutLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};
