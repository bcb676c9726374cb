#pragma once

#include "base/money.h"
#include "data/database.h"

#include <QDate>
#include <QString>
#include <vector>

// What was handed over to the accounting suite, run by run: the program's
// own table `entkayit` (dalun.dat), made at the first run recorded.
namespace data {

struct IntegrationRun {
    int islem = 0;  // which run: 1 monthly debts, 2 collections, 3 paid surcharge
    QDate from, to; // the period or range it covered
    int rows = 0;
    Money total;  // the members' side
    QDate date;   // when it ran
    QString time; // "HH:mm"
};

// Inside the action under way on dalun.dat.
[[nodiscard]] bool recordIntegrationRun(Database &koop, const IntegrationRun &run);
// The runs of `islem` whose period meets the one from `from` to `to`, the
// latest first. False when they cannot be read; none while none was recorded.
[[nodiscard]] bool readIntegrationRuns(Database &koop, int islem, const QDate &from,
                                       const QDate &to, std::vector<IntegrationRun> *out);

} // namespace data
