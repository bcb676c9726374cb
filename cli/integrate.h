#pragma once

#include "cli/command.h"

// koop-cli integrate DIR debts|collections|surcharge: one of the three
// hand-overs to the accounting suite's journal, as the integration screen's
// buttons run them; prints the number of rows written.
int runIntegrate(const cli::Call &call);
