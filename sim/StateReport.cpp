#include "sim/StateReport.h"

#include <charconv>
#include <cmath>

namespace {

using TChannel = TInstrumentState::TChannel;

// Shortest round-trip text, or fixed with `decimals` when given.
std::string Num(double v, int decimals = -1) {
    if (!std::isfinite(v)) return "nan";
    char text[64];
    const auto r = decimals < 0 ? std::to_chars(text, text + sizeof text, v)
                                : std::to_chars(text, text + sizeof text, v,
                                                std::chars_format::fixed, decimals);
    return std::string(text, r.ptr);
}

class TLines {
  public:
    explicit TLines(std::vector<std::string>& out) : out_(out) {}
    void Add(const std::string& key, const std::string& value) {
        out_.push_back(key + "=" + value);
    }
    void Add(const std::string& key, double value, int decimals = -1) {
        Add(key, Num(value, decimals));
    }
    void Add(const std::string& key, uint64_t value) { Add(key, std::to_string(value)); }
    void Add(const std::string& key, uint32_t value) { Add(key, std::to_string(value)); }
    void Add(const std::string& key, int value) { Add(key, std::to_string(value)); }
    void Add(const std::string& key, bool value) { Add(key, value ? "1" : "0"); }
    void Add(const std::string& key, const char* value) { Add(key, std::string(value)); }

