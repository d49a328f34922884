#include "cli/CliRunner.h"

#include <csignal>
#include <utility>

#include "cli/CliDevice.h"
#include "cli/ScpiSocketServer.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "platform/Exceptions.h"
#include "props/EnumInfo.h"
#include "props/PropertyTable.h"
#include "scpi/ScpiEngine.h"
#include "sim/VirtualInstrument.h"

namespace {

std::string Shortest(double v) {
    TPropertyValue value;
    value.d = v;
    return FormatPropertyValue(vkDouble, nullptr, value);
}

// The property a range check names, when no assignment step is running.
const char* ParameterName(TZyGen4Parameters param) {
    switch (param) {
        case ZGP_ChFrequency:
            return "Frequency";
        case ZGP_ChPhase:
            return "Phase";
        case ZGP_LFMTime:
            return "LFM time";
        case ZGP_DDSModTime:
            return "DDSMod time";
        default:
            return "value";
    }
}

// The cause and the cure of a failed connect; empty when the driver cannot tell.
std::string OpenFailureText(TOpenFailure failure, const std::string& serial) {
    switch (failure) {
        case ofNoDevice:
            return serial.empty() ? "no FTDI device found"
                                  : "no FTDI device with the serial number " + serial;
        case ofPermission:
            return "permission denied: install the zypanel package (or its udev rule) and plug "
                   "the device in again";
        case ofBusy:
            return "the device is busy: another program has it open";
        case ofKernelDriver:
            return "the kernel's serial driver could not be detached from the device";
        case ofUsbStack:
            return "the USB library could not list the devices";
        case ofSetup:
            return "the device did not take its set-up: plug it in again";
        default:
            return "";
    }
}

}  // namespace

TCliRunner::TCliRunner(const TCliOptions& options, std::ostream& out, std::ostream& err,
                       TFtdiAccess ftdi)
    : options_(options), out_(out), err_(err), ftdi_(std::move(ftdi)) {}

TCliRunner::~TCliRunner() {
    if (!gen_) return;
    // The handlers refer to this runner, which the generator may outlive
    // by a moment while it is destroyed.
    gen_->OnParamValueError = nullptr;
    gen_->OnADCTimer = nullptr;
    gen_->OnOverModulation = nullptr;
    gen_->OnErrorFile = nullptr;
    gen_.reset();
}

TVirtualInstrument* TCliRunner::Instrument() const {
    return device_ ? device_->Instrument() : nullptr;
}

void TCliRunner::Build() {
    device_ = std::make_unique<TCliDevice>(options_, ftdi_, out_);
    gen_ =
        std::make_unique<TZyGen4>(nullptr, device_->Driver(), device_->Ticks(), device_->Timers());
    AssignEvents();
}

std::string TCliRunner::ChannelName(const TZyGen4Channel* ch) const {
    return ch && ch->IsChannelA() ? "ChA" : "ChB";
}

void TCliRunner::AssignEvents() {
    gen_->OnParamValueError = [this](TZyGen4Channel* ch, TZyGen4Parameters param, double* value) {
        valueRejected_ = true;
        // The assignment as written, or the channel's value the check names.
        const std::string what = current_ && current_->kind == TCliStep::skSet
                                     ? current_->text
                                     : ChannelName(ch) + " " + ParameterName(param) + " " +
                                           (value ? Shortest(*value) : std::string("?"));
        err_ << "zygen4: " << what << ": out of range, rejected\n";
    };
    gen_->OnOverModulation = [this](TZyGen4Channel* ch, double limit) {
        err_ << "zygen4: " << ChannelName(ch) << ".Amplitude " << Shortest(ch->Amplitude())
             << " is above the overmodulation limit " << Shortest(limit) << "; left as it is\n";
    };
    gen_->OnADCTimer = [this](TZyGen4Channel* ch) {
        out_ << "ADC " << (ch->IsChannelA() ? "A" : "B") << " " << ch->Tuner()->ADCValue() << "\n";
    };
    gen_->OnErrorFile = [this](TZyGen4*) { fileError_ = true; };
}

TCliExit TCliRunner::Run() {
    TCliExit status = ceOk;
    try {
        Build();
        if (options_.serve) Serve();
        for (const auto& step : options_.steps) {
            current_ = &step;
            valueRejected_ = false;
            fileError_ = false;
            if (!RunStep(step)) {
                status = ceRejected;
                break;
            }
        }
    } catch (const std::exception& e) {
        err_ << "zygen4: " << (current_ ? current_->text + ": " : std::string()) << e.what()
             << "\n";
        status = ceRuntimeError;
    }
    current_ = nullptr;
    try {
        CloseLink();
    } catch (const std::exception& e) {
        err_ << "zygen4: " << e.what() << "\n";
        if (status == ceOk) status = ceRuntimeError;
    }
    // A trace that could not be written is no record of the run.
    if (device_ && !device_->TraceWritten()) {
        err_ << "zygen4: writing the trace file '" << *options_.trace << "' failed\n";
        if (status == ceOk) status = ceRuntimeError;
    }
    out_.flush();
    return status;
}

