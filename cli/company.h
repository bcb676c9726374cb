#pragma once

#include "cli/command.h"

// koop-cli company DIR [--format text|json] [--set KEY=VALUE ...]: shows the
// company's set-up, or stores the values given as "Şirket Bilgileri" does; a
// value its field would refuse stores nothing.
int runCompany(const cli::Call &call);
