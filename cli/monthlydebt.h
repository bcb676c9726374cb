#pragma once

#include "cli/command.h"

// koop-cli's monthly dues, sharing the monthly debt screen's action code:
// the member grid of a group, one member's prices stored as the grid stores
// them, the debts posted as " Kaydet " posts them, and the debt vouchers
// printed without the setup screen.
int runPrices(const cli::Call &call);
int runSetPrices(const cli::Call &call);
int runMonthlyDebt(const cli::Call &call);
int runVouchers(const cli::Call &call);

// A row number of the member list, counted from 1.
bool isRowNumber(const QString &value);
// A voucher number, 0 to 99999999.
bool isVoucherNumber(const QString &value);