  private:
    std::vector<std::string>& out_;
};

const char* IntModVariantName(TInstrumentState::TIntModVariant v) {
    switch (v) {
        case TInstrumentState::imSingle:
            return "single";
        case TInstrumentState::imArmed:
            return "armed";
        case TInstrumentState::imDouble:
            return "double";
        case TInstrumentState::imDuplex:
            return "duplex";
        case TInstrumentState::imStopped:
        default:
            return "stopped";
    }
}

const char* KeyingKind(const TChannel& c) {
    const uint32_t cycling = c.controlWord >> 24 & 0x30;
    const bool quad = c.slotWordSet[2] || c.slotWordSet[3];
    if (cycling == 0x20) return "bxsk";
    if (cycling == 0x30) return "qxsk";
    if (c.keyExtTimes) return quad ? "qxsk" : "bxsk";
    if (c.slotWordSet[0] && (c.slotWords[0][4] == 0x60 || c.slotWords[0][4] == 0x80)) return "user";
    return "setup";
}

void Carrier(TLines& out, const std::string& p, const TChannel& c) {
    out.Add(p + "carrier_code", c.CarrierCode());
}

void IntMod(TLines& out, const std::string& p, const TChannel& c, const TChannel& a) {
    out.Add(p + "intmod.variant", IntModVariantName(c.intMod));
    out.Add(p + "intmod.param", TInstrumentState::ParamName(c.param));
    out.Add(p + "intmod.timer_load", static_cast<uint32_t>(c.timerLoad));
    // In duplex both channels play channel A's table.
    const TChannel& table = c.intMod == TInstrumentState::imDuplex ? a : c;
    out.Add(p + "intmod.table_start", table.tableStart);
    out.Add(p + "intmod.table_bytes", table.tableBytes);
    const uint32_t width = c.param == TInstrumentState::prFreq ? 4 : 2;
    const uint32_t readings = table.tableBytes / width;
    out.Add(p + "intmod.readings", readings);
    if (readings > 0) {
        // The table timer counts a 88.4736 MHz time base from the load value to 65536.
        const double ticks = 65536.0 - c.timerLoad;
        out.Add(p + "intmod.fm_hz", 88473600.0 / (ticks * readings), 3);
    }
}

void Sweep(TLines& out, const std::string& p, const TInstrumentState& s, const TChannel& c) {
    const double bottom = s.FrequencyHz(c.freqCode);
    const double top = s.FrequencyHz(c.freq2Code);
    out.Add(p + "lfm.top_code", c.freq2Code);
    out.Add(p + "lfm.top_hz", top, 3);
    const auto ramp = [&](const char* name, const std::array<uint8_t, 5>& word) {
        const uint32_t rate = TChannel::RampRate(word);
        const uint32_t step = TChannel::RampStep(word);
        out.Add(p + "lfm." + name + "_rate", rate);
        out.Add(p + "lfm." + name + "_step", step);
        // Step size over step rate approximates span[kHz] * 2^30 / (time[us] * 1e7).
        if (step > 0 && rate > 0) {
            const double us = (top - bottom) / 1000.0 * 1073741824.0 * rate / (step * 1e7);
            out.Add(p + "lfm." + name + "_us", us, 3);
        }
    };
    ramp("rise", c.slotWords[1]);
    ramp("fall", c.slotWords[0]);
    if (c.sweepTimed) {
        out.Add(p + "lfm.rise_half_us", static_cast<uint64_t>(c.sweepHalfRise) * 2);
        out.Add(p + "lfm.fall_half_us", static_cast<uint64_t>(c.sweepHalfFall) * 2);
    }
    out.Add(p + "lfm.started", c.sweepStarted);
}

void Keying(TLines& out, const std::string& p, const TInstrumentState& s, const TChannel& c) {
    const std::string kind = KeyingKind(c);
    out.Add(p + "keying.kind", kind);
    out.Add(p + "keying.param", TInstrumentState::ParamName(c.param));
    out.Add(p + "keying.ext_times", c.keyExtTimes);
    const auto value = [&](uint32_t word) {
        return c.param == TInstrumentState::prPhase
                   ? Num(TInstrumentState::PhaseDegrees(word >> 18))
                   : Num(s.FrequencyHz(word), 3);
    };
    if (kind == "user") {
        const auto& w = c.slotWords[0];
        const uint32_t first = TChannel::SlotFirst(w);
        const uint32_t last = TChannel::SlotLast(w);
        const uint32_t readings = last >= first ? last - first + 1 : 0;
        const uint32_t tau = TChannel::SlotRate(w);
        const bool bidi = w[4] == 0x60;
        out.Add(p + "user.readings", readings);
        out.Add(p + "user.tau", tau);
        out.Add(p + "user.playback", bidi ? "bidi" : "wrap");
        out.Add(p + "user.table_bytes", c.ddsBytes);
        if (readings > 0 && tau > 0)
            out.Add(p + "user.fm_hz", 1e8 / ((bidi ? 2.0 : 1.0) * readings * tau), 3);
        return;
    }
    for (std::size_t k = 0; k < 4; ++k) {
        if (!c.slotWordSet[k]) continue;
        const std::string slot = p + "keying.slot" + std::to_string(k);
        const auto& w = c.slotWords[k];
        // The hold rate counts 20 ns steps.
        out.Add(slot + ".hold_ns", static_cast<uint64_t>(TChannel::SlotRate(w)) * 20);
        const uint32_t first = TChannel::SlotFirst(w);
        if (first < TInstrumentState::kDdsWords)
            out.Add(slot + ".value", value(c.ddsMemory[first]));
    }
}

void Channel(TLines& out, const std::string& name, const TInstrumentState& s, const TChannel& c) {
    const std::string p = name + ".";
    out.Add(p + "output", c.output);
    out.Add(p + "mode", TInstrumentState::ModeName(c));
    out.Add(p + "frequency_code", c.freqCode);
    out.Add(p + "frequency_hz", s.FrequencyHz(c.freqCode), 3);
    out.Add(p + "amplitude_code", static_cast<uint32_t>(c.amplCode));
    out.Add(p + "amplitude_percent", TInstrumentState::AmplitudePercent(c.amplCode), 3);
    out.Add(p + "phase_code", static_cast<uint32_t>(c.phaseCode));
    out.Add(p + "phase_deg", TInstrumentState::PhaseDegrees(c.phaseCode), 3);
    switch (c.run) {
        case TInstrumentState::rnTuning:
            out.Add(p + "tune.param", TInstrumentState::ParamName(c.param));
            out.Add(p + "tune.scale", c.scale);
            Carrier(out, p, c);
            break;
        case TInstrumentState::rnIntMod:
            IntMod(out, p, c, s.ch[0]);
            break;
        case TInstrumentState::rnExtMod:
        case TInstrumentState::rnExtModA12:
        case TInstrumentState::rnExtModAB1:
            out.Add(p + "extmod.param", TInstrumentState::ParamName(c.param));
            out.Add(p + "extmod.scale", c.scale);
            if (c.run == TInstrumentState::rnExtModA12)
                out.Add(p + "extmod.other_scale", c.otherScale);
            if (c.carrierSet) Carrier(out, p, c);
            break;
        case TInstrumentState::rnSweep:
            Sweep(out, p, s, c);
            break;
        case TInstrumentState::rnKeying:
            Keying(out, p, s, c);
            break;
        case TInstrumentState::rnNone:
        default:
            break;
    }
}

}  // namespace

std::vector<std::string> StateReportLines(const TInstrumentState& state,
                                          std::size_t protocolErrors) {
    std::vector<std::string> lines;
    TLines out(lines);
    out.Add("clock_mhz", state.ClockMHz());
    out.Add("clock_reference", state.externalClock ? "external" : "internal");
    out.Add("clock_multiplier",
            state.externalClock ? state.multiplier : TInstrumentState::kDefaultMultiplier);
    out.Add("protocol_errors", static_cast<uint64_t>(protocolErrors));
    Channel(out, "A", state, state.ch[0]);
    Channel(out, "B", state, state.ch[1]);
    return lines;
}
