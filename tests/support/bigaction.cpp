// A long posting action for the crash test: debt rows in one unit of work,
// reporting on standard output once it is well under way.
#include "core/companyfolder.h"
#include "core/unitofwork.h"
#include "posting/posting.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        return 2;
    LogMessages messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, args[1]))
        return 1;
    const int rows = args[2].toInt();
    UnitOfWork work(session);
    if (!work.active())
        return 1;
    for (int i = 0; i < rows; ++i) {
        (void)posting::PostDebt(work, work.reference(21), false, QStringLiteral("0001"),
                                Money::fromWhole(10), QStringLiteral("Aidat"), ledger::Debt,
                                QStringLiteral("1"), QDate(2026, 1, 1));
        if (i == 2000) {
            std::puts("yaziliyor");
            std::fflush(stdout);
        }
    }
    if (!work.commit())
        return 1;
    std::puts("bitti");
    return 0;
}
