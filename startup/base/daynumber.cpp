#include "startup/base/daynumber.h"

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
