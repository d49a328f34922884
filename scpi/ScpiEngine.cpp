#include "scpi/ScpiEngine.h"

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"
#include "platform/Exceptions.h"
#include "props/EnumInfo.h"
#include "props/PropertyTable.h"
#include "scpi/ScpiArgs.h"
#include "scpi/ScpiCall.h"
#include "scpi/ScpiDefaults.h"
#include "scpi/ScpiError.h"
#include "scpi/ScpiInstrumentTree.h"
#include "scpi/ScpiMessage.h"
#include "scpi/ScpiText.h"

namespace {

// Bits of the standard event status register.
constexpr uint8_t kEsrOperationComplete = 0x01;
constexpr uint8_t kEsrQueryError = 0x04;
constexpr uint8_t kEsrDeviceError = 0x08;
constexpr uint8_t kEsrExecutionError = 0x10;
constexpr uint8_t kEsrCommandError = 0x20;
// Bits of the status byte.
constexpr uint8_t kStbErrorQueue = 0x04;
constexpr uint8_t kStbEventStatus = 0x20;

uint8_t EsrBitOf(int code) {
    if (code <= -100 && code > -200) return kEsrCommandError;
    if (code <= -200 && code > -300) return kEsrExecutionError;
    if (code <= -300 && code > -400) return kEsrDeviceError;
    if (code <= -400 && code > -500) return kEsrQueryError;
    return 0;
}

}  // namespace

TScpiIdentity ZyPanelScpiIdentity(const std::string& version) {
    return {"ZyPanel", "TAYRA-9", "0", version};
}

TZyGen4Channel* TScpiCall::Channel() const {
    if (channel == 2) return gen.ChB();
    return gen.ChA();
}

// While a message runs, the generator reports to the engine: a rejected value
// becomes an error entry instead of a message box, and a link failure is
// taken from the exception that follows it.
struct TScpiEngine::TEventGuard {
    explicit TEventGuard(TScpiEngine& engine)
        : gen(engine.gen_),
          paramValueError(std::move(gen.OnParamValueError)),
          overModulation(std::move(gen.OnOverModulation)),
          ftError(std::move(gen.OnFTError)) {
        gen.OnParamValueError = [&engine](TZyGen4Channel*, TZyGen4Parameters, double*) {
            engine.rejected_ = true;
        };
        gen.OnOverModulation = [&engine](TZyGen4Channel* ch, double limit) {
            engine.PushError(seSettingsConflict,
                             std::string(ch->IsChannelA() ? "ChA" : "ChB") + ".Amplitude " +
                                 FormatScpiNumber(ch->Amplitude()) +
                                 " is above the overmodulation limit " + FormatScpiNumber(limit));
        };
        gen.OnFTError = nullptr;
    }
    ~TEventGuard() {
        gen.OnParamValueError = std::move(paramValueError);
        gen.OnOverModulation = std::move(overModulation);
        gen.OnFTError = std::move(ftError);
    }
    TEventGuard(const TEventGuard&) = delete;
    TEventGuard& operator=(const TEventGuard&) = delete;

    TZyGen4& gen;
    TZyGen4ParamValueErrorEvent paramValueError;
    TZyGen4OverModulationEvent overModulation;
    TZyGen4NotifyEvent ftError;
};

TScpiEngine::TScpiEngine(TZyGen4& gen, TScpiIdentity identity)
    : gen_(gen), identity_(std::move(identity)) {
    AddInstrumentCommands(tree_);
}

TScpiEngine::~TScpiEngine() = default;

void TScpiEngine::PushError(int code, const std::string& detail) {
    esr_ |= EsrBitOf(code);
    errors_.Push(code, detail);
}

void TScpiEngine::PushCaught() {
    try {
        throw;
    } catch (const TScpiError& e) {
        PushError(e.code, e.detail);
    } catch (const Exception& e) {
        PushError(seHardwareError, e.Message());
    } catch (const std::exception& e) {
        PushError(seExecutionError, e.what());
    }
}

