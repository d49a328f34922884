#include "monitor/LinkReplay.h"

#include <vector>

#include "monitor/FrameMeaning.h"
#include "monitor/MeaningText.h"

TLinkReplay::TLinkReplay() {
    sim_.FT_Open(0, handle_);
}

std::string TLinkReplay::Apply(const TTraceDriver::TTransfer& t) {
    return t.kind == TTraceDriver::tkRead ? ApplyRead(t) : ApplyWrite(t);
}

std::string TLinkReplay::ApplyWrite(const TTraceDriver::TTransfer& t) {
    if (!t.ok) sim_.FailWrite(sim_.WriteCount() + 1);
    uint32_t written = 0;
    const auto count = static_cast<uint32_t>(t.bytes.size());
    sim_.FT_Write(handle_, t.bytes.data(), count, written);
    if (t.kind == TTraceDriver::tkData) return "данные, " + Counted(count, "байт", "байта", "байт");
    return FrameMeaning(t.bytes.data(), t.bytes.size(), sim_.State());
}

std::string TLinkReplay::ApplyRead(const TTraceDriver::TTransfer& t) {
    // Take the answer the instrument queued, whatever the trace says it was.
    if (!t.ok) sim_.FailRead(sim_.ReadCount() + 1);
    std::vector<uint8_t> answer(t.bytes.size() < 4 ? 4 : t.bytes.size());
    uint32_t read = 0;
    sim_.FT_Read(handle_, answer.data(), static_cast<uint32_t>(answer.size()), read);
    if (!t.ok || t.bytes.size() != 4) return "ответ АЦП не получен";
    const uint32_t value = static_cast<uint32_t>(t.bytes[0]) << 24 |
                           static_cast<uint32_t>(t.bytes[1]) << 16 |
                           static_cast<uint32_t>(t.bytes[2]) << 8 | t.bytes[3];
    lastReading_ = value;
    return "ответ АЦП " + HexCode(value, 8);
}
