#pragma once

class QString;
class QWidget;

namespace screenkit {

// What the buttons, tick boxes and options of a screen do from the keyboard,
// however the focus came to them: Enter presses the focused push button, Esc
// closes the screen, and the focus frame shows, so the clerk sees what Space
// will press or tick. Each push button without an Alt letter gets the first
// one free on the screen, a word's initial where it can.
void buttonKeys(QWidget &screen);

// The Alt letter of a caption ("&Tamam" gives 't'), or a null character.
char16_t mnemonicOf(const QString &text);

} // namespace screenkit
