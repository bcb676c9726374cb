#pragma once

#include "base/money.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace data {

// One value as the engines store it: Null, a whole number (a day number, an
// amount in ten-thousandths, a code), a floating-point number or text. Rows
// written whole are built of these straight from the program's own records,
// with no edit buffer and no QVariant between.
struct StoredValue {
    enum class Kind : quint8 { Null, Number, Real, Text };
    Kind kind = Kind::Null;
    qint64 number = 0;
    double real = 0;
    QString text;

    static StoredValue of(qint64 n) { return {Kind::Number, n, 0, {}}; }
    static StoredValue ofReal(double d) { return {Kind::Real, 0, d, {}}; }
};

// Text as a field of `size` characters (0: no limit) stores it: cut to the
// size without keeping half a character, empty text as empty text, Null
// when it holds a lone surrogate.
StoredValue storedText(const QString &text, qsizetype size);
// A date as its day number, Null when not valid.
StoredValue storedDate(const QDate &date);
// An amount in units, Null beyond the range of a stored figure.
StoredValue storedAmount(const Money &amount);
// A stored value as Qt SQL hands it over (Null, qlonglong, double, QString).
StoredValue storedOf(const QVariant &value);
QVariant toVariant(const StoredValue &value);

// The table and columns of rows written whole (RsInsert): defined once, for
// the program's life, so the engines' prepared statements are known by it.
struct RowShape {
    QString table;
    QStringList columns;
};

// A row as one line of COPY's text format: \N for Null, text with its
// backslash, tab and line breaks escaped, numbers as the server reads them.
void appendCopyLine(QByteArray &out, const StoredValue *values, qsizetype count);

} // namespace data
