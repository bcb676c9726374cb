#pragma once

#include <QString>

class QApplication;
class QWidget;

namespace screenkit {

// The manual's section of a screen key: its heading ends with "(KEY)".
QString helpSection(const QString &key);

// The window of a screen opens the manual at `section` on F1, and so do
// the windows it opens.
void setHelpSection(QWidget &window, const QString &section);

// F1 anywhere in the program opens the Turkish manual at the section of the
// window it was pressed in (or the nearest window that opened it), at the
// top where none is named.
void installHelpKey(QApplication &app);

// The manual in a window of its own (one for the process), scrolled to the
// first heading holding `section`. The window, for tests.
QWidget *openManual(const QString &section);

} // namespace screenkit
