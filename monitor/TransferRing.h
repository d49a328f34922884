#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "sim/TraceDriver.h"

// One transfer over the link as the monitor keeps it.
struct TTransferRecord {
    uint32_t ms = 0;  // since the link was opened
    TTraceDriver::TTransfer transfer{TTraceDriver::tkCommand, {}, true};
};

// The last `capacity` transfers, oldest first. Every transfer gets a sequence
// number counted from 0 over the ring's life, so a reader that remembers the
// next number it wants learns both what is new and how many it missed.
class TTransferRing {
  public:
    static constexpr std::size_t kDefaultCapacity = 100000;

    explicit TTransferRing(std::size_t capacity = kDefaultCapacity);

    void Push(uint32_t ms, const TTraceDriver::TTransfer& transfer);
    // Forgets every record; sequence numbers go on.
    void Clear();

    std::size_t Capacity() const { return slots_.size(); }
    std::size_t Size() const { return static_cast<std::size_t>(next_ - first_); }
    // Records pushed out by newer ones (a Clear drops nothing).
    uint64_t Dropped() const { return dropped_; }
    uint64_t FirstSeq() const { return first_; }
    uint64_t NextSeq() const { return next_; }

    // Calls `fn` for each record kept from sequence number `from` on.
    void ForEachFrom(uint64_t from, const std::function<void(const TTransferRecord&)>& fn) const;

  private:
    std::vector<TTransferRecord> slots_;
    uint64_t first_ = 0;  // sequence number of the oldest record kept
    uint64_t next_ = 0;   // sequence number the next record gets
    uint64_t dropped_ = 0;
};
