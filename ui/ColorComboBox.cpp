#include "ui/ColorComboBox.h"

#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QToolButton>

#include "ui/ColorValue.h"

namespace {
// Colour numbers of the HTML 4 colours (0x00BBGGRR): black, maroon, green,
// olive, navy, purple, teal, grey, silver, red, lime, yellow, blue, fuchsia,
// aqua, white.
constexpr int32_t kBasicColors[] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

QIcon Swatch(const QColor& color, const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setBrush(color);
    painter.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    return QIcon(pixmap);
}
}  // namespace

TColorComboBox::TColorComboBox(QWidget* parent)
    : QWidget(parent), cmbBox_(new QComboBox(this)), btnDialog_(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    cmbBox_->setIconSize(QSize(64, 12));
    cmbBox_->setMinimumWidth(100);
    layout->addWidget(cmbBox_, 1);
    btnDialog_->setText(QStringLiteral("…"));
    btnDialog_->setToolTip(QStringLiteral("Другой цвет"));
    layout->addWidget(btnDialog_);
    setFocusProxy(cmbBox_);

    for (int32_t value : kBasicColors) AddItem(value);
    basicCount_ = cmbBox_->count();
    cmbBox_->setCurrentIndex(0);

    connect(btnDialog_, &QToolButton::clicked, this, &TColorComboBox::ChooseFromDialog);
}

QColor TColorComboBox::ToQColor(int32_t value) {
    // A system colour is shown with the palette's window colour.
    return ColorFromValue(value, QPalette().color(QPalette::Window));
}

int32_t TColorComboBox::FromQColor(const QColor& color) {
    return ColorToValue(color.toRgb());
}

int32_t TColorComboBox::ColorValue() const {
    const int index = cmbBox_->currentIndex();
    if (index < 0) return 0;
    return cmbBox_->itemData(index).toInt();
}

void TColorComboBox::SetColorValue(int32_t value) {
    int index = IndexOfValue(value);
    if (index < 0) {
        // Only one colour outside the basic list is kept at a time: the one
        // shown now.
        while (cmbBox_->count() > basicCount_) cmbBox_->removeItem(cmbBox_->count() - 1);
        AddItem(value);
        index = cmbBox_->count() - 1;
    }
    cmbBox_->setCurrentIndex(index);
}

int TColorComboBox::IndexOfValue(int32_t value) const {
    for (int i = 0; i < cmbBox_->count(); ++i) {
        if (cmbBox_->itemData(i).toInt() == value) return i;
    }
    return -1;
}

void TColorComboBox::AddItem(int32_t value) {
    cmbBox_->addItem(Swatch(ToQColor(value), cmbBox_->iconSize()), QString(), value);
}

void TColorComboBox::ChooseFromDialog() {
    const QColor chosen = QColorDialog::getColor(ToQColor(ColorValue()), this);
    if (chosen.isValid()) SetColorValue(FromQColor(chosen));
}
