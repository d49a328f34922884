#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ProcessRun {
    int status = -1;  // the waitpid status
    std::string err;
};

// Starts the built zygen4 with `args` under a file-size limit of `limitBytes`
// (set in the child only) and collects its stderr through a pipe, which the
// limit does not touch.
ProcessRun RunZygen4Process(const std::vector<std::string>& args, rlim_t limitBytes) {
    ProcessRun run;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDERR_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        rlimit lim{};
        ::getrlimit(RLIMIT_FSIZE, &lim);
        lim.rlim_cur = limitBytes;
        ::setrlimit(RLIMIT_FSIZE, &lim);
        std::vector<char*> argv{const_cast<char*>(ZYGEN4_EXE)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(ZYGEN4_EXE, argv.data());
        std::_Exit(127);
    }
    ::close(pipeFds[1]);
    char buf[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        run.err.append(buf, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    ::waitpid(pid, &run.status, 0);
    return run;
}

}  // namespace

// At the file-size limit the save fails like one on a full disk: zygen4 is not
// killed by SIGXFSZ, reports the cause, and leaves no temporary file.
TEST(Zygen4Process, SaveAtTheFileSizeLimitFailsCleanly) {
    std::string tmpl = (fs::temp_directory_path() / "zygen4-limit-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    const fs::path dir = tmpl;
    const std::string file = (dir / "setup.zg4").string();

    const ProcessRun run = RunZygen4Process({"--device", "sim", "save", file}, 100);
    ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << WTERMSIG(run.status);
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_NE(run.err.find("превышен допустимый размер файла"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}
