#include "monitorui/ChannelChart.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

QString Title(const std::string& label, const std::string& unit) {
    return QString::fromStdString(label) + QStringLiteral(", ") + QString::fromStdString(unit);
}

// The chart's axis on `side`, made once and reused: axes removed from a chart
// leave their labels drawn behind.
QValueAxis* Axis(QChart* chart, Qt::Alignment side) {
    const auto existing = chart->axes(side == Qt::AlignBottom ? Qt::Horizontal : Qt::Vertical);
    if (!existing.isEmpty()) return static_cast<QValueAxis*>(existing.first());
    auto* axis = new QValueAxis;
    chart->addAxis(axis, side);
    return axis;
}

// `fromZero`: the axis starts where the data starts (time), without margin.
void SetAxis(QValueAxis* axis, const QString& title, double low, double high, bool fromZero) {
    axis->setTitleText(title);
    // A flat line still gets a readable span around its value.
    const double pad = high - low < 1e-9 * std::max(1.0, std::fabs(high))
                           ? std::max(std::fabs(high) * 1e-3, 1e-3)
                           : (high - low) * 0.05;
    axis->setRange(fromZero ? low : low - pad, high + pad);
    axis->applyNiceNumbers();
    if (fromZero) axis->setMin(low);
}

}  // namespace

void ShowChannelPlot(QChart* chart, const TChannelPlot& plot, const QColor& own,
                     const QColor& other) {
    chart->removeAllSeries();
    chart->setTitle(QString::fromStdString(plot.title));

    double xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;
    bool any = false;
    std::vector<QXYSeries*> added;
    for (std::size_t i = 0; i < plot.series.size(); ++i) {
        const TPlotSeries& s = plot.series[i];
        const bool range = s.name == "верх" || s.name == "низ";
        const bool reading = s.points.size() == 1;
        QXYSeries* series = nullptr;
        if (reading) {
            auto* dots = new QScatterSeries;
            dots->setMarkerSize(9);
            series = dots;
        } else {
            series = new QLineSeries;
        }
        series->setName(QString::fromStdString(s.name));
        const bool otherChannel = i > 0 && !range && !reading;
        QPen pen(otherChannel ? other : own);
        pen.setWidthF(range ? 1.0 : 2.0);
        if (range) pen.setStyle(Qt::DashLine);
        series->setPen(pen);
        if (reading) series->setColor(own.darker(150));
        for (const TPlotPoint& p : s.points) {
            series->append(p.x, p.y);
            xLow = any ? std::min(xLow, p.x) : p.x;
            xHigh = any ? std::max(xHigh, p.x) : p.x;
            yLow = any ? std::min(yLow, p.y) : p.y;
            yHigh = any ? std::max(yHigh, p.y) : p.y;
            any = true;
        }
        chart->addSeries(series);
        added.push_back(series);
    }
    QValueAxis* xAxis = Axis(chart, Qt::AlignBottom);
    QValueAxis* yAxis = Axis(chart, Qt::AlignLeft);
    SetAxis(xAxis, Title("Время", plot.xUnit), xLow, xHigh, true);
    SetAxis(yAxis, Title(plot.yLabel, plot.yUnit), yLow, yHigh, false);
    for (QXYSeries* series : added) {
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    }
}
