#pragma once

#include "startup/base/messages.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>

// koop-cli print-test DIR [--mode 1|2] [--out FILE]: a two-page sample
// through the printer output control. Mode 1 (default) draws graphically, to
// FILE as PDF when given, else to the system printer (KOOP_PRINT_PDF wins
// over both); mode 2 writes the dot-matrix file and hands it to dotyaz, or
// keeps it as FILE when given.
int runPrintTest(const QStringList &args, Messages &messages);

namespace cli {

// Graphic printing needs fonts and so the GUI application object; every
// other command keeps the core one. Without a display the GUI object runs
// on the offscreen platform.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv);

} // namespace cli
