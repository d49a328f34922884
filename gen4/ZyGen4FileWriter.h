#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// Builds a settings file in memory, each field encoded little-endian whatever
// the host's byte order, and stores it so that a failure never costs the
// previous file: the bytes go to a temporary file beside the target, which
// replaces the target only once every byte is written and flushed.
class TZyGen4FileWriter {
  public:
    void WriteBytes(const uint8_t* data, int count);
    void WriteInt(int32_t v);
    void WriteDouble(double v);
    // One byte, 0 or 1.
    void WriteBool(bool v);
    template <typename E>
    void WriteEnum(E v) {
        static_assert(std::is_enum_v<E> && sizeof(std::underlying_type_t<E>) == 4);
        WriteInt(static_cast<int32_t>(v));
    }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    int Size() const { return static_cast<int>(bytes_.size()); }

    // Stores the bytes as FileName. Throws EInOutError with "Ошибка при
    // открытии файла" when the file cannot be created (no such folder, the
    // target is a folder or read-only), and with a message naming the cause
    // when writing fails; the previous file is then left as it was.
    void SaveAs(const std::string& FileName) const;

  private:
    std::vector<uint8_t> bytes_;
};
