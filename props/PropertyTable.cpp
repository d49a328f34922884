#include "props/PropertyTable.h"

#include <charconv>
#include <type_traits>
#include <utility>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/ZyGen4Options.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "props/EnumInfo.h"

namespace {

// How a C++ property type reads and prints.
template <typename T>
struct TKindOf;
template <>
struct TKindOf<bool> {
    static constexpr TValueKind kind = vkBool;
    static const TEnumInfo* Info() { return nullptr; }
};
template <>
struct TKindOf<int> {
    static constexpr TValueKind kind = vkInt;
    static const TEnumInfo* Info() { return nullptr; }
};
template <>
struct TKindOf<unsigned> {
    static constexpr TValueKind kind = vkUnsigned;
    static const TEnumInfo* Info() { return nullptr; }
};
template <>
struct TKindOf<double> {
    static constexpr TValueKind kind = vkDouble;
    static const TEnumInfo* Info() { return nullptr; }
};
template <typename E, const TEnumInfo& (*InfoFn)()>
struct TEnumKind {
    static constexpr TValueKind kind = vkEnum;
    static const TEnumInfo* Info() { return &InfoFn(); }
};
template <>
struct TKindOf<TZyGen4ModesCommon> : TEnumKind<TZyGen4ModesCommon, ModesCommonInfo> {};
template <>
struct TKindOf<TZyGen4ChNames> : TEnumKind<TZyGen4ChNames, ChNamesInfo> {};
template <>
struct TKindOf<TZyGen4AFPModes> : TEnumKind<TZyGen4AFPModes, AFPModesInfo> {};
template <>
struct TKindOf<TMathFuncsTypes> : TEnumKind<TMathFuncsTypes, MathFuncsTypesInfo> {};
template <>
struct TKindOf<TZyGen4DDSmodModes> : TEnumKind<TZyGen4DDSmodModes, DDSmodModesInfo> {};
template <>
struct TKindOf<FT_STATUS> : TEnumKind<FT_STATUS, FtStatusInfo> {};

template <typename T>
TPropertyValue ToValue(T x) {
    TPropertyValue v;
    if constexpr (std::is_same_v<T, bool>)
        v.b = x;
    else if constexpr (std::is_floating_point_v<T>)
        v.d = x;
    else
        v.i = static_cast<int64_t>(x);
    return v;
}

// Parsing has already limited the value to T's range.
template <typename T>
T FromValue(const TPropertyValue& v) {
    if constexpr (std::is_same_v<T, bool>)
        return v.b;
    else if constexpr (std::is_floating_point_v<T>)
        return v.d;
    else
        return static_cast<T>(v.i);
}

// Collects the entries of one object: `reach` finds the object (of class Obj)
// in a generator, `prefix` is its path with the trailing dot.
template <typename Reach>
class TObjectProps {
  public:
    TObjectProps(std::vector<TPropertyDef>& defs, std::string prefix, Reach reach)
        : defs_(defs), prefix_(std::move(prefix)), reach_(reach) {}

    template <typename Obj, typename T>
    TPropertyDef& RW(const char* name, T (Obj::*get)() const, void (Obj::*set)(T)) {
        TPropertyDef& def = RO(name, get);
        def.set = [reach = reach_, set](TZyGen4& g, const TPropertyValue& v) {
            (reach(g)->*set)(FromValue<T>(v));
        };
        return def;
    }

    template <typename Obj, typename T>
    TPropertyDef& RO(const char* name, T (Obj::*get)() const) {
        defs_.push_back(
            {prefix_ + name,
             TKindOf<T>::kind,
             TKindOf<T>::Info(),
             [reach = reach_, get](TZyGen4& g) { return ToValue<T>((reach(g)->*get)()); },
             nullptr,
             {}});
        return defs_.back();
    }

