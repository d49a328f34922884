#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/TraceDriver.h"
#include "sim/VirtualInstrument.h"

// Plays recorded transfers into a virtual instrument of its own and tells what
// each one meant. The live monitor and a replayed trace file go through the
// same path, so the real instrument's traffic is explained in the same words
// as the simulation's, and the state shown is the one the frames left.
class TLinkReplay {
  public:
    TLinkReplay();

    // Carries out one transfer and returns its meaning. A failed write reaches
    // the instrument as a failed write (the receiver drops an unfinished frame),
    // a failed read loses the pending answer, as on the wire.
    std::string Apply(const TTraceDriver::TTransfer& transfer);

    const TVirtualInstrument& Instrument() const { return sim_; }
    const TInstrumentState& State() const { return sim_.State(); }
    // The last ADC answer that arrived in full, as the trace carried it.
    std::optional<uint32_t> LastReading() const { return lastReading_; }

  private:
    std::string ApplyWrite(const TTraceDriver::TTransfer& transfer);
    std::string ApplyRead(const TTraceDriver::TTransfer& transfer);

    TVirtualInstrument sim_;
    FT_HANDLE handle_ = 0;
    std::optional<uint32_t> lastReading_;
};
