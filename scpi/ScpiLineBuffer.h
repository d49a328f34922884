#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

// Cuts the bytes a client sends into program messages at each '\n' (a '\r'
// before it is dropped). A line longer than kMaxLine is refused: it is
// reported once, its bytes up to its end are dropped as they come, and the
// lines after it are read as usual.
class TScpiLineBuffer {
  public:
    static constexpr std::size_t kMaxLine = 64 * 1024;

    struct TItem {
        bool tooLong = false;  // in place of a refused line
        std::string line;
    };

    void Append(std::string_view bytes);
    // The next complete line (or refusal), in order; false when none is ready.
    bool Next(TItem& item);
    // Forgets everything, also a line half received (a client left).
    void Clear();

  private:
    std::string partial_;
    bool discarding_ = false;  // inside a refused line
    std::deque<TItem> ready_;
};
