#pragma once

#include "cli/command.h"

// koop-cli's way in and out for an office's own data: members, prices and
// opening balances from a CSV, XLSX or ODS file, and the same columns back
// out.
int runImport(const cli::Call &call);
int runExport(const cli::Call &call);

// "members", "prices" or "balances".
bool isTransferKind(const QString &value);
// "stop", "skip" or "update".
bool isOnDuplicate(const QString &value);
// "csv" or "xlsx".
bool isTransferFormat(const QString &value);
// "," or ".", the decimal mark an import's amounts have.
bool isDecimalMark(const QString &value);
// A heading to leave out: any text but an empty one.
bool isHeadingName(const QString &value);
