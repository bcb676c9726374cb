// How cost grows with the company: companies of 500, 2,000, 10,000 and
// 20,000 members with 250 ledger items each, and at each size the general
// list, one member's statement, one collection's commit, the bulk dues of
// one month and an import of all the cards into an empty company; the time
// per member of each (the statement and the collection per run, since they
// touch one member), the peak memory so far, and at the end how far each
// cost per member moved from the smallest company to the largest.
#include "actions/bulkdebt/bulkdebtaction.h"
#include "actions/generallist/generallistaction.h"
#include "actions/statement/statementaction.h"
#include "actions/transfer/transferaction.h"
#include "bench/benchcompany.h"
#include "data/koopdata.h"
#include "data/ledger.h"
#include "posting/cashcollection.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int Sizes[] = {500, 2000, 10000, 20000};
constexpr int Items = 250;
const QDate Base(2027, 1, 1);

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// The statements' ledger as the program writes it (straight to a file,
// in batches of COPY on a server), every third item a collection, five days
// apart from 1.1.2020.
void fillLedger(Session &s, int members) {
    must(s.data.beginWrite(), "begin");
    {
        const data::BatchedRows later(s.carhar, [] { must(false, "ledger row"); });
        const QDate start(2020, 1, 1);
        const Money debt = *Money::parse("85"), paid = *Money::parse("150");
        for (int m = 1; m <= members; ++m) {
            const QString kod = memberCode(m);
            for (int i = 0; i < Items; ++i) {
                const bool credit = i % 3 == 2;
                const QDate day = start.addDays(i * 5);
                must(data::writeLedgerRow(s.carhar,
                                          {kod, day, credit ? 1 : 4,
                                           credit ? QString::number(i) : QString(), credit ? 1 : 0,
                                           credit ? paid : debt, QStringLiteral("Aidat"),
                                           QStringLiteral("1"), credit ? Money() : debt,
                                           QStringLiteral("R%1").arg(i), 0, QString()}),
                     "ledger row");
            }
        }
    }
    must(s.data.commit(), "commit");
}

void addHeads(Session &s) {
    data::Settings settings;
    for (size_t i = 0; i < 5; ++i) {
        settings.ack[i] = QStringLiteral("Kalem %1").arg(i + 1);
        settings.muh[i] = QStringLiteral("600.01.0%1").arg(i + 1);
    }
    must(data::storeSettings(s.ayar, settings), "settings");
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Figures {
    int members = 0;
    double list = 0, statement = 0, collection = 0, bulk = 0, import = 0; // seconds
    double peak = 0;
};

Figures measure(int members) {
    Figures f;
    f.members = members;
    QTemporaryDir csvDir;
    const QString csv = csvDir.filePath(QStringLiteral("uyeler.csv"));
    {
        BenchCompany co(members);
        Session &s = co.session();
        s.tlonda = 2;
        fillLedger(s, members);
        addHeads(s);
        f.list = seconds([&] {
            must(generallist::build(s, memberCode(1), memberCode(members), Base, 2.0).has_value(),
                 "general list");
        });
        std::vector<double> one;
        for (int i = 0; i < 21; ++i) {
            const QString kod = memberCode(1 + i * (members - 1) / 20);
            one.push_back(seconds(
                [&] { must(statement::compute(s, kod, Base, 2.0, 0).has_value(), "statement"); }));
        }
        f.statement = median(one);
        std::vector<double> commits;
        for (int i = 0; i < 21; ++i) {
            posting::CashCollection c;
            c.kod = memberCode(1 + i * (members - 1) / 20);
            c.name = QStringLiteral("Üye Çağlar");
            c.date = QDate(2026, 3, 15);
            c.receiptNo = 1000 + i;
            c.amount = *Money::parse("250.50");
            c.settingsExist = false;
            commits.push_back(
                seconds([&] { must(posting::postCashCollection(s, c).committed, "collection"); }));
        }
        f.collection = median(commits);
        bulkdebt::Request r{QStringLiteral("2026"), 6, 6, memberCode(1), memberCode(members), {}};
        r.amounts.fill(*Money::parse("850.25"));
        f.bulk = seconds([&] { must(bulkdebt::run(s, r).has_value(), "bulk dues"); });
        int rows = 0;
        must(transfer::exportFile(s, transfer::Kind::Members, transfer::Format::Csv, csv, &rows) &&
                 rows == members,
             "export of the cards");
    }
    {
        BenchCompany empty(0);
        transfer::ImportRequest request;
        request.path = csv;
        f.import = seconds([&] {
            const auto report = transfer::importFile(empty.session(), request);
            must(report && report->written && report->added == members, "import of the cards");
        });
    }
    f.peak = peakMiB();
    return f;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    std::vector<Figures> all;
    std::printf("%8s %14s %14s %14s %14s %14s %10s\n", "members", "list µs/üye", "ekstre ms",
                "tahsilat ms", "toplu µs/üye", "aktarım µs/üye", "tepe MiB");
    for (const int members : Sizes) {
        const Figures f = measure(members);
        all.push_back(f);
        const double n = f.members;
        std::printf("%8d %14.1f %14.2f %14.2f %14.1f %14.1f %10.1f\n", f.members, 1e6 * f.list / n,
                    1e3 * f.statement, 1e3 * f.collection, 1e6 * f.bulk / n, 1e6 * f.import / n,
                    f.peak);
        std::fflush(stdout);
    }
    // Flat: the largest company's cost per member within 1.3 times the
    // smallest's.
    const Figures &small = all.front(), &large = all.back();
    const auto growth = [&](double Figures::*cost, bool perMember) {
        const double a = small.*cost / (perMember ? small.members : 1),
                     b = large.*cost / (perMember ? large.members : 1);
        return b / a;
    };
    std::printf("growth %d -> %d members (goal <= 1.3 each): list %.2f, statement %.2f, "
                "collection %.2f, bulk dues %.2f, import %.2f\n",
                small.members, large.members, growth(&Figures::list, true),
                growth(&Figures::statement, false), growth(&Figures::collection, false),
                growth(&Figures::bulk, true), growth(&Figures::import, true));
    return 0;
}
