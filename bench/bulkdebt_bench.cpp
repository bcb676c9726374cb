// Bulk dues speed: 2,000 members × 12 months × 5 heads through the bulk-debt
// run (120,000 debts with their references and bucket updates, 240,000
// integration rows) against bare inserts of as many rows in the same run;
// and the memory the run takes at half and at full size, which should not
// grow with the rows.
#include "actions/bulkdebt/bulkdebtaction.h"
#include "bench/benchcompany.h"
#include "data/koopdata.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int Members = 2000;
constexpr int Months = 12;
constexpr int Heads = 5;
constexpr int DebtRows = Members * Months * Heads;

const Money Amount = *Money::parse("850.25");

void addHeads(Session &s) {
    data::Settings settings;
    for (size_t i = 0; i < 5; ++i) {
        settings.ack[i] = QStringLiteral("Kalem %1").arg(i + 1);
        settings.muh[i] = QStringLiteral("600.01.0%1").arg(i + 1);
    }
    if (!data::storeSettings(s.ayar, settings)) {
        std::fprintf(stderr, "settings not stored\n");
        std::exit(1);
    }
}

std::optional<bulkdebt::Result> run(Session &s, int members) {
    bulkdebt::Request r{QStringLiteral("2026"), 1, Months, memberCode(1), memberCode(members), {}};
    r.amounts.fill(Amount);
    return bulkdebt::run(s, r);
}

// The most memory the process has held so far, in MiB.
double peakResidentMiB() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    // Memory first, while the process is small: the peak after a run over
    // half the members and after one over all of them. Rows held in memory
    // would show as a higher second peak.
    double peak[3] = {peakResidentMiB()};
    for (int half = 0; half < 2; ++half) {
        BenchCompany co(Members);
        addHeads(co.session());
        run(co.session(), half == 0 ? Members / 2 : Members);
        peak[half + 1] = peakResidentMiB();
    }

    // Then the time, turn about, each on a fresh company, best of three.
    double bare = 1e9, bulk = 1e9;
    for (int round = 0; round < 3; ++round) {
        {
            BenchCompany co(Members);
            bare = std::min(bare, bareDebtRows(co.session(), DebtRows, Members));
        }
        BenchCompany co(Members);
        Session &s = co.session();
        addHeads(s);
        std::optional<bulkdebt::Result> result;
        bulk = std::min(bulk, seconds([&] { result = run(s, Members); }));
        // A fast run is worth nothing if it stored something else.
        QSqlQuery check(s.data.sql());
        check.exec("SELECT (SELECT count(*) FROM carhar), (SELECT count(*) FROM ent), "
                   "(SELECT sum(borc1) FROM carkart), (SELECT count(DISTINCT refer) FROM carhar)");
        check.next();
        if (!result || result->debts != DebtRows || result->integrationRows != 2 * DebtRows ||
            check.value(0).toLongLong() != DebtRows ||
            check.value(1).toLongLong() != 2 * DebtRows ||
            check.value(2).toLongLong() != DebtRows * Amount.units() ||
            check.value(3).toLongLong() != DebtRows) {
            std::fprintf(stderr, "the bulk run stored the wrong rows or totals\n");
            return 1;
        }
    }
    std::printf("bare inserts %d+%d rows: %.3f s\n", DebtRows, 2 * DebtRows, bare);
    std::printf("bulk debt    %d+%d rows: %.3f s\n", DebtRows, 2 * DebtRows, bulk);
    std::printf("ratio bulk/bare: %.2f (goal <= 1.5 on SQLite)\n", bulk / bare);
    std::printf("peak memory: %.1f MiB before, %.1f after %d members, %.1f after %d (goal: "
                "flat)\n",
                peak[0], peak[1], Members / 2, peak[2], Members);
    return 0;
}
