// The member statement with its late-payment surcharge: the figures the
// desk shows, the general list totals and the integration posts.
#include "surcharge/engine.h"

#include "base/daynumber.h"
#include "support/qtprint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

// Readable failure output for amounts (found by argument lookup, so global).
inline void PrintTo(const Money &value, std::ostream *os) {
    *os << value.toPlain().toStdString();
}

namespace {

using surcharge::LedgerItem;
using surcharge::Params;
using surcharge::Statement;
using surcharge::StatementRow;

using Cell = std::optional<Money>;
const Cell None = std::nullopt;

Money m(const QString &text) {
    const std::optional<Money> v = Money::parse(text);
    EXPECT_TRUE(v.has_value()) << text.toStdString();
    return v.value_or(Money());
}
Cell c(const char *text) {
    return m(QString::fromUtf8(text));
}
Money orZero(const Cell &c) {
    return c.value_or(Money());
}

QDate d(const char *text) {
    return parseTrDate(QString::fromUtf8(text));
}

// Entered long before any base date the tests use, unless `tarih` names the
// entry date ("" for none), so the entry-date filter only bites where a test
// says so.
LedgerItem debit(const char *vade, const char *amount, int islem = 4,
                 const char *tarih = "01.01.2000") {
    return {d(tarih), d(vade), 0, islem, *c(amount), QStringLiteral("Aidat"), QString(), QString()};
}
LedgerItem posted(const char *vade, const char *amount) {
    LedgerItem item = debit(vade, amount, 16);
    item.ack = QStringLiteral("Gecikme Zammı");
    return item;
}
LedgerItem credit(const char *vade, const char *amount, int islem = 1, const char *evrak = "") {
    LedgerItem item = debit(vade, amount, islem);
    item.ba = 1;
    item.ack = QStringLiteral("Tahsilat");
    item.evrak = QString::fromUtf8(evrak);
    return item;
}

// A collection under its reference, and the row that voids it later.
LedgerItem collection(const char *vade, const char *amount, const char *refer) {
    LedgerItem item = credit(vade, amount, 1, "42");
    item.link = QString::fromUtf8(refer);
    return item;
}
LedgerItem reversal(const char *vade, const char *amount, const char *refer) {
    LedgerItem item = debit(vade, amount, 1, vade);
    item.ack = QStringLiteral("42 Nolu Makbuz İptali");
    item.link = QString::fromUtf8(refer);
    return item;
}

Params at(const char *base, double faiz = 2, int asd = 0, int tlonda = 2) {
    return {d(base), faiz, tlonda, asd};
}

Statement run(const std::vector<LedgerItem> &items, const Params &params) {
    const std::optional<Statement> s = surcharge::compute(items, params);
    EXPECT_TRUE(s.has_value());
    return s.value_or(Statement());
}

// Devir, G.Zammı, Borç, Ödenen, Kalan, then the open principal and the
// surcharge cleared after the row; written as text with "-" for an empty cell.
using Row = std::vector<Cell>;
std::vector<Row> table(const Statement &s) {
    std::vector<Row> out;
    for (const StatementRow &r : s.rows)
        out.push_back(
            {r.devir, r.faiz, r.borc, r.odeme, r.kalan, r.openPrincipal, r.surchargeCleared});
    return out;
}
std::vector<Row> table(const std::vector<const char *> &rows) {
    std::vector<Row> out;
    for (const char *row : rows) {
        out.emplace_back();
        for (const QString &cell : QString::fromUtf8(row).split(u' ', Qt::SkipEmptyParts))
            out.back().push_back(cell == u"-" ? None : Cell(m(cell)));
    }
    return out;
}

TEST(Statement, RowsCellByCell) {
    const struct {
        const char *name;
        std::vector<LedgerItem> items;
        Params params;
        std::vector<const char *> rows;
    } cases[] = {
        {"worked statement",
         {debit("15.01.2024", "100"), debit("15.02.2024", "100"), credit("20.03.2024", "150")},
         at("10.05.2024"),
         {"0 0 100 0 100 100 -", "100 2 100 0 202 200 -", "202 4 0 150 56 56 6",
          "56 2.24 - - 58.24 - -"}},
        // The payment clears its surcharge first; three months on the 2.00 left open.
        {"payment the next month",
         {debit("31.01.2024", "100"), credit("01.02.2024", "100")},
         at("10.05.2024"),
         {"0 0 100 0 100 100 -", "100 2 0 100 2 2 2", "2 0.12 - - 2.12 - -"}},
        // Two months on 100 only; the payment settles 5 + 4 before any principal.
        {"posted surcharge is paid first and bears none",
         {debit("15.01.2024", "100"), posted("15.01.2024", "5"), credit("15.03.2024", "50")},
         at("15.04.2024"),
         {"0 0 100 0 100 100 -", "100 5 0 0 105 100 -", "105 4 0 50 59 59 9",
          "59 1.18 - - 60.18 - -"}},
        {"no ledger", {}, at("10.05.2024"), {"- - - - - - -"}},
        // A credit of 0 or below is no payment: it clears no surcharge.
        {"negative credit",
         {posted("15.01.2024", "5"), credit("15.01.2024", "-30"), credit("15.01.2024", "0")},
         at("15.01.2024"),
         {"0 5 0 0 5 0 -", "5 0 0 -30 35 0 -", "35 0 0 0 35 0 -", "35 - - - 35 - -"}},
        // 4 of the 10 carried, then the other 6 before any principal.
        {"part payment of surcharge",
         {posted("15.01.2024", "10"), debit("15.01.2024", "100"), credit("15.01.2024", "4"),
          credit("15.01.2024", "20")},
         at("15.01.2024"),
         {"0 10 0 0 10 0 -", "10 0 100 0 110 100 -", "110 0 0 4 106 100 4", "106 0 0 20 86 86 6",
          "86 - - - 86 - -"}},
        // The worked statement with its payment voided on 05.04: shown and
        // taken back, the surcharge runs on 200 as if nothing had been paid
        // (three months from 15.02, 12.00), the paid total back to 0.
        {"voided payment",
         {debit("15.01.2024", "100"), debit("15.02.2024", "100"),
          collection("20.03.2024", "150", "1ABCDEFG"), reversal("05.04.2024", "150", "1ABCDEFG")},
         at("10.05.2024"),
         {"0 0 100 0 100 100 -", "100 2 100 0 202 200 -", "202 0 0 150 52 200 -",
          "52 0 0 -150 202 200 -", "202 12 - - 214 - -"}},
        // Before the void was entered the payment stands; a reversal of
        // another collection leaves this one alone.
        {"void entered after the base date",
         {debit("15.01.2024", "100"), debit("15.02.2024", "100"),
          collection("20.03.2024", "150", "1ABCDEFG"), reversal("05.04.2024", "150", "1ABCDEFG")},
         at("31.03.2024"),
         {"0 0 100 0 100 100 -", "100 2 100 0 202 200 -", "202 4 0 150 56 56 6",
          "56 - - - 56 - -"}},
        // A reversal naming no collection of the member is a debt like any.
        {"reversal of another collection",
         {debit("15.01.2024", "100"), reversal("15.02.2024", "30", "1XXXXXXX"),
          collection("15.02.2024", "50", "1ABCDEFG")},
         at("15.03.2024"),
         {"0 0 100 0 100 100 -", "100 2 30 0 132 130 -", "132 0 0 50 82 82 2",
          "82 1.64 - - 83.64 - -"}},
    };
    for (const auto &k : cases)
        EXPECT_EQ(table(run(k.items, k.params)), table(k.rows)) << k.name;
}

TEST(Statement, InvalidBaseDateComputesNothing) {
    EXPECT_FALSE(surcharge::compute({debit("15.01.2024", "100")}, Params{}).has_value());
    EXPECT_FALSE(surcharge::compute({}, at("31.02.2024")).has_value());
}

// Açıklama and Vade, and the receipt number of a cash collection only.
TEST(Statement, TextColumnsAndTheReceiptNumberOfCashCollections) {
    const Statement s =
        run({credit("01.01.2024", "10", 1, "77"), credit("01.01.2024", "10", 3, "78")},
            at("01.01.2024"));
    QStringList texts;
    for (const StatementRow &r : s.rows)
        texts << r.ack + u'|' + r.vade.toString(u"dd.MM.yyyy") + u'|' + r.evrak;
    EXPECT_EQ(texts, QStringList({"Tahsilat|01.01.2024|77", "Tahsilat|01.01.2024|",
                                  "****Son Bakiye****||"}));
}

// What the closing row ends with, for ledgers that can go wrong.
TEST(Statement, ClosingRowEndsWithTheExpectedBalance) {
    const struct {
        const char *name;
        std::vector<LedgerItem> items;
        Params params;
        Cell closingFaiz;
        const char *finalBalance;
        const char *totalSurcharge;
    } cases[] = {
        // clang-format off
        {"ThreeMonths", {debit("15.03.2024", "100.00")}, at("10.06.2024"), c("6.00"), "106.00", "6"},
        {"PostedOnTheBaseDateIsReplaced", {debit("15.01.2024", "100"), posted("15.02.2024", "3")}, at("15.02.2024"), None, "102", "2"},
        // Entered after the base date or never: left out.
        {"EnteredLaterLeftOut", {debit("01.01.2024", "70", 4, "11.05.2024"), debit("01.02.2024", "30", 4, "10.05.2024"), debit("01.02.2024", "40", 4, "")}, at("10.05.2024", 0), c("0"), "30", "0"},
        {"SameMonthBearsNothing", {debit("01.03.2024", "100")}, at("31.03.2024"), None, "100", "0"},
        {"MonthBoundaryIsAMonth", {debit("31.01.2024", "100")}, at("01.02.2024"), c("2"), "102", "2"},
        {"AcrossTheYear", {debit("15.12.2023", "100")}, at("15.01.2024"), c("2"), "102", "2"},
        {"DueAfterTheBaseDate", {debit("15.06.2024", "100")}, at("10.05.2024"), None, "100", "0"},
        {"SameDueDateNoSpan", {debit("15.01.2024", "100"), credit("15.01.2024", "100")}, at("15.04.2024"), None, "0", "0"},
        {"Overpaid", {debit("15.01.2024", "100"), credit("15.01.2024", "150")}, at("15.04.2024"), None, "-50", "0"},
        {"SellerAccrues", {debit("15.01.2024", "100")}, at("15.02.2024", 2, 1), c("2"), "102", "2"},
        {"OtherKindNever", {debit("15.01.2024", "100"), posted("15.02.2024", "5")}, at("15.06.2024", 2, 2), None, "105", "5"},
        {"KindThreeNever", {debit("15.01.2024", "100")}, at("15.06.2024", 2, 3), None, "100", "0"},
        {"ZeroRateChargesZero", {debit("15.01.2024", "100")}, at("15.06.2024", 0), c("0"), "100", "0"},
        {"ZeroRateWipesPosted", {debit("15.01.2024", "100"), posted("15.02.2024", "5")}, at("15.02.2024", 0), None, "100", "0"},
        {"RoundsUpFromHalf", {debit("15.01.2024", "617.23")}, at("15.02.2024"), c("12.35"), "629.58", "12.35"},
        {"RoundsDownBelowHalf", {debit("15.01.2024", "617.22")}, at("15.02.2024"), c("12.34"), "629.56", "12.34"},
        {"WholeUnitsHalfGoesUp", {debit("15.01.2024", "125")}, at("15.02.2024", 2, 0, 0), c("3"), "128", "3"},
        {"WholeUnitsBelowHalf", {debit("15.01.2024", "124.97")}, at("15.02.2024", 2, 0, 0), c("2"), "126.97", "2"},
        // 2.1 held as a Single is 2.0999999…: 210.5145 falls just below the half.
        {"SingleRate", {debit("15.01.2024", "10024.50")}, at("15.02.2024", 2.1), c("210.51"), "10235.01", "210.51"},
        {"NegativeDebtNoPrincipal", {debit("15.01.2024", "-50")}, at("15.04.2024"), None, "-50", "0"},
        {"NegativeDebtKeepsPrincipal", {debit("15.01.2024", "100"), debit("15.01.2024", "-50")}, at("15.02.2024"), c("2"), "52", "2"},
        {"NegativeCreditKeepsPrincipal", {debit("15.01.2024", "100"), credit("15.01.2024", "-30")}, at("15.02.2024"), c("2"), "132", "2"},
        {"UndatedItemStartsNoSpan", {debit("", "100")}, at("15.04.2024"), None, "100", "0"},
        {"UndatedPrincipalBearsLater", {debit("", "100"), debit("15.01.2024", "100")}, at("15.03.2024"), c("8"), "208", "8"},
        // clang-format on
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        const Statement s = run(k.items, k.params);
        EXPECT_EQ(s.rows.back().faiz, k.closingFaiz);
        EXPECT_EQ(s.finalBalance, *c(k.finalBalance));
        EXPECT_EQ(s.totalSurcharge, *c(k.totalSurcharge));
    }
}

TEST(QueryOrder, DueDateThenSideThenOperation) {
    std::vector<LedgerItem> items{credit("01.02.2024", "1"), posted("01.02.2024", "2"),
                                  debit("01.02.2024", "3"), debit("01.01.2024", "4"),
                                  debit("", "5")};
    std::stable_sort(items.begin(), items.end(), surcharge::inQueryOrder);
    const char *want[] = {"5", "4", "3", "2", "1"};
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i].tutar, *c(want[i]));
}

