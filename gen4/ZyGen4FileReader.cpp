#include "gen4/ZyGen4FileReader.h"

#include <bit>
#include <cmath>
#include <limits>

#include "platform/Exceptions.h"
#include "platform/ReadFile.h"

TZyGen4FileReader TZyGen4FileReader::FromFile(const std::string& FileName, int maxBytes) {
    std::string data;
    switch (ReadRegularFile(FileName, static_cast<size_t>(maxBytes > 0 ? maxBytes : 0), data)) {
        case rdOk:
            return TZyGen4FileReader(std::vector<uint8_t>(data.begin(), data.end()));
        case rdReadFailed:
            throw EInOutError("Ошибка при чтении файла");
        default:
            throw EInOutError("Ошибка при открытии файла");
    }
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

namespace {

double DecodeDouble(const uint8_t* p) {
    static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);
    uint64_t u = 0;
    for (int i = 0; i < 8; ++i) u |= static_cast<uint64_t>(p[i]) << (8 * i);
    return std::bit_cast<double>(u);
}

}  // namespace

bool TZyGen4FileReader::ReadDouble(double& v) {
    const uint8_t* p = Take(8);
    if (!p) return false;
    v = DecodeDouble(p);
    return true;
}

bool TZyGen4FileReader::FiniteDoubleAt(int offset) const {
    if (offset < 0 || offset > Size() - 8) return true;
    return std::isfinite(DecodeDouble(bytes_.data() + offset));
}

bool TZyGen4FileReader::ReadBool(bool& v) {
    const uint8_t* p = Take(1);
    if (!p) return false;
    v = p[0] != 0;
    return true;
}
