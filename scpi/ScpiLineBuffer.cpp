#include "scpi/ScpiLineBuffer.h"

void TScpiLineBuffer::Append(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (!discarding_) {
            partial_.append(piece);
            // Too long even if a '\r' ends it: refused now rather than kept
            // growing.
            if (partial_.size() > kMaxLine + 1) {
                ready_.push_back({true, {}});
                partial_.clear();
                discarding_ = true;
            }
        }
        if (end == bytes.npos) break;
        if (!discarding_) {
            if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
            if (partial_.size() > kMaxLine)
                ready_.push_back({true, {}});
            else
                ready_.push_back({false, std::move(partial_)});
        }
        partial_.clear();
        discarding_ = false;
        bytes.remove_prefix(end + 1);
    }
}

bool TScpiLineBuffer::Next(TItem& item) {
    if (ready_.empty()) return false;
    item = std::move(ready_.front());
    ready_.pop_front();
    return true;
}

void TScpiLineBuffer::Clear() {
    partial_.clear();
    discarding_ = false;
    ready_.clear();
}
