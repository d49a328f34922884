#include "ui/LFMShape.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kEditWidth = 58;
constexpr int kMargin = 6;

void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    if (len <= 0.0) return;
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const QPolygonF head({to, to - u * 7 + n * 3.5, to - u * 7 - n * 3.5});
    p.setBrush(p.pen().color());
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}
}  // namespace

TLFMShape::TLFMShape(bool synchronous, QWidget* parent)
    : QWidget(parent), synchronous_(synchronous) {}

QSize TLFMShape::minimumSizeHint() const {
    return synchronous_ ? QSize(280, 170) : QSize(290, 200);
}

TLFMShape::TGeometry TLFMShape::Geometry() const {
    const int editH = fontMetrics().height() + 8;
    TGeometry g{};
    if (synchronous_) {
        g.left = kMargin + 14;
        g.right = width() - kEditWidth - 3 * kMargin - 24;
        g.shift = (height() - 2 * kMargin) / 4;
        g.top = kMargin + 12 + g.shift;
        g.bottom = height() - kMargin - 14;
        g.timeRow = height();
    } else {
        g.left = kEditWidth + 2 * kMargin;
        g.right = width() - kMargin - 8;
        g.timeRow = height() - 2 * editH - kMargin;
        g.top = kMargin + editH / 2 + 8;
        g.bottom = g.timeRow - editH / 2 - kMargin;
        g.shift = 0;
    }
    return g;
}

void TLFMShape::Place(QWidget* w, TSpot spot) {
    placed_[spot] = w;
    Arrange();
}

void TLFMShape::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void TLFMShape::Arrange() {
    const TGeometry g = Geometry();
    const int quarter = (g.right - g.left) / 4;
    const int editH = fontMetrics().height() + 8;
    for (int s = 0; s < spCount; ++s) {
        QWidget* w = placed_[s];
        if (!w) continue;
        const int h = w->sizeHint().height();
        auto under = [&](int segment, int width) {
            const int cx = g.left + quarter * segment + quarter / 2;
            return QRect(cx - width / 2, g.timeRow, width, h);
        };
        QRect r;
        switch (s) {
            case spFreqTop:
                r = QRect(kMargin, g.top - h / 2, kEditWidth, h);
                break;
            case spFreqBot:
                r = QRect(kMargin, g.bottom - h / 2, kEditWidth, h);
                break;
            case spFreqLabel:
                r = QRect(kMargin, (g.top + g.bottom) / 2 - h / 2, kEditWidth, h);
                break;
            case spRise:
            case spTopDwell:
            case spFall:
            case spBotDwell:
                r = under(s - spRise, std::min(kEditWidth, quarter - 4));
                break;
            case spTimeLabel:
                r = QRect(g.left, g.timeRow + editH + 2, g.right - g.left, h);
                break;
            case spDeltaLabel:
                r = QRect(g.right + 3 * kMargin + 10, g.top - g.shift / 2 - h - 2, kEditWidth + 20,
                          h);
                break;
            case spDeltaEdit:
                r = QRect(g.right + 3 * kMargin + 10, g.top - g.shift / 2 + 2, kEditWidth, h);
                break;
            default:
                break;
        }
        w->setGeometry(r);
    }
}

void TLFMShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const TGeometry g = Geometry();
    const int quarter = (g.right - g.left) / 4;
    const QColor ink = palette().color(QPalette::WindowText);
    const QColor shape = palette().color(QPalette::Highlight);

    // Axes: frequency up, time to the right.
    p.setPen(QPen(ink, 1));
    const int axisX = g.left - 4;
    const int axisY = g.bottom + 8;
    Arrow(p, QPointF(axisX, axisY), QPointF(axisX, kMargin));
    Arrow(p, QPointF(axisX, axisY), QPointF(g.right + 8, axisY));
    p.drawText(QPointF(axisX + 4, kMargin + 9), QStringLiteral("F"));
    // The time letter sits past the end of the shape, clear of the arrow head.
    p.drawText(QPointF(g.right + 2, axisY - 6), QStringLiteral("t"));

    auto trapezoid = [&](int dy) {
        QPainterPath path;
        path.moveTo(g.left, g.bottom - dy);
        path.lineTo(g.left + quarter, g.top - dy);
        path.lineTo(g.left + 2 * quarter, g.top - dy);
        path.lineTo(g.left + 3 * quarter, g.bottom - dy);
        path.lineTo(g.left + 4 * quarter, g.bottom - dy);
        return path;
    };

    // Dashed guides: frequency levels to the axis, segment bounds down to it.
    p.setPen(QPen(ink, 1, Qt::DashLine));
    if (!synchronous_) {
        p.drawLine(axisX, g.top, g.left + quarter, g.top);
        for (int k = 1; k <= 3; ++k) {
            const int y = (k == 3) ? g.bottom : g.top;
            p.drawLine(g.left + k * quarter, y, g.left + k * quarter, axisY);
        }
    } else {
        const int x = g.right + 8;
        p.drawLine(g.left + 2 * quarter, g.top, x, g.top);
        p.drawLine(g.left + 2 * quarter, g.top - g.shift, x, g.top - g.shift);
    }

    p.setPen(QPen(shape, 2));
    p.drawPath(trapezoid(0));
    if (synchronous_) {
        p.setPen(QPen(shape.darker(140), 2));
        p.drawPath(trapezoid(g.shift));
        // The offset of channel B's sweep above channel A's.
        p.setPen(QPen(ink, 1));
        const int x = g.right + 4;
        Arrow(p, QPointF(x, g.top), QPointF(x, g.top - g.shift));
        Arrow(p, QPointF(x, g.top - g.shift), QPointF(x, g.top));
    }
}
