#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

// Dates are stored as whole day numbers counted from 30 December 1899, the
// epoch the accounting suite's files use. Every conversion goes through here.
int64_t dayNumber(const QDate &date);
QDate dateFromDayNumber(int64_t day);

// "dd.MM.yyyy" as the clerk types it; an invalid date gives an invalid QDate.
QDate parseTrDate(const QString &text);
QString formatTrDate(const QDate &date);
