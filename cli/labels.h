#pragma once

#include "cli/command.h"

// koop-cli's address labels, sharing the label screen's action code: the
// dot-matrix file of the selected cards' labels, or of the ruler page.
int runLabels(const cli::Call &call);

// "K1-K2"
bool isRange(const QString &value);
// "A", "S", "D" or several of them, comma-separated.
bool isStatusList(const QString &value);
