#include "ui/NumberText.h"

#include <QLocale>
#include <cmath>

#include "platform/Exceptions.h"

namespace {
QLocale ScreenLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}
}  // namespace

QChar DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

double StrToFloat(const QString& text) {
    bool ok = false;
    const double value = ScreenLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        // The class library's own wording of this error.
        throw EConvertError(
            QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
    }
    return value;
}

QString FloatToStr(double value) {
    if (value == 0.0) value = 0.0;  // no "-0"
    return ScreenLocale().toString(value, 'g', 15);
}