// Random ledgers of one member, the same for every run.
struct RandomLedger {
    std::vector<LedgerItem> items;
    Params params;
};

RandomLedger randomLedger(std::mt19937 &rng) {
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    RandomLedger r;
    const QDate first(2023, 1, 1);
    r.params.baseDate = first.addDays(pick(0, 900));
    const double rates[] = {0, 1.5, 2, 3.75, 0.1};
    r.params.faiz = rates[pick(0, 4)];
    r.params.tlonda = pick(0, 1) * 2;
    r.params.asd = pick(0, 9) < 7 ? pick(0, 1) : pick(2, 3);
    const int n = pick(0, 30);
    for (int i = 0; i < n; ++i) {
        LedgerItem item;
        item.vade = pick(0, 40) == 0 ? QDate() : first.addDays(pick(0, 900));
        item.tarih = first.addDays(pick(0, 900));
        item.ba = pick(0, 1);
        const int debitCodes[] = {4, 4, 16, 2};
        const int creditCodes[] = {1, 1, 3};
        item.islem = item.ba == 0 ? debitCodes[pick(0, 3)] : creditCodes[pick(0, 2)];
        int64_t hundredths = pick(0, 500000);
        if (pick(0, 19) == 0)
            hundredths = -hundredths;
        item.tutar = Money::fromUnits(hundredths * 100);
        item.evrak = QString::number(i);
        r.items.push_back(item);
    }
    std::stable_sort(r.items.begin(), r.items.end(), surcharge::inQueryOrder);
    return r;
}

