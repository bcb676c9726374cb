#pragma once

#include "core/theme.h"

#include <QColor>

// A slot of the theme as a colour; black outside the 42 slots.
inline QColor themeColour(const ColourTheme &theme, int slot) {
    if (slot < 0 || slot >= ColourTheme::Slots)
        return QColor(Qt::black);
    const uint32_t v = theme.bgr[size_t(slot)];
    return QColor(int(v & 0xff), int((v >> 8) & 0xff), int((v >> 16) & 0xff));
}
