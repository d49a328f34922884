#include "platform/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

// Writes all bytes, resuming after short writes; errno describes a failure.
bool WriteAll(int fd, const uint8_t* data, std::size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

TReplaceResult ReplaceFile(const std::string& path, const uint8_t* data, std::size_t count,
                           int& err) {
    err = 0;
    if (path.empty()) return rfCannotOpen;
    std::string target = path;
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(target.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    // An existing target must be a file we may write, as opening it would need.
    const bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed && (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0))
        return rfCannotOpen;
    const std::size_t slash = target.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (base.empty()) return rfCannotOpen;

    // The temporary file lives in the target's folder so that the rename
    // replaces the target in one step.
    std::string temp = dir + "." + base + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return rfCannotOpen;

    // The new file keeps the old one's owner and permissions; a new file gets
    // the usual ones for a file this process creates.
    mode_t mode;
    if (existed) {
        mode = st.st_mode & 07777;
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Not permitted: the file gets our owner, which is all we can give it.
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, data, count) && ::fsync(fd) == 0;
    err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return rfWriteFailed;
    }
    err = 0;
    // Make the rename itself durable; the file is complete either way.
    const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return rfOk;
}
