#pragma once

#include <QColor>
#include <cstdint>

// Colours as stored in the options file: 0x00BBGGRR. A value with a non-zero
// high byte names a system colour; it is shown as `fallback`.
QColor ColorFromValue(int32_t value, const QColor& fallback);
int32_t ColorToValue(const QColor& color);
