#include "ui/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// Two plug halves; joined for "connect", apart with a gap for "disconnect".
void DrawPlug(QPainter& p, bool joined) {
    const QColor body = joined ? QColor(0, 128, 0) : QColor(176, 0, 0);
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    const double gap = joined ? 0.0 : 3.0;
    // left half: the socket with its cable
    p.setBrush(body);
    p.drawRoundedRect(QRectF(3.0 - gap / 2, 6.0, 5.0, 6.0), 1.0, 1.0);
    p.drawLine(QPointF(0.5, 9.0), QPointF(3.0 - gap / 2, 9.0));
    // right half: the plug with two pins and its cable
    p.drawRoundedRect(QRectF(10.0 + gap / 2, 6.0, 5.0, 6.0), 1.0, 1.0);
    p.drawLine(QPointF(15.0 + gap / 2, 9.0), QPointF(17.5, 9.0));
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.drawLine(QPointF(8.0 + gap / 2, 7.5), QPointF(10.0 + gap / 2, 7.5));
    p.drawLine(QPointF(8.0 + gap / 2, 10.5), QPointF(10.0 + gap / 2, 10.5));
}

void DrawOptions(QPainter& p) {
    // a gear: a toothed ring around a hole
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 90, 130));
    const QPointF c(9.0, 9.0);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45.0);
        p.drawRect(QRectF(-1.5, -8.5, 3.0, 4.0));
        p.restore();
    }
    p.drawEllipse(c, 5.5, 5.5);
    p.setBrush(QColor(230, 230, 230));
    p.drawEllipse(c, 2.2, 2.2);
}

void DrawUpdate(QPainter& p) {
    // two arrows chasing each other round a circle
    QPen pen(QColor(0, 96, 192), 2.0);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF r(3.0, 3.0, 12.0, 12.0);
    p.drawArc(r, 30 * 16, 130 * 16);
    p.drawArc(r, 210 * 16, 130 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 96, 192));
    QPainterPath a;
    a.moveTo(1.0, 7.0);
    a.lineTo(6.5, 7.0);
    a.lineTo(3.0, 11.5);
    a.closeSubpath();
    p.drawPath(a);
    QPainterPath b;
    b.moveTo(17.0, 11.0);
    b.lineTo(11.5, 11.0);
    b.lineTo(15.0, 6.5);
    b.closeSubpath();
    p.drawPath(b);
}

}  // namespace

QPixmap ZyImage(TZyImage image, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 18.0, size / 18.0);
    switch (image) {
        case zimConnect:
            DrawPlug(p, true);
            break;
        case zimDisconnect:
            DrawPlug(p, false);
            break;
        case zimOptions:
            DrawOptions(p);
            break;
        case zimUpdate:
            DrawUpdate(p);
            break;
        default:
            break;
    }
    return pixmap;
}

QIcon ZyIcon(TZyImage image) {
    QIcon icon;
    icon.addPixmap(ZyImage(image, 18));
    icon.addPixmap(ZyImage(image, 36));
    return icon;
}

QPixmap ZyLogo(QSize size) {
    // A sine wave over a rounded plate with the letters "Т9".
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(1.0, 1.0, size.width() - 2.0, size.height() - 2.0);
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0.0, QColor(40, 70, 120));
    g.setColorAt(1.0, QColor(20, 35, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(plate, 5.0, 5.0);
    QPainterPath wave;
    const double w = plate.width() * 0.55;
    const double mid = plate.center().y();
    const double amp = plate.height() * 0.28;
    for (int i = 0; i <= 60; ++i) {
        const double x = plate.left() + 6.0 + w * i / 60.0;
        const double y = mid - amp * std::sin(i / 60.0 * 2.0 * 3.14159265358979 * 2.0);
        if (i == 0)
            wave.moveTo(x, y);
        else
            wave.lineTo(x, y);
    }
    p.setPen(QPen(QColor(255, 200, 60), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    QFont font;
    font.setBold(true);
    font.setPixelSize(static_cast<int>(plate.height() * 0.6));
    p.setFont(font);
    p.setPen(Qt::white);
    QRectF text = plate;
    text.setLeft(plate.left() + w + 8.0);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Т9"));
    return pixmap;
}
