#include "cli/CliReplay.h"

#include <fstream>
#include <iostream>
#include <optional>

#include "cli/CliRunner.h"
#include "monitor/LinkReplay.h"
#include "monitor/TraceFile.h"
#include "platform/Exceptions.h"

int RunReplay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool explain = false;
    std::optional<std::string> file;
    for (const auto& arg : args) {
        if (arg == "--explain" && !explain) {
            explain = true;
        } else if (!file && (arg == "-" || arg.rfind("--", 0) != 0)) {
            file = arg;
        } else {
            err << "zygen4: replay: unexpected '" << arg << "'\nTry 'zygen4 --help'.\n";
            return ceUsageError;
        }
    }
    if (!file) {
        err << "zygen4: replay needs a trace file ('-' for stdin)\nTry 'zygen4 --help'.\n";
        return ceUsageError;
    }
    std::ifstream stream;
    if (*file != "-") {
        stream.open(*file);
        if (!stream) {
            err << "zygen4: cannot open the trace " << *file << "\n";
            return ceRuntimeError;
        }
    }
    std::istream& in = *file == "-" ? std::cin : stream;
    std::vector<TTraceDriver::TTransfer> transfers;
    try {
        transfers = ReadTrace(in);
    } catch (const Exception& e) {
        err << "zygen4: " << *file << ": " << e.what() << "\n";
        return ceRuntimeError;
    }
    if (in.bad()) {
        err << "zygen4: reading the trace " << *file << " failed\n";
        return ceRuntimeError;
    }
    TLinkReplay replay;
    for (const auto& t : transfers) {
        const std::string meaning = replay.Apply(t);
        if (explain) out << TTraceDriver::FormatLine(t) << "\t" << meaning << "\n";
    }
    for (const auto& line : replay.Instrument().StateLines()) out << line << "\n";
    return ceOk;
}
