#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// The 42-colour theme of renk.dat: record 1 holds 42 little-endian 0x00BBGGRR
// values. Slot 40 is every screen's background, 22/41 the caption labels,
// 23 the field labels, 24 the buttons, 3/4 and 9/10 the input fields. The
// screens turn a slot into a colour (gui/colours.h).
struct ColourTheme {
    static constexpr int Slots = 42;
    static constexpr int RecordSize = Slots * 4;
    std::array<uint32_t, Slots> bgr{};

    // The theme shipped with the program, used when renk.dat is missing.
    static ColourTheme builtIn();
    // Record 1 of the file; slots beyond a short record stay 0 (black).
    // False when the file is missing or unreadable (the theme is unchanged).
    [[nodiscard]] bool load(const QString &filePath);
    QByteArray toRecord() const;
};