namespace {

TScpiSocketServer* signalledServer = nullptr;

extern "C" void StopServing(int) {
    if (signalledServer) signalledServer->Stop();
}

// SIGINT and SIGTERM stop the server for as long as this lives.
class TStopOnSignals {
  public:
    explicit TStopOnSignals(TScpiSocketServer& server) {
        signalledServer = &server;
        struct sigaction action {};
        action.sa_handler = StopServing;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~TStopOnSignals() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
        signalledServer = nullptr;
    }
    TStopOnSignals(const TStopOnSignals&) = delete;
    TStopOnSignals& operator=(const TStopOnSignals&) = delete;

  private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

}  // namespace

void TCliRunner::Serve() {
    TScpiEngine engine(*gen_, ZyPanelScpiIdentity(ZY_VERSION));
    TScpiSocketServer server(engine, options_.serve->address, options_.serve->port);
    TStopOnSignals stopOnSignals(server);
    // The line a script waits for before it connects.
    out_ << "Serving SCPI on " << options_.serve->address << ":" << server.Port() << std::endl;
    server.Run();
}

// At exit the settings stay in the instrument: the link closes without the
// reset that switching Active off (or destroying the generator) would send.
void TCliRunner::CloseLink() {
    if (!gen_ || !gen_->GetActive()) return;
    if (!gen_->CloseFTPort())
        throw Exception("closing the link failed (" + FtStatusInfo().Name(gen_->Status()) + ")");
    gen_->UpdateDependentTimers();
}

bool TCliRunner::RunStep(const TCliStep& step) {
    // On the simulated bench the external reference input carries the clock
    // the operator declared, so the instrument's clock follows RefFreq.
    if (TVirtualInstrument* sim = device_->Instrument()) sim->SetExternalRefMHz(gen_->RefFreq());
    switch (step.kind) {
        case TCliStep::skSet:
            return RunSet(step);
        case TCliStep::skGet:
            out_ << step.prop->path << "="
                 << FormatPropertyValue(step.prop->kind, step.prop->enumInfo, step.prop->get(*gen_))
                 << "\n";
            return true;
        case TCliStep::skUpdate:
            gen_->UpdateMode();
            return true;
        case TCliStep::skSave:
            gen_->SaveToFile(step.file);
            return true;
        case TCliStep::skLoad: {
            // A wrong header (OnErrorFile) or a file that ends early.
            const bool complete = gen_->LoadFromFile(step.file);
            if (fileError_ || !complete)
                throw EInOutError(gen_->LastFileError().empty() ? "not a generator settings file"
                                                                : gen_->LastFileError());
            return true;
        }
        case TCliStep::skAdc: {
            if (!gen_->GetActive()) throw Exception("not connected (set Active=1 first)");
            TZyGen4Channel* ch = step.channelA ? static_cast<TZyGen4Channel*>(gen_->ChA())
                                               : static_cast<TZyGen4Channel*>(gen_->ChB());
            ch->Tuner()->GetADCValue();
            out_ << "ADC " << (step.channelA ? "A" : "B") << " " << ch->Tuner()->ADCValue() << "\n";
            return true;
        }
        case TCliStep::skWait:
            device_->RunTimers(step.ms);
            return true;
        case TCliStep::skState:
            if (TVirtualInstrument* sim = device_->Instrument())
                for (const auto& line : sim->StateLines()) out_ << line << "\n";
            return true;
        default:
            return true;
    }
}

bool TCliRunner::RunSet(const TCliStep& step) {
    const TPropertyDef& def = *step.prop;
    const TPropertyValue before = def.get(*gen_);
    def.set(*gen_, step.value);
    if (def.path == "Active") {
        if (step.value.b && !gen_->GetActive()) {
            const std::string cause = OpenFailureText(gen_->OpenFailure(), options_.serial);
            throw Exception("cannot connect to the instrument (" +
                            FtStatusInfo().Name(gen_->Status()) + ")" +
                            (cause.empty() ? "" : "\nzygen4: " + cause));
        }
        return true;
    }
    if (valueRejected_) return false;
    // Setters drop some values silently (an amplitude of 0, a sweep top below
    // the carrier, a reference clock while the internal one is used): a script
    // must not take that for success.
    const TPropertyValue now = def.get(*gen_);
    if (!now.Equals(def.kind, step.value)) {
        // A setter may also store a substitute (FreqScale below 4 becomes 0).
        err_ << "zygen4: " << step.text << " was not taken; " << def.path
             << (now.Equals(def.kind, before) ? " stays " : " is now ")
             << FormatPropertyValue(def.kind, def.enumInfo, now) << "\n";
        return false;
    }
    return true;
}
