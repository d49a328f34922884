#include "monitor/ChannelPlot.h"

#include <algorithm>
#include <cmath>

namespace {

using TChannel = TInstrumentState::TChannel;

// The table timer counts this time base from its load value to 65536.
constexpr double kTableClockHz = 88473600.0;
// Keying holds count 20 ns steps, DDS table playback 10 ns steps.
constexpr double kHoldStepS = 20e-9;
constexpr double kPlaybackStepS = 10e-9;
// Span of the flat lines of modes without a time course of their own.
constexpr double kFlatSpanS = 1e-3;

std::string ChannelName(int ch) {
    return ch == 0 ? "A" : "B";
}

// Values of the plotted parameter as the state computes them (Hz, %, degrees).
double CodeValue(const TInstrumentState& s, TInstrumentState::TParam p, uint32_t code) {
    switch (p) {
        case TInstrumentState::prAmpl:
            return TInstrumentState::AmplitudePercent(static_cast<uint16_t>(code));
        case TInstrumentState::prPhase:
            return TInstrumentState::PhaseDegrees(code);
        case TInstrumentState::prFreq:
        case TInstrumentState::prNone:
        default:
            return s.FrequencyHz(code);
    }
}

void SetParamAxis(TChannelPlot& plot, TInstrumentState::TParam p) {
    struct TAxis {
        const char* label;
        const char* unit;
    };
    const TAxis axis = p == TInstrumentState::prAmpl    ? TAxis{"Уровень", "%"}
                       : p == TInstrumentState::prPhase ? TAxis{"Фаза", "°"}
                                                        : TAxis{"Частота", "Гц"};
    // Built, then moved in: g++ 12 misreads assigning a short literal
    // (-Wrestrict).
    plot.yLabel = std::string(axis.label);
    plot.yUnit = std::string(axis.unit);
}

// Times are collected in seconds and values in Hz; the plot is then scaled to
// units that suit its span and size.
void ScaleUnits(TChannelPlot& plot) {
    double span = 0;
    double largest = 0;
    for (const auto& s : plot.series) {
        for (const auto& p : s.points) {
            span = std::max(span, p.x);
            largest = std::max(largest, std::fabs(p.y));
        }
    }
    const double xScale = span < 1e-3 ? 1e6 : span < 1 ? 1e3 : 1;
    plot.xUnit = xScale == 1e6 ? "мкс" : xScale == 1e3 ? "мс" : "с";
    double yScale = 1;
    if (plot.yUnit == "Гц" && largest >= 1e6) {
        yScale = 1e-6;
        plot.yUnit = "МГц";
    } else if (plot.yUnit == "Гц" && largest >= 1e3) {
        yScale = 1e-3;
        plot.yUnit = "кГц";
    }
    for (auto& s : plot.series) {
        for (auto& p : s.points) {
            p.x *= xScale;
            p.y *= yScale;
        }
    }
}

TPlotSeries Flat(const std::string& name, double value) {
    return {name, {{0, value}, {kFlatSpanS, value}}};
}

// A value held from each time to the next: two points a step.
void AddStep(TPlotSeries& series, double& t, double hold, double value) {
    series.points.push_back({t, value});
    t += hold;
    series.points.push_back({t, value});
}

void Carrier(TChannelPlot& plot, const TInstrumentState& s, const TChannel& c, int ch) {
    plot.title = ChannelName(ch) + (c.output ? ": несущая" : ": выход выключен");
    SetParamAxis(plot, TInstrumentState::prFreq);
    plot.series.push_back(Flat(ChannelName(ch), s.FrequencyHz(c.freqCode)));
}

void IntMod(TChannelPlot& plot, const TInstrumentState& s, const TChannel& c, int ch) {
    plot.title = ChannelName(ch) + ": модуляция из таблицы";
    SetParamAxis(plot, c.param);
    // In duplex both channels play channel A's table.
    const TChannel& table = c.intMod == TInstrumentState::imDuplex ? s.ch[0] : c;
    const uint32_t width = c.param == TInstrumentState::prFreq ? 4 : 2;
    const uint32_t end =
        std::min<uint32_t>(table.tableStart + table.tableBytes, TInstrumentState::kTableBytes);
    const uint32_t readings = end > table.tableStart ? (end - table.tableStart) / width : 0;
    const double tick = (65536.0 - c.timerLoad) / kTableClockHz;
    TPlotSeries series{ChannelName(ch), {}};
    for (uint32_t k = 0; k < 2 * readings; ++k) {
        const uint8_t* r = table.tableMemory.data() + table.tableStart + (k % readings) * width;
        uint32_t code = 0;
        for (uint32_t i = 0; i < width; ++i) code = code << 8 | r[i];  // most significant first
        series.points.push_back({k * tick, CodeValue(s, c.param, code)});
    }
    plot.series.push_back(std::move(series));
}

// One period of a channel's sweep, a trapezoid: up over the rise ramp, a stay
// at the top until the rising half ends, down over the fall ramp, a stay at the
// bottom until the falling half ends. The halves are the microcontroller's
// times once sent, else just the ramps.
TPlotSeries SweepPeriod(const TInstrumentState& s, const TChannel& c, int ch) {
    const double bottom = s.FrequencyHz(c.freqCode);
    const double top = s.FrequencyHz(c.freq2Code);
    // Step size over step rate approximates span[kHz] * 2^30 / (time[us] * 1e7).
    const auto seconds = [&](const std::array<uint8_t, 5>& w) {
        const uint32_t rate = TChannel::RampRate(w);
        const uint32_t step = TChannel::RampStep(w);
        if (rate == 0 || step == 0) return 0.0;
        return std::fabs(top - bottom) / 1000.0 * 1073741824.0 * rate / (step * 1e7) * 1e-6;
    };
    const double riseRamp = seconds(c.slotWords[1]);
    const double fallRamp = seconds(c.slotWords[0]);
    // The halves count 2 us units.
    const double riseHalf = c.sweepTimed ? std::max(riseRamp, c.sweepHalfRise * 2e-6) : riseRamp;
    const double fallHalf = c.sweepTimed ? std::max(fallRamp, c.sweepHalfFall * 2e-6) : fallRamp;
    return {ChannelName(ch),
            {{0, bottom},
             {riseRamp, top},
             {riseHalf, top},
             {riseHalf + fallRamp, bottom},
             {riseHalf + fallHalf, bottom}}};
}

void Sweep(TChannelPlot& plot, const TInstrumentState& s, int ch) {
    const int other = 1 - ch;
    const bool both = s.ch[static_cast<std::size_t>(other)].run == TInstrumentState::rnSweep;
    plot.title = ChannelName(ch) + (both ? ": синхронная ЛЧМ" : ": ЛЧМ");
    SetParamAxis(plot, TInstrumentState::prFreq);
    plot.series.push_back(SweepPeriod(s, s.ch[static_cast<std::size_t>(ch)], ch));
    if (both) plot.series.push_back(SweepPeriod(s, s.ch[static_cast<std::size_t>(other)], other));
}

double DdsValue(const TInstrumentState& s, const TChannel& c, uint32_t word) {
    // Phase words carry the 14-bit phase in their top bits.
    return c.param == TInstrumentState::prPhase ? TInstrumentState::PhaseDegrees(word >> 18)
                                                : s.FrequencyHz(word);
}

void Playback(TChannelPlot& plot, const TInstrumentState& s, const TChannel& c, int ch) {
    plot.title = ChannelName(ch) + ": таблица DDS";
    const auto& w = c.slotWords[0];
    const uint32_t first = TChannel::SlotFirst(w);
    const uint32_t last =
        std::min<uint32_t>(TChannel::SlotLast(w), TInstrumentState::kDdsWords - 1);
    const double hold = TChannel::SlotRate(w) * kPlaybackStepS;
    std::vector<uint32_t> order;
    for (uint32_t a = first; a <= last; ++a) order.push_back(a);
    if (w[4] == 0x60)  // there and back
        for (uint32_t a = last + 1; a-- > first;) order.push_back(a);
    TPlotSeries series{ChannelName(ch), {}};
    double t = 0;
    for (int period = 0; period < 2; ++period)
        for (uint32_t a : order) AddStep(series, t, hold, DdsValue(s, c, c.ddsMemory[a]));
    plot.series.push_back(std::move(series));
}

void Keying(TChannelPlot& plot, const TInstrumentState& s, const TChannel& c, int ch) {
    SetParamAxis(plot, c.param);
    if (c.slotWordSet[0] && (c.slotWords[0][4] == 0x60 || c.slotWords[0][4] == 0x80))
        return Playback(plot, s, c, ch);
    plot.title = ChannelName(ch) + ": манипуляция";
    TPlotSeries series{ChannelName(ch), {}};
    double t = 0;
    for (int period = 0; period < 2; ++period) {
        for (std::size_t k = 0; k < c.slotWords.size(); ++k) {
            if (!c.slotWordSet[k]) continue;
            const auto& w = c.slotWords[k];
            const uint32_t address = TChannel::SlotFirst(w);
            if (address >= TInstrumentState::kDdsWords) continue;
            // Timed from outside: every slot gets one unit of the chart.
            const double hold = c.keyExtTimes ? 1e-3 : TChannel::SlotRate(w) * kHoldStepS;
            AddStep(series, t, hold, DdsValue(s, c, c.ddsMemory[address]));
        }
    }
    plot.series.push_back(std::move(series));
}

// Carrier of the tuned or modulated parameter with the range around it.
void Ranged(TChannelPlot& plot, const TInstrumentState& s, const TChannel& c, int ch,
            const std::string& what) {
    plot.title = ChannelName(ch) + ": " + what;
    SetParamAxis(plot, c.param);
    const uint32_t own = c.param == TInstrumentState::prAmpl    ? c.amplCode
                         : c.param == TInstrumentState::prPhase ? c.phaseCode
                                                                : c.freqCode;
    const int64_t centre = c.carrierSet ? c.CarrierCode() : own;
    const int64_t half = TInstrumentState::HalfRangeCodes(c.param, c.scale);
    const auto value = [&](int64_t code) {
        const int64_t top = c.param == TInstrumentState::prFreq ? 0xFFFFFFFFLL : 0x3FFF;
        return CodeValue(s, c.param, static_cast<uint32_t>(std::clamp<int64_t>(code, 0, top)));
    };
    plot.series.push_back(Flat(ChannelName(ch), value(centre)));
    plot.series.push_back(Flat("верх", value(centre + half)));
    plot.series.push_back(Flat("низ", value(centre - half)));
}

void Tuning(TChannelPlot& plot, const TInstrumentState& s, const TChannel& c, int ch,
            std::optional<uint32_t> reading) {
    Ranged(plot, s, c, ch, "подстройка");
    if (!reading) return;
    // Frequency readings are whole codes, amplitude and phase readings 14-bit
    // codes in the upper 16 bits.
    const uint32_t code = c.param == TInstrumentState::prFreq ? *reading : *reading >> 16;
    plot.series.push_back({"отсчёт", {{kFlatSpanS, CodeValue(s, c.param, code)}}});
}

}  // namespace

TChannelPlot ChannelPlot(const TInstrumentState& s, int ch, std::optional<uint32_t> lastReading) {
    TChannelPlot plot;
    const TChannel& c = s.ch[static_cast<std::size_t>(ch)];
    switch (c.run) {
        case TInstrumentState::rnTuning:
            Tuning(plot, s, c, ch, lastReading);
            break;
        case TInstrumentState::rnIntMod:
            IntMod(plot, s, c, ch);
            break;
        case TInstrumentState::rnExtMod:
        case TInstrumentState::rnExtModA12:
        case TInstrumentState::rnExtModAB1:
            Ranged(plot, s, c, ch, "внешняя модуляция");
            break;
        case TInstrumentState::rnSweep:
            Sweep(plot, s, ch);
            break;
        case TInstrumentState::rnKeying:
            Keying(plot, s, c, ch);
            break;
        case TInstrumentState::rnNone:
        default:
            Carrier(plot, s, c, ch);
            break;
    }
    ScaleUnits(plot);
    return plot;
}
