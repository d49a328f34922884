#include "cli/CliDevice.h"

#include <algorithm>

#include "platform/Exceptions.h"
#include "platform/FakeTickSource.h"
#include "platform/SteadyTickSource.h"
#include "sim/TraceDriver.h"
#include "sim/VirtualInstrument.h"

TCliDevice::TCliDevice(const TCliOptions& options, const TFtdiAccess& ftdi, std::ostream& out) {
    if (options.simDevice) {
        auto sim = std::make_unique<TVirtualInstrument>();
        sim_ = sim.get();
        if (options.simAdc) sim_->SetADCValue(*options.simAdc);
        for (const auto& fault : options.faults) {
            switch (fault.kind) {
                case TSimFault::sfOpen:
                    sim_->FailOpen();
                    break;
                case TSimFault::sfWrite:
                    sim_->FailWrite(fault.k);
                    break;
                case TSimFault::sfShort:
                    sim_->ShortWrite(fault.k);
                    break;
                case TSimFault::sfRead:
                    sim_->FailRead(fault.k);
                    break;
                default:
                    break;
            }
        }
        driver_ = std::move(sim);
    } else {
        if (!ftdi.MakeDriver) throw Exception("this build has no FTDI driver");
        driver_ = ftdi.MakeDriver(options.serial);
    }
    top_ = driver_.get();

    if (options.trace) {
        std::ostream* stream = &out;
        if (*options.trace != "-") {
            traceFile_ = std::make_unique<std::ofstream>(*options.trace, std::ios::trunc);
            if (!*traceFile_)
                throw EInOutError("cannot create the trace file '" + *options.trace + "'");
            stream = traceFile_.get();
        }
        trace_ = std::make_unique<TTraceDriver>(*driver_);
        trace_->OnTransfer = [stream](const TTraceDriver::TTransfer& t) {
            *stream << TTraceDriver::FormatLine(t) << '\n';
        };
        top_ = trace_.get();
    }

    fast_ = options.simDevice && options.fast;
    if (fast_)
        ticks_ = std::make_unique<TFakeTickSource>();
    else
        ticks_ = std::make_unique<TSteadyTickSource>();
}

TCliDevice::~TCliDevice() {
    if (traceFile_) traceFile_->flush();
}

bool TCliDevice::TraceWritten() {
    if (!traceFile_) return true;
    traceFile_->flush();
    return static_cast<bool>(*traceFile_);
}

void TCliDevice::RunTimers(uint32_t ms) {
    // Short slices keep the timers close to their intervals in real time;
    // simulated time takes longer ones, so a long wait stays quick.
    const uint32_t kSliceMs = fast_ ? 1000 : 10;
    uint32_t remaining = ms;
    uint32_t mark = ticks_->GetTickCount();
    while (remaining > 0) {
        ticks_->Sleep(std::min(remaining, kSliceMs));
        const uint32_t now = ticks_->GetTickCount();
        const uint32_t step = std::min(now - mark, remaining);
        mark = now;
        timers_.Advance(step);
        remaining -= step;
    }
}