  private:
    std::vector<TPropertyDef>& defs_;
    std::string prefix_;
    Reach reach_;
};

// A range as --help shows it, "lo..hi", without exponents.
template <typename T>
std::string RangeText(const TRange<T>& range) {
    auto text = [](T v) {
        char buf[32];
        char* end;
        if constexpr (std::is_floating_point_v<T>)
            end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed).ptr;
        else
            end = std::to_chars(buf, buf + sizeof buf, v).ptr;
        return std::string(buf, static_cast<std::size_t>(end - buf));
    };
    return text(range.lo) + ".." + text(range.hi);
}

template <typename Reach>
TObjectProps<Reach> Props(std::vector<TPropertyDef>& defs, std::string prefix, Reach reach) {
    return TObjectProps<Reach>(defs, std::move(prefix), reach);
}

using TChannelOf = TZyGen4Channel* (*)(TZyGen4&);

void AddChannel(std::vector<TPropertyDef>& defs, const std::string& name, TChannelOf chOf) {
    const std::string p = name + ".";
    auto ch = Props(defs, p, chOf);
    ch.RW("Mode", &TZyGen4Channel::Mode, &TZyGen4Channel::SetMode);
    ch.RW("Frequency", &TZyGen4Channel::Frequency, &TZyGen4Channel::Set_sinFrequency);
    ch.RW("Amplitude", &TZyGen4Channel::Amplitude, &TZyGen4Channel::Set_sinAmplitude);
    ch.RW("Phase", &TZyGen4Channel::Phase, &TZyGen4Channel::SetPhase);
    ch.RO("ChannelType", &TZyGen4Channel::ChannelType);

    using TIM = TZyGen4IntModulation;
    auto im =
        Props(defs, p + "IntModulation.", [chOf](TZyGen4& g) { return chOf(g)->IntModulation(); });
    im.RW("Type", &TIM::Type, &TIM::SetType);
    im.RW("Fm", &TIM::Fm, &TIM::SetFm).accepted = RangeText(TIM::kFmRange);
    im.RW("dA", &TIM::dA, &TIM::SetdA).accepted = RangeText(TIM::kdARange);
    im.RW("dF", &TIM::dF, &TIM::SetdF).accepted = RangeText(TIM::kdFRange);
    im.RW("dPh", &TIM::dPh, &TIM::SetdPh).accepted = RangeText(TIM::kdPhRange);
    im.RW("CC", &TIM::GetCC, &TIM::SetCC);
    im.RW("MathFuncType", &TIM::GetMathFuncType, &TIM::SetMathFuncType);
    im.RO("RdsCnt", &TIM::RdsCnt);

    using TEM = TZyGen4ExtModulation;
    auto em =
        Props(defs, p + "ExtModulation.", [chOf](TZyGen4& g) { return chOf(g)->ExtModulation(); });
    em.RW("Type", &TEM::Type, &TEM::SetType);
    em.RW("Scale", &TEM::Scale, &TEM::SetScale);

    using TTu = TZyGen4Tuner;
    auto tu = Props(defs, p + "Tuner.", [chOf](TZyGen4& g) { return chOf(g)->Tuner(); });
    tu.RW("Scale", &TTu::Scale, &TTu::SetScale);
    tu.RW("Type", &TTu::Type, &TTu::SetType);
    tu.RO("ADCValue", &TTu::ADCValue);
    tu.RW("ADCTimerEnabled", &TTu::ADCTimerEnabled, &TTu::SetADCTimerEnabled);
    tu.RW("ADCTimerInterval", &TTu::ADCTimerInterval, &TTu::SetADCTimerInterval).accepted =
        RangeText(TTu::kADCTimerIntervalRange);

    using TL = TZyGen4LFM;
    auto lfm = Props(defs, p + "LFM.", [chOf](TZyGen4& g) { return chOf(g)->LFM(); });
    lfm.RW("FreqTop", &TL::FreqTop, &TL::SetFreqTop);
    lfm.RW("Tinc0", &TL::Tinc0, &TL::SetTinc0).accepted = RangeText(TL::kTimeRange);
    lfm.RW("Tinc1", &TL::Tinc1, &TL::SetTinc1).accepted = RangeText(TL::kTimeRange);
    lfm.RW("Tdec0", &TL::Tdec0, &TL::SetTdec0).accepted = RangeText(TL::kTimeRange);
    lfm.RW("Tdec1", &TL::Tdec1, &TL::SetTdec1).accepted = RangeText(TL::kTimeRange);

    using TD = TZyGen4DDSMod;
    auto dm = Props(defs, p + "DDSMod.", [chOf](TZyGen4& g) { return chOf(g)->DDSMod(); });
    dm.RW("F1", &TD::F1, &TD::SetF1);
    dm.RW("F2", &TD::F2, &TD::SetF2);
    dm.RW("F3", &TD::F3, &TD::SetF3);
    dm.RW("F4", &TD::F4, &TD::SetF4);
    dm.RW("dF", &TD::dF, &TD::Set_dF).accepted = RangeText(TD::kdFRange);
    dm.RW("Ph1", &TD::Ph1, &TD::SetPh1);
    dm.RW("Ph2", &TD::Ph2, &TD::SetPh2);
    dm.RW("Ph3", &TD::Ph3, &TD::SetPh3);
    dm.RW("Ph4", &TD::Ph4, &TD::SetPh4);
    dm.RW("dPh", &TD::dPh, &TD::Set_dPh).accepted = RangeText(TD::kdPhRange);
    dm.RW("T1", &TD::T1, &TD::SetT1).accepted = RangeText(TD::kTimeRange);
    dm.RW("T2", &TD::T2, &TD::SetT2).accepted = RangeText(TD::kTimeRange);
    dm.RW("T3", &TD::T3, &TD::SetT3).accepted = RangeText(TD::kTimeRange);
    dm.RW("T4", &TD::T4, &TD::SetT4).accepted = RangeText(TD::kTimeRange);
    dm.RW("ContBidiRamp", &TD::ContBidiRamp, &TD::SetContBidiRamp);
    dm.RW("Mode", &TD::Mode, &TD::SetMode);
    dm.RW("Type", &TD::Type, &TD::SetType);
    dm.RW("Fm", &TD::Fm, &TD::SetFm).accepted = RangeText(TD::kFmRange);
    dm.RW("MathFuncType", &TD::GetMathFuncType, &TD::SetMathFuncType);
    dm.RW("CC", &TD::GetCC, &TD::SetCC);
    dm.RW("ReadingsCntMin", &TD::ReadingsCntMin, &TD::SetReadingsCntMin).accepted =
        RangeText(TD::kReadingsCntMinRange);
}

}  // namespace