std::string TScpiEngine::Execute(std::string_view message) {
    TEventGuard guard(*this);
    path_.clear();
    opcPending_ = false;
    std::vector<std::string> responses;
    try {
        for (std::string_view unit : SplitScpiMessage(message)) {
            try {
                RunUnit(unit, responses);
            } catch (...) {
                PushCaught();
            }
        }
    } catch (...) {
        PushCaught();
    }
    const bool changed = held_;
    if (held_) {
        try {
            Release();
        } catch (...) {
            PushCaught();
        }
    }
    // Every operation is complete once the message, with its cycle, is done.
    if (opcPending_) esr_ |= kEsrOperationComplete;
    if (changed && AfterChange) AfterChange();
    if (responses.empty()) return {};
    std::string out;
    for (const auto& r : responses) out += (out.empty() ? "" : ";") + r;
    return out + "\n";
}

void TScpiEngine::RunUnit(std::string_view text, std::vector<std::string>& responses) {
    const TScpiUnit unit = ParseScpiUnit(text);
    if (unit.common) {
        std::string response = RunCommon(unit);
        if (unit.query) responses.push_back(std::move(response));
        return;
    }
    const TScpiTree::TMatch match =
        tree_.Resolve(unit.header, unit.fromRoot ? std::vector<TScpiPathNode>() : path_);
    path_ = TScpiTree::PathAfter(match);
    TScpiCall call{*this, gen_, match.suffixes[TScpiTree::kChannelSlot],
                   match.suffixes[TScpiTree::kStepSlot], unit.params};
    if (unit.query) {
        if (!match.command->query) throw TScpiError{seCommandError, "no query form"};
        responses.push_back(match.command->query(call));
    } else {
        if (!match.command->set) throw TScpiError{seCommandError, "query only"};
        match.command->set(call);
    }
}

std::string TScpiEngine::RunCommon(const TScpiUnit& unit) {
    const std::string& name = unit.header.front().name;
    TScpiCall call{*this, gen_, 1, 1, unit.params};
    // Which forms each command has: a setting form, a query form.
    struct TForm {
        const char* name;
        bool set;
        bool query;
    };
    static constexpr TForm kForms[] = {
        {"*IDN", false, true}, {"*RST", true, false}, {"*CLS", true, false},
        {"*OPC", true, true},  {"*WAI", true, false}, {"*ESR", false, true},
        {"*ESE", true, true},  {"*STB", false, true}, {"*TST", false, true},
    };
    const TForm* form = nullptr;
    for (const auto& f : kForms)
        if (name == f.name) form = &f;
    if (!form) throw TScpiError{seUndefinedHeader, name};
    if (unit.query ? !form->query : !form->set)
        throw TScpiError{seCommandError, unit.query ? "no query form" : "query only"};

    if (name == "*ESE" && !unit.query) {
        ExpectParams(call, 1);
        ese_ =
            static_cast<uint8_t>(NumberArg(call, 0, ukNone, {0, 255, [] { return 0.0; }}, "*ESE"));
        return {};
    }
    ExpectParams(call, 0);
    if (name == "*IDN")
        return identity_.maker + "," + identity_.model + "," + identity_.serial + "," +
               identity_.version;
    if (name == "*RST") Reset();
    if (name == "*CLS") {
        errors_.Clear();
        esr_ = 0;
    }
    if (name == "*OPC") {
        if (unit.query) return "1";
        opcPending_ = true;
    }
    if (name == "*ESR") {
        const uint8_t value = esr_;
        esr_ = 0;
        return std::to_string(value);
    }
    if (name == "*ESE") return std::to_string(ese_);
    if (name == "*STB") {
        uint8_t stb = 0;
        if (errors_.Count() > 0) stb |= kStbErrorQueue;
        if (esr_ & ese_) stb |= kStbEventStatus;
        return std::to_string(stb);
    }
    if (name == "*TST") return "0";
    return {};
}

void TScpiEngine::Hold() {
    if (held_) return;
    resumeAutoUpdate_ = gen_.AutoUpdate();
    autoUpdateWritten_ = false;
    held_ = true;
    gen_.SetAutoUpdate(false);
}

void TScpiEngine::Release() {
    held_ = false;
    if (resumeAutoUpdate_) {
        gen_.SetAutoUpdate(true);  // runs the cycle
    } else if (!autoUpdateWritten_) {
        // A host that keeps AutoUpdate off (the window) still gets its cycle
        // per message, as its "Обновить" button does.
        gen_.UpdateMode();
    }
}

