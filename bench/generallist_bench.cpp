// General list speed: the list of 2,000 members with 500 ledger items each,
// against reading the same rows bare, one prepared statement per member as
// the statement screen reads them, and in one ordered pass over every member.
// The list itself reads 64 members to a query.
#include "actions/generallist/generallistaction.h"
#include "base/daynumber.h"
#include "bench/benchcompany.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Members = 2000;
constexpr int Items = 500;

qint64 onePass(Session &s, const QDate &upTo) {
    QSqlQuery q(s.data.sql());
    q.setForwardOnly(true);
    q.prepare("SELECT kod, ack, vade, tutar, ba, islem, evrak, tarih FROM carhar WHERE tarih <= ? "
              "ORDER BY kod, vade, ba, islem, id");
    q.addBindValue(qlonglong(dayNumber(upTo)));
    q.exec();
    qint64 rows = 0;
    while (q.next()) {
        for (int c = 0; c < 8; ++c)
            (void)q.value(c);
        ++rows;
    }
    return rows;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    BenchCompany co(Members);
    Session &s = co.session();
    s.tlonda = 2;
    fillStatementLedger(s, Members, Items);
    const QDate base(2027, 1, 1);

    qint64 perMemberRows = 0, onePassRows = 0;
    generallist::List list;
    int steps = 0;
    const auto listRun = [&] {
        steps = 0;
        list = *generallist::build(s, memberCode(1), memberCode(Members), base, 2.0,
                                   [&](const generallist::Progress &) { ++steps; });
    };
    // Turn about, best of three each: a busy machine slows one run, not the ratio.
    double perMember = 1e9, pass = 1e9, built = 1e9;
    for (int round = 0; round < 3; ++round) {
        perMember = std::min(perMember,
                             seconds([&] { perMemberRows = bareLedgerReads(s, Members, base); }));
        pass = std::min(pass, seconds([&] { onePassRows = onePass(s, base); }));
        built = std::min(built, seconds(listRun));
    }
    std::printf("bare reads, a query per member  %lld rows: %.3f s\n", perMemberRows, perMember);
    std::printf("bare reads, one ordered pass    %lld rows: %.3f s\n", onePassRows, pass);
    std::printf("general list    %zu members, %d progress steps: %.3f s (balance %s)\n",
                list.rows.size(), steps, built, qPrintable(list.toplam.kalan.toPlain(2)));
    std::printf("ratio list/bare per member: %.2f (goal <= 1.1 on SQLite, <= 1.3 on a server)\n",
                built / perMember);
    std::printf("ratio list/bare one pass:   %.2f\n", built / pass);
    return 0;
}
