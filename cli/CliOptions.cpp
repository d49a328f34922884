#include "cli/CliOptions.h"

#include <arpa/inet.h>

#include <set>

#include "cli/CliUsageError.h"
#include "props/PropertyTable.h"

namespace {

TSimFault ParseFault(const std::string& text) {
    TSimFault fault;
    if (text == "open") return fault;
    const auto colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    if (kind == "write") {
        fault.kind = TSimFault::sfWrite;
    } else if (kind == "short") {
        fault.kind = TSimFault::sfShort;
    } else if (kind == "read") {
        fault.kind = TSimFault::sfRead;
    } else {
        throw ECliUsageError("unknown fault '" + text + "' (open, write:K, short:K or read:K)");
    }
    auto k = colon == std::string::npos
                 ? std::nullopt
                 : ParsePropertyValue(vkInt, nullptr, text.substr(colon + 1));
    if (!k || k->i < 1)
        throw ECliUsageError("fault '" + text + "' needs a whole count K from 1 to 2147483647");
    fault.k = static_cast<int>(k->i);
    return fault;
}

// "[ADDR:]PORT", the address IPv4 and dotted.
TServeAddress ParseServeAddress(const std::string& text) {
    TServeAddress serve;
    const auto colon = text.rfind(':');
    if (colon != std::string::npos) serve.address = text.substr(0, colon);
    in_addr ignored;
    if (inet_pton(AF_INET, serve.address.c_str(), &ignored) != 1)
        throw ECliUsageError("--serve needs an IPv4 address like 127.0.0.1, not '" + serve.address +
                             "'");
    const auto port = ParsePropertyValue(vkUnsigned, nullptr,
                                         text.substr(colon == std::string::npos ? 0 : colon + 1));
    if (!port || port->i > 65535)
        throw ECliUsageError("--serve needs a port from 0 to 65535 in '" + text + "'");
    serve.port = static_cast<uint16_t>(port->i);
    return serve;
}

}  // namespace

TCliOptions ParseCommandLine(const std::vector<std::string>& args) {
    TCliOptions o;
    std::set<std::string> seen;  // options that may be given once
    std::size_t n = 0;
    for (; n < args.size(); ++n) {
        const std::string& arg = args[n];
        if (arg == "--") {
            ++n;
            break;
        }
        if (arg.rfind("--", 0) != 0) break;
        // "--name VALUE" or "--name=VALUE".
        const auto eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        std::optional<std::string> inlineValue;
        if (eq != std::string::npos) inlineValue = arg.substr(eq + 1);
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (n + 1 >= args.size()) throw ECliUsageError("option " + name + " needs a value");
            return args[++n];
        };
        auto noValue = [&] {
            if (inlineValue) throw ECliUsageError("option " + name + " takes no value");
        };
        // A second --device or --trace would silently override the first.
        if (name != "--sim-fault" && !seen.insert(name).second)
            throw ECliUsageError("option " + name + " given twice");
        if (name == "--help") {
            noValue();
            o.help = true;
            return o;
        } else if (name == "--version") {
            noValue();
            o.version = true;
            return o;
        } else if (name == "--list-devices") {
            noValue();
            o.listDevices = true;
            return o;
        } else if (name == "--device") {
            const std::string device = value();
            const bool bySerial = device.rfind("ftdi:", 0) == 0 && device.size() > 5;
            if (device != "ftdi" && device != "sim" && !bySerial)
                throw ECliUsageError("unknown device '" + device + "' (ftdi, ftdi:SERIAL or sim)");
            o.simDevice = device == "sim";
            if (bySerial) o.serial = device.substr(5);
        } else if (name == "--trace") {
            o.trace = value();
            if (o.trace->empty()) throw ECliUsageError("--trace needs a file name or -");
        } else if (name == "--fast") {
            noValue();
            o.fast = true;
        } else if (name == "--sim-adc") {
            const std::string text = value();
            o.simAdc = ParseUnsigned32(text);
            if (!o.simAdc)
                throw ECliUsageError("--sim-adc needs a 32-bit value, decimal or 0x-hex, not '" +
                                     text + "'");
        } else if (name == "--sim-fault") {
            o.faults.push_back(ParseFault(value()));
        } else if (name == "--serve") {
            o.serve = ParseServeAddress(value());
        } else {
            throw ECliUsageError("unknown option '" + name + "'");
        }
    }
    if (!o.simDevice) {
        const char* simOnly = o.fast                 ? "--fast"
                              : o.simAdc.has_value() ? "--sim-adc"
                              : !o.faults.empty()    ? "--sim-fault"
                                                     : nullptr;
        if (simOnly) throw ECliUsageError(std::string(simOnly) + " needs --device sim");
    }
    o.steps = ParseSteps(std::vector<std::string>(args.begin() + static_cast<long>(n), args.end()));
    if (!o.simDevice)
        for (const auto& step : o.steps)
            if (step.kind == TCliStep::skState)
                throw ECliUsageError("the step 'state' needs --device sim");
    return o;
}

