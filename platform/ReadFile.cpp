#include "platform/ReadFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

TReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& data) {
    data.clear();
    if (path.empty()) return rdMissing;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? rdMissing : rdCannotOpen;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return rdCannotOpen;
    }
    char buf[8192];
    while (data.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buf, maxBytes - data.size());
        const ssize_t n = ::read(fd, buf, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            data.clear();
            return rdReadFailed;
        }
        if (n == 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return rdOk;
}
