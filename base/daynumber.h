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
// The first day of `month` in the year as the clerk typed it ("01.MM." and
// the year's text); invalid when that is no date.
QDate firstOfMonth(int month, const QString &year);

// The last day of the date's month as the office counts it: February has 29
// days in every year divisible by four. In a year such as 2100, which has no
// 29 February, that day is 1 March, as the suite's date arithmetic gives it.
QDate officeMonthEnd(const QDate &date);

// The Turkish name of a month, 1 (Ocak) to 12 (Aralık); empty otherwise.
QString trMonthName(int month);