TEST(StatementProperty, RandomLedgersKeepTheirBooks) {
    std::mt19937 rng(20240510);
    for (int round = 0; round < 500; ++round) {
        SCOPED_TRACE(round);
        const RandomLedger r = randomLedger(rng);
        std::vector<LedgerItem> kept;
        for (const LedgerItem &item : r.items)
            if (item.tarih <= r.params.baseDate)
                kept.push_back(item);
        const Statement s = run(r.items, r.params);
        ASSERT_EQ(s.rows.size(), kept.size() + 1);

        Money previousKalan, previousPrincipal, charged, cleared, debts, paid;
        for (size_t i = 0; i < s.rows.size(); ++i) {
            const StatementRow &row = s.rows[i];
            const bool closing = i == kept.size();
            // Balances chain from row to row; the empty ledger has no Devir.
            if (!kept.empty()) {
                EXPECT_EQ(row.devir, Cell(previousKalan));
                EXPECT_EQ(orZero(row.kalan), orZero(row.devir) + orZero(row.faiz) +
                                                 orZero(row.borc) - orZero(row.odeme));
            }
            charged += orZero(row.faiz);
            debts += orZero(row.borc);
            paid += orZero(row.odeme);
            if (r.params.asd >= 2) {
                const bool isPosted = !closing && kept[i].ba == 0 && kept[i].islem == 16;
                EXPECT_EQ(orZero(row.faiz), isPosted ? kept[i].tutar : Money());
            }
            if (closing)
                break;
            const LedgerItem &item = kept[i];
            // The principal only grows by an ordinary debt, never by surcharge.
            if (item.ba == 0 && item.islem == 16) {
                EXPECT_EQ(row.openPrincipal, Cell(previousPrincipal));
            }
            if (*row.openPrincipal > previousPrincipal) {
                EXPECT_TRUE(item.ba == 0 && item.islem != 16);
            }
            EXPECT_EQ(row.surchargeCleared.has_value(), item.ba != 0 && item.tutar > Money());
            if (row.surchargeCleared) {
                EXPECT_LE(*row.surchargeCleared, item.tutar);
                cleared += *row.surchargeCleared;
                EXPECT_LE(cleared, charged);
            }
            previousKalan = *row.kalan;
            previousPrincipal = *row.openPrincipal;
        }
        EXPECT_EQ(s.finalBalance, orZero(s.rows.back().kalan));
        EXPECT_EQ(s.totalSurcharge, charged);
        EXPECT_EQ(s.totalDebt, debts);
        EXPECT_EQ(s.totalPaid, paid);
        // The ages share out exactly the principal left open.
        Money aged;
        for (const Money &a : surcharge::ages(s, r.params.baseDate))
            aged += a;
        EXPECT_EQ(aged, std::max(previousPrincipal, Money()));
    }
}

