// Monthly dues speed: the member grid of 5,000 members read (cards from one
// database, prices from the other) against bare reads of the same rows, and
// the month's 10,000 debts posted (references, bucket updates, the card
// check) against bare inserts of as many ledger rows, in the same run.
#include "actions/monthlydebt/monthlydebtaction.h"
#include "bench/benchcompany.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Members = 5000;
constexpr int HeadsPriced = 2;
constexpr int DebtRows = Members * HeadsPriced;

// Every member pays 850.25 and 120.50, nothing on the other heads.
void addPrices(Session &s) {
    must(s.koop.beginWrite(), "begin");
    QSqlQuery q(s.koop.sql());
    q.prepare(
        "INSERT INTO fiat (cari, fiat1, fiat2, fiat3, fiat4, fiat5) VALUES (?, ?, ?, 0, 0, 0)");
    for (int i = 1; i <= Members; ++i) {
        q.addBindValue(memberCode(i));
        q.addBindValue(qlonglong(8502500));
        q.addBindValue(qlonglong(1205000));
        q.exec();
    }
    q.finish();
    must(s.koop.commit(), "commit");
}

// The yardstick of the grid: the same cards and prices, every value read.
qint64 bareReads(Session &s) {
    qint64 values = 0;
    QSqlQuery cards(s.data.sql());
    cards.exec("SELECT kod, isim1, adr1, adr2, adr3, grp, asd FROM carkart ORDER BY kod, id");
    while (cards.next())
        for (int c = 0; c < 7; ++c)
            values += cards.value(c).isValid();
    QSqlQuery prices(s.koop.sql());
    prices.exec("SELECT cari, fiat1, fiat2, fiat3, fiat4, fiat5 FROM fiat");
    while (prices.next())
        for (int c = 0; c < 6; ++c)
            values += prices.value(c).isValid();
    return values;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    double bareLoad = 1e9, load = 1e9, bare = 1e9, post = 1e9;
    for (int round = 0; round < 3; ++round) {
        {
            BenchCompany co(Members);
            bare = std::min(bare, bareDebtRows(co.session(), DebtRows, Members, false));
        }
        BenchCompany co(Members);
        Session &s = co.session();
        addPrices(s);
        const monthlydebt::Opening opening = monthlydebt::open(s);
        bareLoad = std::min(bareLoad, seconds([&] { bareReads(s); }));
        std::optional<std::vector<monthlydebt::Member>> members;
        load = std::min(load, seconds([&] { members = monthlydebt::load(s, QString()); }));
        std::optional<int> posted;
        post =
            std::min(post, seconds([&] {
                         posted = monthlydebt::post(s, {2026, 12, 1}, *members, opening.captions);
                     }));
        // A fast run is worth nothing if it stored something else.
        QSqlQuery check(s.data.sql());
        check.exec("SELECT (SELECT count(*) FROM carhar), (SELECT sum(borc1) FROM carkart)");
        check.next();
        if (!members || int(members->size()) != Members || !posted || *posted != DebtRows ||
            check.value(0).toLongLong() != DebtRows ||
            check.value(1).toLongLong() != qlonglong(Members) * (8502500 + 1205000)) {
            std::fprintf(stderr, "the monthly run read or stored the wrong rows\n");
            return 1;
        }
    }
    std::printf("bare reads   %d cards + prices: %.3f s\n", Members, bareLoad);
    std::printf("member grid  %d cards + prices: %.3f s\n", Members, load);
    std::printf("ratio grid/bare: %.2f\n", load / bareLoad);
    std::printf("bare inserts %d rows: %.3f s\n", DebtRows, bare);
    std::printf("monthly debt %d rows: %.3f s\n", DebtRows, post);
    std::printf("ratio post/bare: %.2f (goal <= 1.5 on SQLite)\n", post / bare);
    return 0;
}
