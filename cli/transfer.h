#pragma once

#include "cli/command.h"

// koop-cli's way in and out for an office's own data: members, prices and
// opening balances from a CSV or XLSX file, and the same columns back out.
int runImport(const cli::Call &call);
int runExport(const cli::Call &call);

// "members", "prices" or "balances".
bool isTransferKind(const QString &value);
// "stop", "skip" or "update".
bool isOnDuplicate(const QString &value);
// "csv" or "xlsx".
bool isTransferFormat(const QString &value);
