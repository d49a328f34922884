#include "gen4/ZyGen4FileWriter.h"

#include <bit>
#include <cerrno>
#include <limits>

#include "platform/Exceptions.h"
#include "platform/ReplaceFile.h"

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
    int err = 0;
    switch (ReplaceFile(FileName, bytes_.data(), bytes_.size(), err)) {
        case rfOk:
            return;
        case rfWriteFailed:
            WriteFailed(err);
        default:
            throw EInOutError(kMsgOpen);
    }
}
