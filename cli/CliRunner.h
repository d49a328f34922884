#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "cli/CliOptions.h"
#include "platform/FtdiAccess.h"

class TCliDevice;
class TVirtualInstrument;
class TZyGen4;
class TZyGen4Channel;

// Exit status of zygen4.
enum TCliExit : int32_t {
    ceOk = 0,
    ceRuntimeError = 1,  // link or file error, Active=1 that could not connect
    ceUsageError = 2,    // found before any step ran
    ceRejected = 3,      // a range check rejected a value
};

// Runs the steps of a parsed command line on a generator built with its
// constructor values, then closes the link without resetting the instrument.
// Printed values and ADC readings go to `out`, messages to `err`. The first
// failing step ends the run.
class TCliRunner {
  public:
    TCliRunner(const TCliOptions& options, std::ostream& out, std::ostream& err,
               TFtdiAccess ftdi = {});
    ~TCliRunner();
    TCliRunner(const TCliRunner&) = delete;
    TCliRunner& operator=(const TCliRunner&) = delete;

    TCliExit Run();

    // After Run: the generator and, with --device sim, the instrument.
    TZyGen4* Gen() const { return gen_.get(); }
    TVirtualInstrument* Instrument() const;

  private:
    void Build();
    void AssignEvents();
    // Throws Exception on a runtime error; returns false when a value was
    // rejected.
    bool RunStep(const TCliStep& step);
    bool RunSet(const TCliStep& step);
    // --serve: SCPI clients drive the generator until SIGINT or SIGTERM.
    void Serve();
    void CloseLink();
    std::string ChannelName(const TZyGen4Channel* ch) const;

    const TCliOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    TFtdiAccess ftdi_;
    const TCliStep* current_ = nullptr;  // the step that runs, for messages
    bool valueRejected_ = false;         // OnParamValueError during this step
    bool fileError_ = false;             // OnErrorFile during this step

    // The generator goes first, while what it runs on still exists.
    std::unique_ptr<TCliDevice> device_;
    std::unique_ptr<TZyGen4> gen_;
};
