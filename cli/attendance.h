#pragma once

#include "cli/command.h"

// koop-cli's attendance sheet, sharing the attendance screen's action code:
// the list of a code range printed without the setup screen.
int runAttendance(const cli::Call &call);

bool isListOrder(const QString &value);
