#pragma once

#include "cli/command.h"

// The collection by dues head without a window: a member's head balances,
// and a collection posted as the screen's "Tamam" answered Yes posts it.
int runHeadBalances(const cli::Call &call);
int runCollectHeads(const cli::Call &call);