bool TScpiEngine::AutoUpdateSetting() const {
    return held_ ? resumeAutoUpdate_ : gen_.AutoUpdate();
}

void TScpiEngine::SetProperty(const std::string& path, const TPropertyValue& value) {
    const TPropertyDef* def = TPropertyTable::Instance().Find(path);
    if (!def) throw TScpiError{seIllegalParameterValue, "no property " + path};
    SetProperty(*def, value);
}

void TScpiEngine::SetProperty(const TPropertyDef& def, const TPropertyValue& value) {
    if (def.ReadOnly()) throw TScpiError{seExecutionError, def.path + " is read-only"};
    Hold();
    auto text = [&def](const TPropertyValue& v) {
        return FormatPropertyValue(def.kind, def.enumInfo, v);
    };
    if (def.path == "AutoUpdate") {
        resumeAutoUpdate_ = value.b;
        autoUpdateWritten_ = true;
        return;
    }
    const TPropertyValue before = def.get(gen_);
    rejected_ = false;
    def.set(gen_, value);
    if (def.path == "Active") {
        if (value.b && !gen_.GetActive())
            throw TScpiError{seHardwareError, "cannot connect to the instrument (" +
                                                  FtStatusInfo().Name(gen_.Status()) + ")"};
        return;
    }
    if (rejected_) throw TScpiError{seDataOutOfRange, def.path + " " + text(value)};
    // Setters drop some values silently (a sweep top below the carrier, a
    // reference clock while the internal one is used); a script must learn it.
    const TPropertyValue now = def.get(gen_);
    if (!now.Equals(def.kind, value))
        throw TScpiError{seIllegalParameterValue,
                         def.path + "=" + text(value) + " was not taken; " + def.path +
                             (now.Equals(def.kind, before) ? " stays " : " is now ") + text(now)};
}

TZyGen4ModesCommon TScpiEngine::ArmedMode(int channel) const {
    const TZyGen4ModesCommon mode = channel == 2 ? gen_.ChB()->Mode() : gen_.ChA()->Mode();
    return mode != ZGMdC_off ? mode : armed_[channel == 2];
}

void TScpiEngine::SelectMode(int channel, TZyGen4ModesCommon mode) {
    Hold();
    TZyGen4Channel* ch = channel == 2 ? static_cast<TZyGen4Channel*>(gen_.ChB())
                                      : static_cast<TZyGen4Channel*>(gen_.ChA());
    if (ch->Mode() == ZGMdC_off) {
        armed_[channel == 2] = mode;
        return;
    }
    TPropertyValue v;
    v.i = mode;
    SetProperty(std::string(channel == 2 ? "ChB" : "ChA") + ".Mode", v);
}

void TScpiEngine::SetOutput(int channel, bool on) {
    Hold();
    TZyGen4Channel* ch = channel == 2 ? static_cast<TZyGen4Channel*>(gen_.ChB())
                                      : static_cast<TZyGen4Channel*>(gen_.ChA());
    const TZyGen4ModesCommon mode = ch->Mode();
    if (on == (mode != ZGMdC_off)) return;
    if (!on) armed_[channel == 2] = mode;
    TPropertyValue v;
    v.i = on ? armed_[channel == 2] : ZGMdC_off;
    SetProperty(std::string(channel == 2 ? "ChB" : "ChA") + ".Mode", v);
}

bool& TScpiEngine::ExternalSource(int channel, TZyGen4AFPModes kind) {
    const int k = kind >= ZGAFPms_freq && kind <= ZGAFPms_phase ? kind : ZGAFPms_freq;
    return external_[channel == 2][k];
}

void TScpiEngine::Reset() {
    Hold();
    TZyGen4FileWriter out;
    ScpiDefaultGenerator().WriteDataToFile(out);
    TZyGen4FileReader in(out.Bytes());
    gen_.ReadDataFromFile(in);
    for (auto& mode : armed_) mode = ZGMdC_gen;
    for (auto& channel : external_)
        for (bool& ext : channel) ext = false;
}

TScpiErrorQueue& TScpiEngine::Errors() {
    return errors_;
}
