#include "scpi/ScpiInstrumentTree.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "props/PropertyTable.h"
#include "scpi/ScpiArgs.h"
#include "scpi/ScpiCall.h"
#include "scpi/ScpiDefaults.h"
#include "scpi/ScpiEngine.h"
#include "scpi/ScpiError.h"
#include "scpi/ScpiText.h"

namespace {

// A property path for a call: '@' stands for the channel ("ChA"), '&' for the
// keying step ("DDSMod.F&" → "DDSMod.F2").
std::string PathFor(const std::string& pattern, const TScpiCall& call) {
    std::string path;
    for (char c : pattern) {
        if (c == '@')
            path += call.ChannelName();
        else if (c == '&')
            path += std::to_string(call.step);
        else
            path += c;
    }
    return path;
}

const TPropertyDef& Def(const std::string& path) {
    const TPropertyDef* def = TPropertyTable::Instance().Find(path);
    if (!def) throw std::logic_error("no property " + path);
    return *def;
}

double AsDouble(const TPropertyDef& def, const TPropertyValue& v) {
    if (def.kind == vkDouble) return v.d;
    if (def.kind == vkBool) return v.b ? 1.0 : 0.0;
    return static_cast<double>(v.i);
}

// The model's value for a number already limited to the setting's range.
TPropertyValue FromDouble(const TPropertyDef& def, double x) {
    TPropertyValue v;
    if (def.kind == vkDouble)
        v.d = x;
    else
        v.i = static_cast<int64_t>(std::nearbyint(x));
    return v;
}

// A numeric setting over a property. The model holds the SCPI value times
// 10^exponent (kHz for Hz: -3).
void Number(TScpiTree& tree, const char* pattern, std::string prop, TScpiUnitKind kind,
            int exponent, double min, double max) {
    auto range = [=](const TScpiCall& call) {
        return TScpiRange{min, max, [prop, exponent, &call] {
                              const TPropertyDef& def = Def(PathFor(prop, call));
                              const double model = AsDouble(def, def.get(ScpiDefaultGenerator()));
                              return ScaleByPow10(model, -exponent);
                          }};
    };
    tree.Add(
        pattern,
        [=](TScpiCall& call) {
            const TPropertyDef& def = Def(PathFor(prop, call));
            ExpectParams(call, 1);
            const double x = NumberArg(call, 0, kind, range(call), def.path, exponent);
            call.engine.SetProperty(def, FromDouble(def, x));
        },
        [=](TScpiCall& call) {
            const TPropertyDef& def = Def(PathFor(prop, call));
            double limit;
            if (NumberQueryLimit(call, range(call), limit)) return FormatScpiNumber(limit);
            return FormatScpiNumber(ScaleByPow10(AsDouble(def, def.get(call.gen)), -exponent));
        });
}

void Bool(TScpiTree& tree, const char* pattern, std::string prop) {
    tree.Add(
        pattern,
        [=](TScpiCall& call) {
            const TPropertyDef& def = Def(PathFor(prop, call));
            ExpectParams(call, 1);
            TPropertyValue v;
            v.b = BoolArg(call, 0, def.path);
            call.engine.SetProperty(def, v);
        },
        [=](TScpiCall& call) {
            ExpectParams(call, 0);
            return std::string(Def(PathFor(prop, call)).get(call.gen).b ? "1" : "0");
        });
}

// A setting with named choices (long forms as written in manuals), each
// standing for one enumerator of the property.
struct TChoice {
    const char* name;
    int32_t value;
};

void Choice(TScpiTree& tree, const char* pattern, std::string prop, std::vector<TChoice> choices) {
    std::vector<const char*> names;
    for (const auto& c : choices) names.push_back(c.name);
    tree.Add(
        pattern,
        [=](TScpiCall& call) {
            const TPropertyDef& def = Def(PathFor(prop, call));
            ExpectParams(call, 1);
            TPropertyValue v;
            v.i = choices[ChoiceArg(call, 0, names, def.path)].value;
            call.engine.SetProperty(def, v);
        },
        [=](TScpiCall& call) {
            ExpectParams(call, 0);
            const int64_t value = Def(PathFor(prop, call)).get(call.gen).i;
            for (const auto& c : choices)
                if (c.value == value) return ChoiceShortForm(c.name);
            return std::to_string(value);
        });
}

// A mode switched on and off by its own STATe: `isOn` tells whether a mode
// (the channel's, or the armed one while the output is off) is this one;
// `select` switches to it. Switching it off leaves the plain carrier.
using TModeTest = std::function<bool(const TScpiCall&, TZyGen4ModesCommon)>;
using TModeSelect = std::function<void(TScpiCall&)>;

void ModeState(TScpiTree& tree, const char* pattern, TModeTest isOn, TModeSelect select) {
    tree.Add(
        pattern,
        [=](TScpiCall& call) {
            ExpectParams(call, 1);
            const bool on = BoolArg(call, 0, call.ChannelName() + ".Mode");
            const bool was = isOn(call, call.engine.ArmedMode(call.channel));
            if (on && !was) select(call);
            if (!on && was) call.engine.SelectMode(call.channel, ZGMdC_gen);
        },
        [=](TScpiCall& call) {
            ExpectParams(call, 0);
            return std::string(isOn(call, call.engine.ArmedMode(call.channel)) ? "1" : "0");
        });
}

bool IsExternal(TZyGen4ModesCommon mode) {
    return mode == ZGMdC_ExtModulation || mode == ZGMdC_ExtModulationA12 ||
           mode == ZGMdC_ExtModulationAB1;
}

TPropertyValue Enum(int32_t value) {
    TPropertyValue v;
    v.i = value;
    return v;
}

// The internal modulation engine, whose limits the AM, FM and PM settings take.
using TIM = TZyGen4IntModulation;

// AM, FM or PM: internal modulation or the external input acting on one
// carrier parameter.
void Modulation(TScpiTree& tree, const std::string& name, TZyGen4AFPModes type) {
    auto isOn = [type](const TScpiCall& call, TZyGen4ModesCommon mode) {
        TZyGen4Channel* ch = call.Channel();
        if (mode == ZGMdC_IntModulation) return ch->IntModulation()->Type() == type;
        return IsExternal(mode) && ch->ExtModulation()->Type() == type;
    };
    // Starts the modulation from the source chosen for it.
    auto start = [type](TScpiCall& call) {
        const bool external = call.engine.ExternalSource(call.channel, type);
        const std::string engine = external ? "@.ExtModulation.Type" : "@.IntModulation.Type";
        call.engine.SetProperty(PathFor(engine, call), Enum(type));
        call.engine.SelectMode(call.channel, external ? ZGMdC_ExtModulation : ZGMdC_IntModulation);
    };
    const std::string base = "[SOURce#:]" + name;
    ModeState(tree, (base + "[:STATe]").c_str(), isOn, start);
    tree.Add((base + ":SOURce").c_str(),
             [=](TScpiCall& call) {
                 ExpectParams(call, 1);
                 const bool external = ChoiceArg(call, 0, {"INTernal", "EXTernal"},
                                                 call.ChannelName() + ".Mode") == 1;
                 bool& remembered = call.engine.ExternalSource(call.channel, type);
                 const TZyGen4ModesCommon mode = call.engine.ArmedMode(call.channel);
                 const bool on = isOn(call, mode);
                 const bool wasExternal = on ? IsExternal(mode) : remembered;
                 remembered = external;
                 if (on && external != wasExternal) start(call);
             },
             [=](TScpiCall& call) {
                 ExpectParams(call, 0);
                 const TZyGen4ModesCommon mode = call.engine.ArmedMode(call.channel);
                 const bool external = isOn(call, mode)
                                           ? IsExternal(mode)
                                           : call.engine.ExternalSource(call.channel, type);
                 return std::string(external ? "EXT" : "INT");
             });
    Choice(tree, (base + ":INTernal:FUNCtion").c_str(), "@.IntModulation.MathFuncType",
           {{"SINusoid", ZMFT_sin}, {"TRIangle", ZMFT_triangle}, {"SQUare", ZMFT_rect}});
    Number(tree, (base + ":INTernal:FREQuency").c_str(), "@.IntModulation.Fm", ukHertz, 0,
           TIM::kFmRange.lo, TIM::kFmRange.hi);
}

void Keying(TScpiTree& tree, const std::string& name, TZyGen4AFPModes type) {
    const std::string base = "[SOURce#:]" + name;
    ModeState(
        tree, (base + "[:STATe]").c_str(),
        [type](const TScpiCall& call, TZyGen4ModesCommon mode) {
            return mode == ZGMdC_DDSMod && call.Channel()->DDSMod()->Type() == type;
        },
        [type](TScpiCall& call) {
            call.engine.SetProperty(PathFor("@.DDSMod.Type", call), Enum(type));
            call.engine.SelectMode(call.channel, ZGMdC_DDSMod);
        });
    Choice(tree, (base + ":MODE").c_str(), "@.DDSMod.Mode",
           {{"BINary", ZGTMs_BxSK}, {"QUATernary", ZGTMs_QxSK}, {"USER", ZGTMs_User}});
    // Hold times in ns.
    Number(tree, (base + ":TIME&").c_str(), "@.DDSMod.T&", ukSecond, 9,
           ScaleByPow10(TZyGen4DDSMod::kTimeRange.lo, -9),
           ScaleByPow10(TZyGen4DDSMod::kTimeRange.hi, -9));
}

// A mode with nothing to choose but on or off.
void PlainMode(TScpiTree& tree, const char* pattern, TZyGen4ModesCommon mode) {
    ModeState(
        tree, pattern, [mode](const TScpiCall&, TZyGen4ModesCommon m) { return m == mode; },
        [mode](TScpiCall& call) { call.engine.SelectMode(call.channel, mode); });
}

void AddOutputAndCarrier(TScpiTree& tree) {
    tree.Add(
        "OUTPut#[:STATe]",
        [](TScpiCall& call) {
            ExpectParams(call, 1);
            call.engine.SetOutput(call.channel, BoolArg(call, 0, call.ChannelName() + ".Mode"));
        },
        [](TScpiCall& call) {
            ExpectParams(call, 0);
            return std::string(call.Channel()->Mode() != ZGMdC_off ? "1" : "0");
        });
    const double maxHz = TZyGen4Channel::kMaxFrequency * 1000.0;
    Number(tree, "[SOURce#:]FREQuency[:CW]", "@.Frequency", ukHertz, -3, 0, maxHz);
    Number(tree, "[SOURce#:]FREQuency:STARt", "@.Frequency", ukHertz, -3, 0, maxHz);
    Number(tree, "[SOURce#:]FREQuency:STOP", "@.LFM.FreqTop", ukHertz, -3, 0, maxHz);
    Number(tree, "[SOURce#:]PHASe[:ADJust]", "@.Phase", ukDegree, 0, 0,
           std::nextafter(TZyGen4Channel::kPhaseLimit, 0.0));

    // The level in dB of full scale; the smallest is one amplitude code step.
    const double minDb = TZyGen4::Conv_AmplTodB(TZyGen4::Conv_CodeToAmpl(0));
    auto power = [minDb](const TScpiCall& call) {
        return TScpiRange{minDb, 0.0, [&call] {
                              return TZyGen4::Conv_AmplTodB(
                                  Def(PathFor("@.Amplitude", call)).get(ScpiDefaultGenerator()).d);
                          }};
    };
    tree.Add(
        "[SOURce#:]POWer[:LEVel][:IMMediate][:AMPLitude]",
        [power](TScpiCall& call) {
            const TPropertyDef& def = Def(PathFor("@.Amplitude", call));
            ExpectParams(call, 1);
            TPropertyValue v;
            v.d = TZyGen4::Conv_AdBToAmpl(NumberArg(call, 0, ukDecibel, power(call), def.path));
            // 0 dB is full scale, not a hair above it.
            if (v.d > TZyGen4Channel::kMaxAmplitude) v.d = TZyGen4Channel::kMaxAmplitude;
            call.engine.SetProperty(def, v);
        },
        [power](TScpiCall& call) {
            double limit;
            if (NumberQueryLimit(call, power(call), limit)) return FormatScpiNumber(limit);
            return FormatScpiNumber(TZyGen4::Conv_AmplTodB(call.Channel()->Amplitude()));
        });
}

void AddModes(TScpiTree& tree) {
    Modulation(tree, "AM", ZGAFPms_ampl);
    Number(tree, "[SOURce#:]AM:DEPTh", "@.IntModulation.dA", ukPercent, 0, TIM::kdARange.lo,
           TIM::kdARange.hi);
    Modulation(tree, "FM", ZGAFPms_freq);
    Number(tree, "[SOURce#:]FM:DEViation", "@.IntModulation.dF", ukHertz, 0, TIM::kdFRange.lo,
           TIM::kdFRange.hi);
    Modulation(tree, "PM", ZGAFPms_phase);
    Number(tree, "[SOURce#:]PM:DEViation", "@.IntModulation.dPh", ukDegree, 0, TIM::kdPhRange.lo,
           TIM::kdPhRange.hi);

    PlainMode(tree, "[SOURce#:]SWEep[:STATe]", ZGMdC_LFM);
    // Sweep times in µs.
    const double minSweep = ScaleByPow10(TZyGen4LFM::kTimeRange.lo, -6);
    const double maxSweep = ScaleByPow10(TZyGen4LFM::kTimeRange.hi, -6);
    Number(tree, "[SOURce#:]SWEep:TIME:RISE", "@.LFM.Tinc0", ukSecond, 6, minSweep, maxSweep);
    Number(tree, "[SOURce#:]SWEep:TIME:HIGH", "@.LFM.Tinc1", ukSecond, 6, minSweep, maxSweep);
    Number(tree, "[SOURce#:]SWEep:TIME:FALL", "@.LFM.Tdec0", ukSecond, 6, minSweep, maxSweep);
    Number(tree, "[SOURce#:]SWEep:TIME:LOW", "@.LFM.Tdec1", ukSecond, 6, minSweep, maxSweep);

    Keying(tree, "FSKey", ZGAFPms_freq);
    Number(tree, "[SOURce#:]FSKey:FREQuency&", "@.DDSMod.F&", ukHertz, -3, 0,
           TZyGen4Channel::kMaxFrequency * 1000.0);
    Keying(tree, "PSKey", ZGAFPms_phase);
    Number(tree, "[SOURce#:]PSKey:PHASe&", "@.DDSMod.Ph&", ukDegree, 0, 0,
           std::nextafter(TZyGen4Channel::kPhaseLimit, 0.0));

    PlainMode(tree, "[SOURce#:]TUNing[:STATe]", ZGMdC_tuning);
    Choice(tree, "[SOURce#:]TUNing:TYPE", "@.Tuner.Type",
           {{"FREQuency", ZGAFPms_freq}, {"POWer", ZGAFPms_ampl}, {"PHASe", ZGAFPms_phase}});
    Number(tree, "[SOURce#:]TUNing:SCALe", "@.Tuner.Scale", ukNone, 0, 0, 255);
    tree.Add("[SOURce#:]TUNing:ADC", nullptr, [](TScpiCall& call) {
        ExpectParams(call, 0);
        if (!call.gen.GetActive()) throw TScpiError{seExecutionError, "not connected"};
        TZyGen4Tuner* tuner = call.Channel()->Tuner();
        tuner->GetADCValue();
        return std::to_string(tuner->ADCValue());
    });
}

void AddSystem(TScpiTree& tree) {
    tree.Add("SYSTem:ERRor[:NEXT]", nullptr, [](TScpiCall& call) {
        ExpectParams(call, 0);
        return call.engine.Errors().Next();
    });
    tree.Add("SYSTem:ERRor:COUNt", nullptr, [](TScpiCall& call) {
        ExpectParams(call, 0);
        return std::to_string(call.engine.Errors().Count());
    });
    tree.Add("SYSTem:VERSion", nullptr, [](TScpiCall& call) {
        ExpectParams(call, 0);
        return std::string("1999.0");
    });
    Bool(tree, "SYSTem:CONNect[:STATe]", "Active");
    Bool(tree, "SYSTem:REFerence:EXTernal[:STATe]", "UseExtRefFreq");
    Number(tree, "SYSTem:REFerence:FREQuency", "RefFreq", ukHertz, -6, 1, 1e9);
    Number(tree, "SYSTem:REFerence:MULTiplier", "FreqScale", ukNone, 0, 0, 255);

    // Every published property by its path, values as zygen4 writes them.
    tree.Add(
        "SYSTem:PROPerty",
        [](TScpiCall& call) {
            ExpectParams(call, 2);
            const std::string path = TextArg(call, 0);
            const TPropertyDef* def = TPropertyTable::Instance().Find(path);
            if (!def) throw TScpiError{seIllegalParameterValue, "no property " + path};
            std::string text = TextArg(call, 1);
            if (def->kind == vkBool) {
                const std::string upper = ScpiUpper(text);
                if (upper == "ON") text = "1";
                if (upper == "OFF") text = "0";
            }
            auto value = ParsePropertyValue(def->kind, def->enumInfo, text);
            if (!value) throw TScpiError{seIllegalParameterValue, path + "=" + text};
            call.engine.SetProperty(*def, *value);
        },
        [](TScpiCall& call) {
            ExpectParams(call, 1);
            const std::string path = TextArg(call, 0);
            const TPropertyDef* def = TPropertyTable::Instance().Find(path);
            if (!def) throw TScpiError{seIllegalParameterValue, "no property " + path};
            TPropertyValue value = def->get(call.gen);
            if (def->path == "AutoUpdate") value.b = call.engine.AutoUpdateSetting();
            return FormatPropertyValue(def->kind, def->enumInfo, value);
        });
}

}  // namespace

void AddInstrumentCommands(TScpiTree& tree) {
    AddOutputAndCarrier(tree);
    AddModes(tree);
    AddSystem(tree);
}