std::string UsageText() {
    std::string text =
        "Usage: zygen4 [OPTIONS] [STEP]...\n"
        "       zygen4 replay [--explain] FILE\n"
        "Builds a generator with its constructor values, not connected, runs the steps\n"
        "in order and exits. The link is closed at exit without resetting the\n"
        "instrument; the step Active=0 resets and disconnects.\n"
        "\n"
        "Options:\n"
        "  --device ftdi|ftdi:SERIAL|sim\n"
        "                      the instrument on the first FTDI bridge (default), on the\n"
        "                      bridge with that serial number, or the virtual one\n"
        "  --list-devices      list the FTDI bridges: bus position, vendor:product,\n"
        "                      strings, serial and whether this user may open them\n"
        "  --trace FILE        one line per transfer: C (command), D (data), R (read),\n"
        "                      hex bytes, ' !' after a failed one; '-' for stdout\n"
        "  --fast              with --device sim: no 20 ms pause after each command\n"
        "  --sim-adc VALUE     with --device sim: fixed ADC answer (decimal or 0x-hex)\n"
        "  --sim-fault F       with --device sim: open, write:K, short:K or read:K\n"
        "  --serve [ADDR:]PORT first serve SCPI clients on TCP (address 127.0.0.1 unless\n"
        "                      given; port 0: any free one) until SIGINT or SIGTERM,\n"
        "                      then run the steps\n"
        "  --help, --version\n"
        "\n"
        "Steps:\n"
        "  PATH=VALUE          set a property (enumerators by name or number, bools\n"
        "                      0/1/true/false, numbers with a '.' decimal point)\n"
        "  PATH?               print PATH=VALUE\n"
        "  update              run the update cycle now\n"
        "  save FILE, load FILE  the generator settings file\n"
        "  adc A|B             read the channel's ADC once, print 'ADC A <value>'\n"
        "  wait MS             run the timers for MS ms (tuner ticks print ADC lines)\n"
        "  state               the virtual instrument's decoded state (key=value)\n"
        "\n"
        "replay feeds a trace (as --trace writes it; '-' for stdin) into a fresh\n"
        "virtual instrument and prints its state; --explain first prints every\n"
        "transfer with its meaning.\n"
        "\n"
        "Exit status: 0 ok, 1 runtime error, 2 usage error (nothing is sent),\n"
        "3 a value was rejected by a range check.\n"
        "\n"
        "Properties (* read-only; the values a setter accepts, where it checks):\n";
    for (const auto& def : TPropertyTable::Instance().All()) {
        std::string line = "  " + def.path + (def.ReadOnly() ? " *" : "");
        if (!def.accepted.empty())
            line += std::string(line.size() < 34 ? 34 - line.size() : 1, ' ') + def.accepted;
        text += line + "\n";
    }
    return text;
}
