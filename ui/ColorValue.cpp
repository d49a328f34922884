#include "ui/ColorValue.h"

QColor ColorFromValue(int32_t value, const QColor& fallback) {
    const auto v = static_cast<uint32_t>(value);
    if ((v & 0xFF000000u) != 0) return fallback;
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int32_t ColorToValue(const QColor& color) {
    const uint32_t v = static_cast<uint32_t>(color.red()) |
                       (static_cast<uint32_t>(color.green()) << 8) |
                       (static_cast<uint32_t>(color.blue()) << 16);
    return static_cast<int32_t>(v);
}
