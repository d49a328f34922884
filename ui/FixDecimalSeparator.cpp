#include "ui/FixDecimalSeparator.h"

QString FixDecimalSeparator(const QString& text, QChar separator) {
    const QChar other = separator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    QString result = text;
    result.replace(other, separator);
    return result;
}

std::string FixDecimalSeparator(const std::string& text, char separator) {
    const char other = separator == ',' ? '.' : ',';
    std::string result = text;
    for (char& c : result) {
        if (c == other) c = separator;
    }
    return result;
}