TEST(Aging, OpenPrincipalByHowLongItIsOverdue) {
    const std::vector<LedgerItem> five{debit("01.01.2023", "100"), debit("01.10.2023", "100"),
                                       debit("01.03.2024", "100"), debit("01.05.2024", "100"),
                                       debit("15.06.2024", "100")};
    const auto with = [&](std::vector<LedgerItem> extra) {
        std::vector<LedgerItem> items = five;
        items.insert(items.end(), extra.begin(), extra.end());
        std::stable_sort(items.begin(), items.end(), surcharge::inQueryOrder);
        return items;
    };
    const struct {
        const char *name;
        std::vector<LedgerItem> items;
        const char *ages; // 0–30, 31–90, 91–180, 181–365, over 365
        const char *olderThanThreeMonths;
    } cases[] = {
        // clang-format off
        // Not yet due counts as 0 days; each debt falls in its own age.
        {"EveryAge", five, "100 100 100 100 100", "300"},
        // Payments settle the oldest first: the newest stay open.
        {"PaidOldestFirst", with({credit("01.06.2024", "250")}), "100 100 50 0 0", "50"},
        {"PaidUp", with({credit("01.06.2024", "500")}), "0 0 0 0 0", "0"},
        {"Overpaid", with({credit("01.06.2024", "900")}), "0 0 0 0 0", "0"},
        // A posted surcharge is no principal; a negative debit lowers none.
        {"PostedAndNegative", with({posted("01.06.2024", "40"), debit("01.06.2024", "-60")}), "100 100 100 100 100", "300"},
        // 50 left of the February debt, 116 days old.
        {"PartPaid", {debit("15.01.2024", "100"), debit("15.02.2024", "100"), credit("20.03.2024", "150")}, "0 0 50 0 0", "50"},
        {"NoItems", {}, "0 0 0 0 0", "0"},
        // clang-format on
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        const Statement s = run(k.items, at("10.06.2024", 0));
        const surcharge::Ages got = surcharge::ages(s, d("10.06.2024"));
        const std::vector<Row> want = table({k.ages});
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], orZero(want[0][i])) << i;
        EXPECT_EQ(surcharge::openOlderThan(s, d("10.06.2024"), 3), m(k.olderThanThreeMonths));
    }
    // Each age's last day.
    const int bounds[][2] = {{-5, 0},  {30, 0},  {31, 1},  {90, 1}, {91, 2},
                             {180, 2}, {181, 3}, {365, 3}, {366, 4}};
    for (const auto &b : bounds)
        EXPECT_EQ(surcharge::ageOf(b[0]), b[1]) << b[0];
}

TEST(StatementProperty, PostedSurchargeAloneNeverAccrues) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        RandomLedger r = randomLedger(rng);
        r.params.asd = 0;
        r.params.faiz = 2;
        for (LedgerItem &item : r.items)
            if (item.ba == 0)
                item.islem = 16;
        const Statement s = run(r.items, r.params);
        EXPECT_EQ(s.rows.back().faiz, None);
        for (const StatementRow &row : s.rows)
            EXPECT_LE(orZero(row.openPrincipal), Money());
    }
}

} // namespace
