#pragma once

#include <QDate>
#include <QString>

class QKeyEvent;

// Keyboard entry shared by the grid's cells and the input field: the digit
// buffer of number entry and the automatic dots of date entry.
namespace entry {

// What a key types into a number or date entry: its printable character, or
// '\b' for Backspace. Null for a key that types nothing (Shift, Home, the
// F-keys, Tab, Esc) and for Ctrl or Alt combinations: such keys never reach
// the digit buffer or the date text.
QChar typedChar(const QKeyEvent &event);

// A number typed digit by digit. The display form is formatted; the buffer
// keeps what was typed.
struct DigitBuffer {
    QString text;
    bool fresh = false; // the next key replaces the buffer
    bool point = false; // a decimal point was typed
    double maximum = 0; // the largest value that may be typed
    int decimals = 0;

    enum class Result { Changed, Refused };
    // One typed character ('0'..'9', '.', ',', '+') or '\b' for Backspace.
    Result type(QChar c);
    void set(const QString &value);
    void clear();
    double value() const;
};

// The display form of a number: empty for 0, else `decimals` places, groups
// of `groupSize` with ",", "." as point, a leading minus.
QString numberDisplay(const QString &buffer, int decimals, int groupSize);

// Date typing with the dots put in after the day and the month.
QString dateDigit(const QString &text, QChar digit);
QString dateBackspace(const QString &text);
// " dd MMMM yyyy dddd " in Turkish, or " Hatalı Tarih ".
QString dateToolTip(const QString &text);
QString longDate(const QDate &date);
// "dd.MM.yyyy" of a valid date, else "??.??.????".
QString dateOnLeaving(const QString &text);

} // namespace entry
