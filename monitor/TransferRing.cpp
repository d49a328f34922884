#include "monitor/TransferRing.h"

#include <algorithm>

TTransferRing::TTransferRing(std::size_t capacity) : slots_(std::max<std::size_t>(capacity, 1)) {}

void TTransferRing::Push(uint32_t ms, const TTraceDriver::TTransfer& transfer) {
    TTransferRecord& slot = slots_[next_ % slots_.size()];
    slot.ms = ms;
    slot.transfer.kind = transfer.kind;
    slot.transfer.ok = transfer.ok;
    // assign() reuses the slot's buffer once the ring has gone round.
    slot.transfer.bytes.assign(transfer.bytes.begin(), transfer.bytes.end());
    ++next_;
    if (next_ - first_ > slots_.size()) {
        ++first_;
        ++dropped_;
    }
}

void TTransferRing::Clear() {
    first_ = next_;
}

void TTransferRing::ForEachFrom(uint64_t from,
                                const std::function<void(const TTransferRecord&)>& fn) const {
    for (uint64_t seq = std::max(from, first_); seq < next_; ++seq) fn(slots_[seq % slots_.size()]);
}
