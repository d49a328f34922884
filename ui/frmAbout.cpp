#include "ui/frmAbout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
QFont DesignFont(const QString& family, int points, bool bold) {
    QFont font;
    // The design's face first; fontconfig substitutes what the system has.
    font.setFamilies({family, QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setFont(font);
    label->setFrameShape(QFrame::NoFrame);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
}  // namespace

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе Модуль управления УДГ Тайра-9"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8, false));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(InstrumentPicture());
    Image1->setFixedSize(Image1->pixmap().size());

    cxLabel1 =
        MakeLabel(this, "cxLabel1", QStringLiteral("Универсальный Двухканальный Генератор Тайра-9"),
                  DesignFont(QStringLiteral("Verdana"), 12, true));
    cxLabel2 = MakeLabel(this, "cxLabel2", QStringLiteral("Модуль управления"),
                         DesignFont(QStringLiteral("Verdana"), 10, true));
    cxLabel3 = MakeLabel(this, "cxLabel3", QStringLiteral("Версия 1.0.2.20 (Spec. Ed.)"), font());
    // One line: the web address is on the "Справка" menu.
    cxLabel4 = MakeLabel(this, "cxLabel4", QStringLiteral("© Разработчики ZyPanel"), font());

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setMinimumSize(75, 25);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    // Picture on the left, the texts on its right (the version lines set in a
    // little), the button under the texts.
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    cxLabel1->setMinimumWidth(257);
    texts->addWidget(cxLabel1);
    texts->addWidget(cxLabel2);
    texts->addSpacing(6);
    auto* version = new QVBoxLayout;
    version->setContentsMargins(8, 0, 0, 0);
    version->setSpacing(0);
    version->addWidget(cxLabel3);
    version->addWidget(cxLabel4);
    texts->addLayout(version);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addSpacing(Image1->width() + 10);
    buttons->addWidget(btnOK);
    buttons->addStretch(1);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 15);
    root->addLayout(top, 1);
    root->addLayout(buttons);

    const QSize hint = sizeHint();
    setFixedSize(std::max(442, hint.width()), std::max(256, hint.height()));
}

QPixmap TfrmAbout::InstrumentPicture() {
    QPixmap pixmap(150, 104);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // Case with a slight shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRoundedRect(QRectF(4, 10, 145, 92), 6, 6);
    QLinearGradient body(0, 6, 0, 98);
    body.setColorAt(0, QColor(0xE8, 0xEA, 0xEE));
    body.setColorAt(1, QColor(0xA8, 0xAE, 0xB8));
    p.setPen(QPen(QColor(0x50, 0x55, 0x60), 1.2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1, 6, 144, 92), 6, 6);

    // Front panel.
    p.setBrush(QColor(0x3A, 0x40, 0x4C));
    p.setPen(QPen(QColor(0x20, 0x24, 0x2C), 1));
    p.drawRoundedRect(QRectF(7, 12, 132, 80), 3, 3);

    // Display with two traces: channel A's sine and channel B's sine.
    const QRectF screen(13, 18, 72, 40);
    p.setBrush(QColor(0x10, 0x30, 0x28));
    p.setPen(QPen(QColor(0x80, 0x90, 0x90), 1));
    p.drawRect(screen);
    p.setPen(QPen(QColor(0x30, 0x55, 0x48), 0.6));
    for (int i = 1; i < 4; ++i) {
        const double x = screen.left() + screen.width() * i / 4;
        p.drawLine(QPointF(x, screen.top() + 1), QPointF(x, screen.bottom() - 1));
    }
    p.drawLine(QPointF(screen.left() + 1, screen.center().y()),
               QPointF(screen.right() - 1, screen.center().y()));
    const auto trace = [&](double amplitude, double cycles, double phase, const QColor& color) {
        QPainterPath path;
        for (int i = 0; i <= 68; ++i) {
            const double x = screen.left() + 2 + i;
            const double y =
                screen.center().y() - amplitude * std::sin(2 * M_PI * cycles * i / 68.0 + phase);
            if (i == 0)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        p.setPen(QPen(color, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    };
    trace(14, 2, 0, QColor(0xFF, 0x90, 0x90));
    trace(8, 3, 1.0, QColor(0x90, 0xB0, 0xFF));

    // Keypad beside the display.
    p.setPen(QPen(QColor(0x18, 0x1A, 0x20), 0.8));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            p.setBrush(row == 0 && col == 2 ? QColor(0x40, 0xA0, 0x50) : QColor(0xC8, 0xCC, 0xD4));
            p.drawRoundedRect(QRectF(92 + col * 14, 19 + row * 11, 11, 8), 1.5, 1.5);
        }
    }

    // Tuning knob.
    QRadialGradient knob(QPointF(120, 72), 12, QPointF(116, 68));
    knob.setColorAt(0, QColor(0xE0, 0xE0, 0xE0));
    knob.setColorAt(1, QColor(0x60, 0x64, 0x6C));
    p.setBrush(knob);
    p.setPen(QPen(QColor(0x18, 0x1A, 0x20), 1));
    p.drawEllipse(QPointF(120, 72), 11, 11);
    p.drawLine(QPointF(120, 72), QPointF(126, 64));

    // Two output sockets, A and B.
    const auto socket = [&](double x, const QString& name) {
        p.setBrush(QColor(0xD8, 0xB0, 0x40));
        p.setPen(QPen(QColor(0x60, 0x48, 0x10), 1));
        p.drawEllipse(QPointF(x, 76), 7, 7);
        p.setBrush(QColor(0x20, 0x20, 0x20));
        p.drawEllipse(QPointF(x, 76), 2.5, 2.5);
        QFont font;
        font.setPixelSize(8);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0xE0, 0xE4, 0xEA));
        p.drawText(QRectF(x - 10, 62, 20, 8), Qt::AlignCenter, name);
    };
    socket(28, QStringLiteral("A"));
    socket(58, QStringLiteral("B"));

    // Power indicator.
    p.setBrush(QColor(0x40, 0xE0, 0x60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(90, 84), 2.2, 2.2);
    return pixmap;
}
