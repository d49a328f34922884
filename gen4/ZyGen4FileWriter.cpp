#include "gen4/ZyGen4FileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/Exceptions.h"

namespace {

constexpr char kMsgOpen[] = "Ошибка при открытии файла";

// A write that failed after the temporary file was made: say why in words the
// operator can act on. The target has not been touched at this point.
[[noreturn]] void WriteFailed(int err) {
    std::string cause;
    switch (err) {
        case ENOSPC:
            cause = "на диске недостаточно места";
            break;
        case EDQUOT:
            cause = "превышена дисковая квота";
            break;
        case EFBIG:
            cause = "превышен допустимый размер файла";
            break;
        case EROFS:
            cause = "диск доступен только для чтения";
            break;
        case EIO:
            cause = "ошибка ввода-вывода";
            break;
        default:
            cause = "системная ошибка " + std::to_string(err);
            break;
    }
    throw EInOutError("Ошибка при записи файла настроек: " + cause +
                      ". Файл не сохранён, прежний файл не изменён.");
}

// Writes all bytes, resuming after short writes; errno describes a failure.
bool WriteAll(int fd, const uint8_t* data, size_t count) {
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
        count -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

void TZyGen4FileWriter::WriteBytes(const uint8_t* data, int count) {
    bytes_.insert(bytes_.end(), data, data + count);
}

void TZyGen4FileWriter::WriteInt(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

void TZyGen4FileWriter::WriteDouble(double v) {
    static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);
    const uint64_t u = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

void TZyGen4FileWriter::WriteBool(bool v) {
    bytes_.push_back(v ? 1 : 0);
}

void TZyGen4FileWriter::SaveAs(const std::string& FileName) const {
    if (FileName.empty()) throw EInOutError(kMsgOpen);
    // Write through a symbolic link to the file it names rather than replace it.
    std::string target = FileName;
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
        throw EInOutError(kMsgOpen);
    const size_t slash = target.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (base.empty()) throw EInOutError(kMsgOpen);

    // The temporary file lives in the target's folder so that the rename
    // replaces the target in one step.
    std::string temp = dir + "." + base + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) throw EInOutError(kMsgOpen);

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

    bool ok =
        ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes_.data(), bytes_.size()) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        WriteFailed(err);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        WriteFailed(err);
    }
    // Make the rename itself durable; the file is complete either way.
    const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}
