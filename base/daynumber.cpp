#include "base/daynumber.h"

namespace {
const QDate kEpoch(1899, 12, 30);
}

int64_t dayNumber(const QDate &date) {
    return kEpoch.daysTo(date);
}

QDate dateFromDayNumber(int64_t day) {
    return kEpoch.addDays(day);
}

QDate parseTrDate(const QString &text) {
    return QDate::fromString(text.trimmed(), QStringLiteral("dd.MM.yyyy"));
}

QString formatTrDate(const QDate &date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QDate firstOfMonth(int month, const QString &year) {
    return parseTrDate(QStringLiteral("01.%1.").arg(month, 2, 10, QLatin1Char('0')) +
                       year.trimmed());
}

QDate officeMonthEnd(const QDate &date) {
    if (!date.isValid())
        return {};
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int month = date.month();
    const int last = month == 2 && date.year() % 4 == 0 ? 29 : days[month - 1];
    return QDate(date.year(), month, 1).addDays(last - 1);
}

QString trMonthName(int month) {
    static const char16_t *const names[] = {u"Ocak",  u"Şubat",   u"Mart",   u"Nisan",
                                            u"Mayıs", u"Haziran", u"Temmuz", u"Ağustos",
                                            u"Eylül", u"Ekim",    u"Kasım",  u"Aralık"};
    return month >= 1 && month <= 12 ? QString::fromUtf16(names[month - 1]) : QString();
}
