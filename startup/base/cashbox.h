#pragma once

#include <QDate>
#include <QString>

// The cash-box day file kasaN.dat: 16-byte records, record 2 the cash box's
// account code in the accounting suite, records 3..374 the day totals
// ((month - 1) * 31 + day + 2) as an 8-byte little-endian double at the
// start of the record.
namespace cashbox {

constexpr int RecordSize = 16;

// "kasa" + the cash-box number as plain decimal text + ".dat".
QString fileName(const QString &cashBoxNumber);
int dayRecord(const QDate &date);
// Record 2, trimmed; empty text when the file is missing or empty.
QString accountCode(const QString &filePath);
// Adds `amount` to the day's total, read, changed and written under a lock
// on the file so two desks adding at once never lose an addition. False when
// the file cannot be locked, read or written.
bool addToDayTotal(const QString &filePath, const QDate &date, double amount);
// The stored day total (0 for a record beyond the end).
double dayTotal(const QString &filePath, const QDate &date);

} // namespace cashbox
