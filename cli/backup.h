#pragma once

#include "cli/command.h"

// koop-cli backup DIR TARGET and restore BACKUP DIR [--server ADDRESS]:
// backup::take and backup::restore, what they did on standard output.
int runBackup(const cli::Call &call);
int runRestore(const cli::Call &call);
