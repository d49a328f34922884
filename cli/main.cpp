#include <iostream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "platform/FileSizeSignal.h"
#include "platform/LibFtdiAccess.h"

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunZygen4(args, std::cout, std::cerr, LibFtdiAccess());
}
