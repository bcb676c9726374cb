#pragma once

#include "cli/command.h"

// koop-cli settings DIR [--format text|json] [--set KEY=VALUE ...]: shows the
// settings row, or stores the values given as the settings screen's "Kaydet"
// stores them; a value its field would refuse stores nothing.
int runSettings(const cli::Call &call);
