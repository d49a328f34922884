#include "ui/chPage.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <climits>
#include <cmath>

#include "app/ZyApplication.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "platform/Exceptions.h"
#include "ui/MaskEdit.h"
#include "ui/frameCh.h"

namespace {
// Tolerance under which a computed value counts as the whole number next to
// it: far above the rounding error of a typed value times 1000, far below the
// smallest step the masks admit.
constexpr double kWholeTolerance = 1e-6;
}  // namespace

TchPage::TchPage(TframeCh* frame, QWidget* parent) : QWidget(parent), frame_(frame) {}

TZyGen4Channel* TchPage::Channel() const {
    return frame_->Channel;
}

TZyGen4* TchPage::Gen() const {
    return frame_->Gen();
}

QStringList TchPage::ScaleItems(int param) {
    switch (param) {
        case 0:
            return {QStringLiteral("±12,5%"), QStringLiteral("±25%"), QStringLiteral("±50%")};
        case 1:
            return {QStringLiteral("±5,5°"), QStringLiteral("±11°"), QStringLiteral("±22,5°"),
                    QStringLiteral("±45°"),  QStringLiteral("±90°"), QStringLiteral("±180°")};
        case 2:
            return {QStringLiteral("±92 Гц"),   QStringLiteral("±750 Гц"),
                    QStringLiteral("±6 кГц"),   QStringLiteral("±48 кГц"),
                    QStringLiteral("±190 кГц"), QStringLiteral("±750 кГц")};
        default:
            return {};
    }
}

int TchPage::ScaleOf(int param, int position) {
    static constexpr int kFreqScales[] = {1, 4, 7, 10, 12, 14};
    if (position < 0) position = 0;
    switch (param) {
        case 0:
            return 18 + position;
        case 1:
            return 15 + position;
        case 2:
            return kFreqScales[position < 6 ? position : 5];
        default:
            return 0;
    }
}

double TchPage::SnapToWhole(double v) {
    const double r = std::nearbyint(v);
    if (std::fabs(v - r) <= kWholeTolerance * std::fmax(1.0, std::fabs(v))) return r;
    return v;
}

int TchPage::TruncToInt(double v) {
    if (std::isnan(v)) return INT_MIN;
    const double t = std::trunc(SnapToWhole(v));
    if (t >= 2147483647.0) return INT_MAX;
    if (t <= -2147483648.0) return INT_MIN;
    return static_cast<int>(t);
}

int TchPage::StrToInt(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok) {
        throw EConvertError(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    }
    return v;
}

void TchPage::cmbBox_CommonChange() {
    ApplyNow();
}

void TchPage::ApplyNow() {
    frame_->ApplyNow();
}

bool TchPage::AutoApply() const {
    return frame_->AutoApply;
}

void TchPage::FillScaleItems(QComboBox* box, int param) {
    {
        const QSignalBlocker detach(box);
        box->clear();
        box->addItems(ScaleItems(param));
        box->setCurrentIndex(0);
    }
    cmbBox_CommonChange();
}

QComboBox* TchPage::NewScaleBox(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    connect(box, &QComboBox::currentIndexChanged, this,
            [this] { SafeCall([this] { cmbBox_CommonChange(); }); });
    return box;
}

TMaskEdit* TchPage::NewEdit(const char* name, const char* mask, const QString& text, bool validate,
                            QWidget* parent) {
    auto* edit = new TMaskEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (mask) edit->SetMask(QString::fromLatin1(mask));
    edit->setText(text);
    if (validate) frame_->AttachValidation(edit);
    return edit;
}
