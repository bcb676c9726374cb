#pragma once

#include "gui/screencontext.h"

#include <QString>
#include <initializer_list>
#include <utility>
#include <vector>

class QAbstractButton;
class QHBoxLayout;
class QLabel;
class QWidget;
class xtext;

namespace screenkit {

// What a screen takes from the theme besides the colours every screen gets.
struct ThemeParts {
    QString background = QStringLiteral("muhback3.jpg"); // empty: no picture
    std::vector<std::pair<QAbstractButton *, QString>> buttonIcons;
    std::vector<std::pair<xtext *, QString>> fieldPictures; // the picture button
    std::vector<QLabel *> captions;                         // column and caption labels
};

// The colour theme and the pictures on a screen as it opens: background slot
// 40, and with the pictures switch on its background picture and icons;
// field labels (a label with a buddy) and check boxes fore slot 23, caption
// labels fore 22 on 41, every input field its four colours from 4, 10, 3, 9.
// The screen's buttons get their keys too (buttonKeys), so call it once the
// screen's controls are all made.
void applyScreenTheme(QWidget &screen, ScreenContext &context, const ThemeParts &parts = {});

// A screen's buttons, right-aligned on a row of their own, in the given order.
QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons);

} // namespace screenkit
