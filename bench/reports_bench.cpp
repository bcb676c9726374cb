// The board's reports on 2,000 members with 500 ledger items each, each
// against a baseline in the same run: the general list with its ages
// against the statements' totals alone (the list before the ages), the
// year's dashboard against the same statements, and 2,000 statements into
// one PDF against bare reads of their rows, with the memory at each quarter
// of the run and at its end.
#include "actions/generallist/generallistaction.h"
#include "actions/reports/bulkstatements.h"
#include "actions/reports/dashboard.h"
#include "actions/statement/statementaction.h"
#include "bench/benchcompany.h"
#include "printing/printcontext.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int Members = 2000;
constexpr int Items = 500;

// Resident memory now, in MiB.
double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv); // charts and PDFs paint
    BenchCompany co(Members);
    Session &s = co.session();
    s.tlonda = 2;
    fillStatementLedger(s, Members, Items);
    const QDate base(2027, 1, 1);
    std::vector<statement::Card> cards;
    for (int i = 1; i <= Members; ++i)
        cards.push_back({memberCode(i), 0});

    double totals = 1e9, aging = 1e9, board = 1e9, bare = 1e9;
    Money sum;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, seconds([&] { (void)bareLedgerReads(s, Members, base); }));
        totals =
            std::min(totals, seconds([&] {
                         sum = Money();
                         must(statement::computeEach(s, cards, base, 2.0,
                                                     [&](size_t, const surcharge::Statement &st) {
                                                         sum += st.totalDebt + st.totalSurcharge -
                                                                st.totalPaid;
                                                     }),
                              "statements");
                     }));
        aging =
            std::min(aging, seconds([&] {
                         must(generallist::build(s, memberCode(1), memberCode(Members), base, 2.0)
                                  .has_value(),
                              "general list");
                     }));
        board = std::min(
            board, seconds([&] { must(dashboard::build(s, 2026, 12).has_value(), "dashboard"); }));
    }
    std::printf("bare reads, a query per member       %.3f s\n", bare);
    std::printf("statements' totals alone             %.3f s\n", totals);
    std::printf("general list with ages               %.3f s\n", aging);
    std::printf("ratio aged list/totals alone: %.2f (goal <= 1.2)\n", aging / totals);
    std::printf("dashboard for a year                 %.3f s (goal < 2 s on SQLite)\n", board);
    std::printf("ratio dashboard/bare reads: %.2f\n", board / bare);

    // Once: it writes a file of some hundred megabytes.
    QTemporaryDir dir;
    printing::PrintContext context(s);
    std::vector<double> memory;
    const double before = residentMiB();
    int statements = 0;
    const double pdf = seconds([&] {
        const auto result =
            bulkstatements::print(s, context, {}, base, dir.filePath(QStringLiteral("hepsi.pdf")),
                                  false, [&](const bulkstatements::Progress &p) {
                                      if (p.count > 0 && p.done % (p.count / 4) == 0)
                                          memory.push_back(residentMiB());
                                  });
        must(result.has_value(), "statements into one PDF");
        statements = result->statements;
    });
    std::printf("%d statements into one PDF            %.3f s (%.1f MB)\n", statements, pdf,
                double(QFile(dir.filePath(QStringLiteral("hepsi.pdf"))).size()) / 1e6);
    std::printf("ratio PDF/bare reads: %.2f\n", pdf / bare);
    std::printf("resident MiB before %.0f, at each quarter:", before);
    for (const double m : memory)
        std::printf(" %.0f", m);
    std::printf("; peak %.0f\n", peakMiB());
    return 0;
}
