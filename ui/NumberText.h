#pragma once

#include <QChar>
#include <QString>

// Numbers on screen, in the user's locale (QLocale's default): read as typed,
// written in the general format (up to 15 significant digits, no trailing
// zeros, the locale's decimal separator, no group separators).

// The locale's decimal separator.
QChar DecimalSeparator();

// Converts typed text to a number; text that is no finite number (empty, a
// lone separator, a "." under a "," locale) raises EConvertError naming it.
double StrToFloat(const QString& text);

QString FloatToStr(double value);
