#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliStep.h"

// A fault the virtual instrument is told to show.
struct TSimFault {
    enum TKind : int32_t { sfOpen, sfWrite, sfShort, sfRead };
    TKind kind = sfOpen;
    int k = 0;  // which write or read, counted from 1
};

// Where --serve listens.
struct TServeAddress {
    std::string address = "127.0.0.1";  // IPv4, dotted
    uint16_t port = 0;                  // 0: any free port
};

// A parsed zygen4 command line: `zygen4 [OPTIONS] [STEP]...`.
struct TCliOptions {
    bool help = false;
    bool version = false;
    bool listDevices = false;            // --list-devices
    bool simDevice = false;              // --device sim (else ftdi)
    std::string serial;                  // --device ftdi:SERIAL; empty: the first bridge
    std::optional<std::string> trace;    // --trace FILE, "-" for stdout
    bool fast = false;                   // --fast
    std::optional<uint32_t> simAdc;      // --sim-adc VALUE
    std::vector<TSimFault> faults;       // --sim-fault, as often as given
    std::optional<TServeAddress> serve;  // --serve [ADDR:]PORT
    std::vector<TCliStep> steps;
};

// Reads the arguments after the program name. Options come first; `--` or the
// first word that is not an option starts the steps. --help, --version and
// --list-devices end the reading. Throws ECliUsageError on anything the tool cannot run.
TCliOptions ParseCommandLine(const std::vector<std::string>& args);

// The --help text, with every property path.
std::string UsageText();
