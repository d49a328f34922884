#include "cli/CliMain.h"

#include "cli/CliOptions.h"
#include "cli/CliRunner.h"
#include "cli/CliUsageError.h"

int RunZygen4(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TCliOptions options;
    try {
        options = ParseCommandLine(args);
    } catch (const ECliUsageError& e) {
        err << "zygen4: " << e.what() << "\nTry 'zygen4 --help'.\n";
        return ceUsageError;
    }
    if (options.help) {
        out << UsageText();
        return ceOk;
    }
    if (options.version) {
        out << "zygen4 " << ZY_VERSION << "\n";
        return ceOk;
    }
    TCliRunner runner(options, out, err);
    return runner.Run();
}
