// zygen4's whole run on the virtual instrument, with any arguments after
// "--device sim --fast": parsing, every step, the trace and the exit status.
// Input: one argument per line. The run works in a scratch folder; arguments
// naming another folder (a '/') are not run, and waits are kept short so that
// each run stays quick.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// Arguments the run may take: files only in the scratch folder, and waits of
// at most 9999 simulated milliseconds.
bool Harmless(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].find('/') != std::string::npos) return false;
        if (args[i] == "wait" && i + 1 < args.size() && args[i + 1].size() > 4) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args = {"--device", "sim", "--fast"};
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(lines, line);) args.push_back(line);
    if (args.size() > 40 || !Harmless(args)) return 0;

    // Files the steps name are made in the scratch folder and nowhere else;
    // libFuzzer's own paths are relative to where it started.
    const int home = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    Check(home >= 0 && ::chdir(ScratchDir().c_str()) == 0, "into the scratch folder");
    std::ostringstream out, err;
    const int status = RunZygen4(args, out, err);
    Check(::fchdir(home) == 0, "back from the scratch folder");
    ::close(home);
    Check(status >= 0 && status <= 3, "exit status 0 … 3");
    Check(status == 0 || !err.str().empty(), "a failure says why");

    for (const auto& entry : std::filesystem::directory_iterator(ScratchDir()))
        std::filesystem::remove_all(entry.path());
    return 0;
}
