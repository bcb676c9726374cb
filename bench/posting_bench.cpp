// Posting speed: 60,000 debt rows with their references and bucket updates
// and 120,000 integration rows in one action, against bare prepared inserts
// of the same rows into the same tables and, on a server, against a COPY of
// them; and the commit time of single cash collections.
#include "bench/benchcompany.h"
#include "core/unitofwork.h"
#include "data/koopdata.h"
#include "posting/cashcollection.h"
#include "posting/posting.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <libpq-fe.h>

namespace {

constexpr int Members = 2000;
constexpr int DebtRows = 60000;

double postAction(Session &s) {
    return seconds([&] {
        UnitOfWork work(s);
        const QDate date(2026, 1, 1);
        const Money amount = *Money::parse("850.25");
        for (int i = 0; i < DebtRows; ++i) {
            const QString kod = memberCode(i % Members + 1);
            const QString refer = work.reference(1);
            must(posting::PostDebt(work, refer, false, kod, amount,
                                   QStringLiteral("Ocak 2026 Aidat"), ledger::Debt,
                                   QStringLiteral("1"), date),
                 "debt");
            must(data::writeIntegrationRow(
                     s.ent, s.messages,
                     {date, "120.01." + kod, "B", amount, "Aidat", 0, 1, date, refer}),
                 "integration row");
            must(data::writeIntegrationRow(
                     s.ent, s.messages,
                     {date, "600.01.01", "A", amount, "Aidat", 0, 1, date, refer}),
                 "integration row");
        }
        if (!work.commit())
            std::fputs("posting: the action was not stored\n", stderr);
    });
}

// The same rows through COPY on the session's own server connection: the
// fastest way a server takes rows, the yardstick of the posting action there.
double copyRows(Session &s) {
    const QVariant handle = s.data.sql().driver()->handle();
    PGconn *conn = *static_cast<PGconn *const *>(handle.constData());
    const auto copy = [conn](const char *sql, const QByteArray &rows) {
        PGresult *r = PQexec(conn, sql);
        const bool started = PQresultStatus(r) == PGRES_COPY_IN;
        PQclear(r);
        if (!started || PQputCopyData(conn, rows.constData(), int(rows.size())) != 1 ||
            PQputCopyEnd(conn, nullptr) != 1) {
            std::fprintf(stderr, "COPY: %s", PQerrorMessage(conn));
            std::exit(1);
        }
        for (PGresult *res; (res = PQgetResult(conn));)
            PQclear(res);
    };
    return seconds([&] {
        must(s.data.beginWrite(), "begin");
        QByteArray carhar, ent;
        const QByteArray day = "46023", units = "8502500",
                         ack = QStringLiteral("Aidat").leftJustified(35).toUtf8();
        for (int i = 0; i < DebtRows; ++i) {
            const QByteArray kod = memberCode(i % Members + 1).toUtf8();
            const QByteArray refer =
                QStringLiteral("ABCD%1").arg(i, 4, 36, QLatin1Char('0')).toUtf8();
            carhar += kod + '\t' + day + "\t4\t\t" + day + "\t0\t" + units +
                      "\tOcak 2026 Aidat\t\t0\t1\t850.25\t0\t0\t0\t" + refer + "\t\t0\t0\t0\n";
            for (const char *side : {"B", "A"})
                ent += day + '\t' + refer + '\t' + day + "\t120.01." + kod + '\t' + side + '\t' +
                       units + '\t' + ack + "\t0\t1\n";
        }
        copy("COPY carhar (kod, tarih, islem, evrak, vade, ba, tutar, ack, pls, dtip, kod1, doviz, "
             "kur, kapanan, puan, refer, krefer, sube, para, kasa) FROM STDIN",
             carhar);
        copy("COPY ent (tarih, refer, enttar, muhkod, ba, tutar, ack, mik, yer) FROM STDIN", ent);
        must(s.data.commit(), "commit");
    });
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    // Turn about, each on a fresh company, best of three: a busy machine
    // slows one run, not the ratio.
    double bare = 1e9, posted = 1e9, copied = 1e9;
    bool server = false;
    for (int round = 0; round < 3; ++round) {
        {
            BenchCompany co(Members);
            bare = std::min(bare, bareDebtRows(co.session(), DebtRows, Members));
            server = co.session().data.isServer();
        }
        if (server) {
            BenchCompany co(Members);
            copied = std::min(copied, copyRows(co.session()));
        }
        {
            BenchCompany co(Members);
            posted = std::min(posted, postAction(co.session()));
            // A fast posting is worth nothing if it stored something else.
            QSqlQuery check(co.session().data.sql());
            check.exec("SELECT (SELECT count(*) FROM carhar), (SELECT count(*) FROM ent), "
                       "(SELECT sum(borc1) FROM carkart), (SELECT count(DISTINCT refer) FROM "
                       "carhar)");
            check.next();
            const qlonglong units = Money::parse("850.25")->units();
            if (check.value(0).toLongLong() != DebtRows ||
                check.value(1).toLongLong() != 2 * DebtRows ||
                check.value(2).toLongLong() != DebtRows * units ||
                check.value(3).toLongLong() != DebtRows) {
                std::fprintf(stderr, "posting stored the wrong rows or totals\n");
                return 1;
            }
        }
    }
    std::printf("bare inserts   %d+%d rows: %.3f s\n", DebtRows, 2 * DebtRows, bare);
    std::printf("posting action %d+%d rows: %.3f s\n", DebtRows, 2 * DebtRows, posted);
    std::printf("ratio posting/bare: %.2f (goal <= 1.5 on SQLite)\n", posted / bare);
    if (server) {
        std::printf("COPY           %d+%d rows: %.3f s\n", DebtRows, 2 * DebtRows, copied);
        std::printf("ratio posting/COPY: %.2f (goal <= 1.5 on a server)\n", posted / copied);
    }

    BenchCompany co(Members);
    Session &s = co.session();
    std::vector<double> ms;
    for (int i = 0; i < 50; ++i) {
        posting::CashCollection c;
        c.kod = memberCode(i + 1);
        c.name = QStringLiteral("Üye Çağlar");
        c.date = QDate(2026, 3, 15);
        c.receiptNo = 1000 + i;
        c.amount = *Money::parse("250.50");
        c.settingsExist = false;
        ms.push_back(1000 * seconds([&] { posting::postCashCollection(s, c); }));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("cash collection commit: median %.2f ms, max %.2f ms (goal < 20)\n", ms[25],
                ms.back());
    return 0;
}
