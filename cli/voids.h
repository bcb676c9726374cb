#pragma once

#include "cli/command.h"

// koop-cli void DIR RECEIPT --reason TEXT [--date dd.MM.yyyy] [--kod CODE]:
// a receipt voided by its reversal, as the desk's "Makbuz İptal" does it.
// Prints the void's reference code. Exit 1 when it is refused.
int runVoid(const cli::Call &call);

// koop-cli voids DIR [--from dd.MM.yyyy] [--to dd.MM.yyyy] [--format
// text|csv|json]: the list of voided receipts.
int runVoids(const cli::Call &call);
