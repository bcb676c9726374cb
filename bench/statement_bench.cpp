// Statement speed: every member's statement one after the other on a
// company of 2,000 members with 500 ledger items each, against reading the
// same rows with one bare prepared statement per member.
#include "actions/statement/statementaction.h"
#include "base/daynumber.h"
#include "bench/benchcompany.h"
#include "data/ledger.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Members = 2000;
constexpr int Items = 500;

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    BenchCompany co(Members);
    Session &s = co.session();
    s.tlonda = 2;
    fillStatementLedger(s, Members, Items);
    const QDate base(2027, 1, 1);

    qint64 bareRows = 0;
    const auto bareRun = [&] { bareRows = bareLedgerReads(s, Members, base); };
    Money total;
    qint64 rows = 0;
    const auto statementRun = [&] {
        total = Money();
        rows = 0;
        for (int m = 1; m <= Members; ++m) {
            const auto st = statement::compute(s, memberCode(m), base, 2.0, 0);
            total += st->finalBalance;
            rows += qint64(st->rows.size()) - 1;
        }
    };
    // Turn about, best of three each: a busy machine slows one run, not the ratio.
    double bare = 1e9, statements = 1e9;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, seconds(bareRun));
        statements = std::min(statements, seconds(statementRun));
    }
    std::vector<surcharge::LedgerItem> items;
    const double reading = seconds([&] {
        for (int m = 1; m <= Members; ++m)
            must(data::readLedger(s.data, memberCode(m), base, &items, s.messages), "ledger");
    });
    std::printf("ledger reader alone: %.3f s\n", reading);
    std::printf("bare reads  %lld rows: %.3f s\n", bareRows, bare);
    std::printf("statements  %lld rows: %.3f s (balances %s)\n", rows, statements,
                qPrintable(total.toPlain(2)));
    std::printf("ratio statements/bare: %.2f (goal <= 1.1)\n", statements / bare);
    return 0;
}
