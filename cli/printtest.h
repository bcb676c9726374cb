#pragma once

#include "cli/command.h"

// koop-cli print-test DIR [--mode 1|2] [--out FILE]: a two-page sample
// through the printer output control. Mode 1 (default) draws graphically, to
// FILE as PDF when given, else to the system printer (KOOP_PRINT_PDF wins
// over both); mode 2 writes the dot-matrix file and hands it to dotyaz, or
// keeps it as FILE when given.
int runPrintTest(const cli::Call &call);
