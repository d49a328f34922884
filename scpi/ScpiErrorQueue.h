#pragma once

#include <cstddef>
#include <deque>
#include <string>

// The instrument's error queue: first in, first out, at most kCapacity
// entries. When it is full, the newest entry becomes -350 "Queue overflow" and
// later errors are lost until an entry is read.
class TScpiErrorQueue {
  public:
    static constexpr std::size_t kCapacity = 16;

    void Push(int code, const std::string& detail = {});
    // The oldest entry as `code,"text[;detail]"`, removed; `0,"No error"` when
    // the queue is empty.
    std::string Next();
    std::size_t Count() const { return entries_.size(); }
    void Clear() { entries_.clear(); }

  private:
    struct TEntry {
        int code;
        std::string detail;
    };
    std::deque<TEntry> entries_;
};
