#pragma once

#include <fstream>
#include <memory>
#include <ostream>

#include "cli/CliOptions.h"
#include "platform/FtdiAccess.h"
#include "platform/ManualTimerHost.h"
#include "platform/TickSource.h"
#include "platform/UsbDriver.h"

class TVirtualInstrument;
class TTraceDriver;

// What a generator of the tool runs on, built from the options: the driver
// (the FTDI bridge or the virtual instrument with its faults and ADC answer), the
// trace around it, the tick source (simulated time with --fast) and the timer
// host that `wait` advances.
class TCliDevice {
  public:
    // Throws EInOutError when the trace file cannot be created, Exception when
    // the instrument is asked for and `ftdi` cannot make its driver.
    TCliDevice(const TCliOptions& options, const TFtdiAccess& ftdi, std::ostream& out);
    ~TCliDevice();
    TCliDevice(const TCliDevice&) = delete;
    TCliDevice& operator=(const TCliDevice&) = delete;

    // The driver the generator talks to (the trace when there is one).
    TUsbDriver& Driver() { return *top_; }
    TTickSource& Ticks() { return *ticks_; }
    TManualTimerHost& Timers() { return timers_; }
    // Null unless --device sim.
    TVirtualInstrument* Instrument() const { return sim_; }

    // Lets `ms` milliseconds pass on the tick source, firing the timers as
    // their intervals elapse. Time spent inside a tick (a command's pause)
    // counts towards the wait.
    void RunTimers(uint32_t ms);

    // Flushes the trace file; false when some of it could not be written.
    bool TraceWritten();

  private:
    std::unique_ptr<TUsbDriver> driver_;
    TVirtualInstrument* sim_ = nullptr;
    std::unique_ptr<TTraceDriver> trace_;
    std::unique_ptr<std::ofstream> traceFile_;
    TUsbDriver* top_ = nullptr;
    std::unique_ptr<TTickSource> ticks_;
    bool fast_ = false;  // simulated time
    TManualTimerHost timers_;
};
