#include "cli/CliMain.h"

#include "cli/CliOptions.h"
#include "cli/CliReplay.h"
#include "cli/CliRunner.h"
#include "cli/CliUsageError.h"

int RunZygen4(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const TFtdiAccess& ftdi) {
    if (!args.empty() && args[0] == "replay") {
        const int status =
            RunReplay(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
        if (!out.flush() && status == ceOk) {
            err << "zygen4: writing the output failed\n";
            return ceRuntimeError;
        }
        return status;
    }
    TCliOptions options;
    try {
        options = ParseCommandLine(args);
    } catch (const ECliUsageError& e) {
        err << "zygen4: " << e.what() << "\nTry 'zygen4 --help'.\n";
        return ceUsageError;
    }
    int status = ceOk;
    if (options.help) {
        out << UsageText();
    } else if (options.version) {
        out << "zygen4 " << ZY_VERSION << "\n";
    } else if (options.listDevices) {
        if (ftdi.ListDevices) {
            out << FormatFtdiDeviceList(ftdi.ListDevices());
        } else {
            err << "zygen4: this build has no FTDI driver\n";
            status = ceRuntimeError;
        }
    } else {
        TCliRunner runner(options, out, err, ftdi);
        status = runner.Run();
    }
    // Printed values that never arrived (a full disk, a closed pipe) are no success.
    if (!out.flush() && status == ceOk) {
        err << "zygen4: writing the output failed\n";
        status = ceRuntimeError;
    }
    return status;
}
