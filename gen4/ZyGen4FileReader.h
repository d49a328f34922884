#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// Reads the fields of a settings file in order, decoding little-endian
// whatever the host's byte order. A field that does not fit wholly in the
// bytes left is not read: its target keeps its value, the reader is marked
// short and every later read fails too, so no part of a cut field is ever
// stored and no later field is taken from the wrong bytes.
class TZyGen4FileReader {
  public:
    explicit TZyGen4FileReader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    // Reads at most maxBytes of the file FileName. Throws EInOutError with
    // "Ошибка при открытии файла" when it cannot be opened or is not a regular
    // file (a folder, a FIFO, a device), and with "Ошибка при чтении файла"
    // when reading fails.
    static TZyGen4FileReader FromFile(const std::string& FileName, int maxBytes);

    // Each returns true when it read the field and stored it in v; false, v
    // unchanged, when the field runs past the end.
    bool ReadByte(uint8_t& v);
    bool ReadInt(int32_t& v);
    bool ReadDouble(double& v);
    // Any byte but 0 reads as true: a C++ bool holds only false and true.
    bool ReadBool(bool& v);
    // The value is stored as read, also outside the enumeration's list: the
    // enumerations have a fixed 32-bit underlying type, so every value is
    // representable and every switch over them has a default branch.
    template <typename E>
    bool ReadEnum(E& v) {
        static_assert(std::is_enum_v<E> && sizeof(std::underlying_type_t<E>) == 4);
        int32_t raw;
        if (!ReadInt(raw)) return false;
        v = static_cast<E>(raw);
        return true;
    }

    // False when the double at `offset` lies wholly in the bytes and is NaN or
    // infinite. The position does not move.
    bool FiniteDoubleAt(int offset) const;

    int Size() const { return static_cast<int>(bytes_.size()); }
    int Position() const { return pos_; }
    // A read ran past the end.
    bool Short() const { return short_; }

  private:
    // The next n bytes, or null (and the reader exhausted) when fewer are left.
    const uint8_t* Take(int n);

    std::vector<uint8_t> bytes_;
    int pos_ = 0;
    bool short_ = false;
};
