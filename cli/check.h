#pragma once

#include "cli/command.h"

// koop-cli check DIR [--repair]: the integrity of both databases, the
// members' balance totals against their ledgers, the day totals against
// their journals and the cash desk's collections, the reference counters and
// the receipt numbers. A line per finding and exit code 1, or "Sorun yok."
// and 0; --repair mends what the rows themselves tell (the balance totals,
// a day total left half-written, a receipt counter behind its receipts).
int runCheck(const cli::Call &call);
