#include "gen4/ZyGen4FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <limits>

#include "platform/Exceptions.h"

TZyGen4FileReader TZyGen4FileReader::FromFile(const std::string& FileName, int maxBytes) {
    const int fd = FileName.empty() ? -1 : ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EInOutError("Ошибка при открытии файла");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EInOutError("Ошибка при открытии файла");
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(maxBytes > 0 ? maxBytes : 0));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            throw EInOutError("Ошибка при чтении файла");
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return TZyGen4FileReader(std::move(bytes));
}

const uint8_t* TZyGen4FileReader::Take(int n) {
    if (short_ || n > Size() - pos_) {
        short_ = true;
        pos_ = Size();
        return nullptr;
    }
    const uint8_t* p = bytes_.data() + pos_;
    pos_ += n;
    return p;
}

bool TZyGen4FileReader::ReadByte(uint8_t& v) {
    const uint8_t* p = Take(1);
    if (!p) return false;
    v = p[0];
    return true;
}

bool TZyGen4FileReader::ReadInt(int32_t& v) {
    const uint8_t* p = Take(4);
    if (!p) return false;
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(p[i]) << (8 * i);
    v = static_cast<int32_t>(u);
    return true;
}

bool TZyGen4FileReader::ReadDouble(double& v) {
    static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);
    const uint8_t* p = Take(8);
    if (!p) return false;
    uint64_t u = 0;
    for (int i = 0; i < 8; ++i) u |= static_cast<uint64_t>(p[i]) << (8 * i);
    v = std::bit_cast<double>(u);
    return true;
}

bool TZyGen4FileReader::ReadBool(bool& v) {
    const uint8_t* p = Take(1);
    if (!p) return false;
    v = p[0] != 0;
    return true;
}
