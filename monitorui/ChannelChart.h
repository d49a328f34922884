#pragma once

#include <QColor>

#include "monitor/ChannelPlot.h"

class QChart;

// Draws a channel's plot on a chart: its own series in the channel's colour,
// the range lines dashed in the same colour, the other channel's series in
// that channel's colour, axes titled with their units.
void ShowChannelPlot(QChart* chart, const TChannelPlot& plot, const QColor& own,
                     const QColor& other);
