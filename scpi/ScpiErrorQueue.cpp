#include "scpi/ScpiErrorQueue.h"

#include "scpi/ScpiError.h"
#include "scpi/ScpiText.h"

void TScpiErrorQueue::Push(int code, const std::string& detail) {
    if (entries_.size() >= kCapacity) {
        entries_.back() = {seQueueOverflow, {}};
        return;
    }
    entries_.push_back({code, detail});
}

std::string TScpiErrorQueue::Next() {
    if (entries_.empty()) return "0," + QuoteScpiString(ScpiErrorText(seNoError));
    const TEntry e = entries_.front();
    entries_.pop_front();
    std::string text = ScpiErrorText(e.code);
    if (!e.detail.empty()) text += ";" + e.detail;
    return std::to_string(e.code) + "," + QuoteScpiString(text);
}
