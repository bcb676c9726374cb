#include "controls/entry.h"

#include "base/daynumber.h"
#include "base/money.h"

#include <QKeyEvent>
#include <QLocale>

namespace entry {

QChar typedChar(const QKeyEvent &event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return {};
    if (event.key() == Qt::Key_Backspace)
        return u'\b';
    const QString text = event.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return {};
    return text.at(0);
}

DigitBuffer::Result DigitBuffer::type(QChar c) {
    if (fresh) {
        text.clear();
        fresh = false;
        point = false;
    }
    if (c.isDigit() && c.unicode() < 128) {
        const QString next = text + c;
        if (next.toDouble() > maximum)
            return Result::Refused;
        text = next;
        return Result::Changed;
    }
    if (c == u'.' || c == u',') {
        if (decimals > 0 && !point) {
            text += u'.';
            point = true;
        }
        return Result::Changed;
    }
    if (c == u'+') {
        text += QStringLiteral("000");
        return Result::Changed;
    }
    if (c == u'\b') {
        if (!text.isEmpty()) {
            if (text.back() == u'.')
                point = false;
            text.chop(1);
        }
        return Result::Changed;
    }
    return Result::Refused;
}

void DigitBuffer::set(const QString &value) {
    text = value;
    point = value.contains(u'.');
}

void DigitBuffer::clear() {
    text.clear();
    point = false;
}

double DigitBuffer::value() const {
    return text.toDouble();
}

QString numberDisplay(const QString &buffer, int decimals, int groupSize) {
    return formatAmount(buffer, decimals, groupSize);
}

QString dateDigit(const QString &text, QChar digit) {
    if (text.size() >= 10)
        return text;
    QString out = text + digit;
    if ((out.size() == 2 && out.indexOf(u'.', 2) < 0) ||
        (out.size() == 5 && out.indexOf(u'.', 5) < 0))
        out += u'.';
    return out;
}

QString dateBackspace(const QString &text) {
    QString out = text;
    // The dot goes together with the digit before it.
    if ((out.size() == 3 && out[2] == u'.') || (out.size() == 6 && out[5] == u'.'))
        out.chop(1);
    out.chop(1);
    return out;
}

QString longDate(const QDate &date) {
    static const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    return tr.toString(date, QStringLiteral("dd MMMM yyyy dddd"));
}

QString dateToolTip(const QString &text) {
    const QDate d = parseTrDate(text);
    return d.isValid() ? u' ' + longDate(d) + u' ' : QStringLiteral(" Hatalı Tarih ");
}

QString dateOnLeaving(const QString &text) {
    const QDate d = parseTrDate(text);
    return d.isValid() ? formatTrDate(d) : QStringLiteral("??.??.????");
}

} // namespace entry
