#pragma once

#include "cli/command.h"

// koop-cli collect DIR CODE AMOUNT [--aciklama TEXT] [--pdf FILE]: a cash
// collection as the desk posts it on " Tamam", without questions. Prints the
// receipt number and the reference code, one a line; with --pdf writes the
// receipt there. Exit 1 when nothing was posted, 3 when the receipt could
// not be written.
int runCollect(const cli::Call &call);
