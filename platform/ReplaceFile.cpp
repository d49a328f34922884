#include "platform/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
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

// Symbolic links followed before the chain counts as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

// Follows symbolic links from `path` to the name they finally give, which need
// not exist yet (a dangling link names the file to create). False for a loop,
// a chain too long, or a name that cannot be looked at.
bool FollowLinks(std::string& path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return true;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return false;
        link.resize(static_cast<std::size_t>(n));
        // A relative link is relative to the folder holding the link.
        const std::size_t slash = path.rfind('/');
        if (link[0] != '/' && slash != std::string::npos) link = path.substr(0, slash + 1) + link;
        path = link;
    }
    return false;
}

}  // namespace

TReplaceResult ReplaceFile(const std::string& path, const uint8_t* data, std::size_t count,
                           int& err) {
    err = 0;
    if (path.empty()) return rfCannotOpen;
    // A link is written through to the file it names (created when missing),
    // so the link itself stays.
    std::string target = path;
    if (!FollowLinks(target)) return rfCannotOpen;
    // An existing target must be a file we may write, as opening it would need.
    struct stat st {};
    const bool existed = ::lstat(target.c_str(), &st) == 0;
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
