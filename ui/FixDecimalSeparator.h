#pragma once

#include <QString>
#include <string>

// Returns `text` with every "." or "," that is not `separator` replaced by
// `separator`: with "," every "." becomes ",", otherwise every "," becomes
// `separator`. Lets the operator type either separator in number edits.
QString FixDecimalSeparator(const QString& text, QChar separator);
std::string FixDecimalSeparator(const std::string& text, char separator);
