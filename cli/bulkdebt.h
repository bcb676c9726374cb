#pragma once

#include "cli/command.h"

// koop-cli bulk-debt: the same dues for a range of members over a run of
// months, as the bulk-debt screen's "Kaydet" assigns them; prints the number
// of ledger rows and of integration rows written.
int runBulkDebt(const cli::Call &call);

// "M1-M2": two months, each 1 to 12.
bool isMonthRange(const QString &value);
