#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/InstrumentState.h"

// What a channel was told to output, over time, as data for a chart: computed
// from the decoded instrument state alone, in physical units.
struct TPlotPoint {
    double x = 0;
    double y = 0;
};

struct TPlotSeries {
    std::string name;  // legend text
    std::vector<TPlotPoint> points;
};

struct TChannelPlot {
    std::string title;   // "A: ЛЧМ"
    std::string xUnit;   // "мкс", "мс", "с"
    std::string yLabel;  // "Частота", "Уровень", "Фаза"
    std::string yUnit;   // "Гц", "кГц", "МГц", "%", "°"
    std::vector<TPlotSeries> series;
};

// Channel `ch` (0 = A, 1 = B). The carrier is a flat line; table modulation
// plays the uploaded table over two periods; a sweep runs over one period,
// with the other channel's sweep beside it when both sweep; keying steps
// through its slots twice with their hold times; tuning and external
// modulation show the carrier with the range around it (and tuning the last
// reading, `lastReading` as the ADC answered it).
TChannelPlot ChannelPlot(const TInstrumentState& state, int ch,
                         std::optional<uint32_t> lastReading = std::nullopt);