TPropertyTable::TPropertyTable() {
    auto gen = Props(defs_, "", [](TZyGen4& g) { return &g; });
    gen.RW("Active", &TZyGen4::GetActive, &TZyGen4::SetActive);
    gen.RO("Status", &TZyGen4::Status);
    AddChannel(defs_, "ChA", [](TZyGen4& g) -> TZyGen4Channel* { return g.ChA(); });
    AddChannel(defs_, "ChB", [](TZyGen4& g) -> TZyGen4Channel* { return g.ChB(); });

    using TO = TZyGen4Options;
    auto opt = Props(defs_, "Options.", [](TZyGen4& g) { return g.Options(); });
    opt.RW("EnableDuplexIntMod", &TO::EnableDuplexIntMod, &TO::SetEnableDuplexIntMod);
    opt.RW("OverModulationNotify", &TO::OverModulationNotify, &TO::SetOverModulationNotify);

    gen.RW("AutoUpdate", &TZyGen4::AutoUpdate, &TZyGen4::SetAutoUpdate);
    gen.RW("UseExtRefFreq", &TZyGen4::UseExtRefFreq, &TZyGen4::SetUseExtRefFreq);
    gen.RW("RefFreq", &TZyGen4::RefFreq, &TZyGen4::SetRefFreq);
    gen.RW("FreqScale", &TZyGen4::FreqScale, &TZyGen4::SetFreqScale);
}

const TPropertyTable& TPropertyTable::Instance() {
    static const TPropertyTable table;
    return table;
}

const TPropertyDef* TPropertyTable::Find(std::string_view path) const {
    for (const auto& def : defs_)
        if (def.path == path) return &def;
    return nullptr;
}
