#pragma once

#include "base/ledger.h"
#include "base/money.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <vector>

// The member's running balance and the monthly late-payment surcharge
// ("G.Zammı") on the principal still open: the one calculation behind every
// surcharge the statement, the general list and the accounting integration
// show or post. Pure code: the caller reads the ledger and fills its grid.
namespace surcharge {

inline constexpr char16_t ClosingCaption[] = u"****Son Bakiye****";

// The engine reads a member's ledger items in the statement query's order.
using LedgerItem = ledger::Item;
using ledger::inQueryOrder;

struct Params {
    QDate baseDate;  // the statement runs up to this date
    double faiz = 0; // monthly rate in per cent, the settings' Single field
    int tlonda = 2;  // money decimals the surcharge is rounded to
    int asd = 0;     // card kind; 2 and above accrue no surcharge
};

// One row of the statement table. An empty cell (nullopt) is not 0: the
// closing row leaves Borç, Ödenen and the principal empty, and an empty
// ledger leaves every amount of it empty.
struct StatementRow {
    QString ack;                        // "Açıklama"
    QDate vade;                         // "Vade"; invalid on the closing row
    std::optional<Money> devir;         // "Devir": the previous row's Kalan
    std::optional<Money> faiz;          // "G.Zammı": posted or computed surcharge
    std::optional<Money> borc;          // "Borç"
    std::optional<Money> odeme;         // "Ödenen"
    std::optional<Money> kalan;         // "Kalan": Devir + G.Zammı + Borç − Ödenen
    std::optional<Money> openPrincipal; // hidden: interest-bearing principal after the row
    QString evrak;                      // hidden: receipt number of a cash collection
    // Payment rows (Ödenen above 0) only: the carried surcharge this payment
    // settled, which the integration posts with the row's due date.
    std::optional<Money> surchargeCleared;
};

struct Statement {
    std::vector<StatementRow> rows; // the items in the given order, then the closing row
    Money finalBalance;             // the closing row's Kalan, 0 when it is empty
    // G.Zammı, Borç and Ödenen summed over all rows, closing row included.
    Money totalSurcharge;
    Money totalDebt;
    Money totalPaid;

    // Some figure left the range of an amount (see Money): none of them may
    // be shown as a figure.
    bool outOfRange() const;
};

// Runs the statement over the member's items, given in query order. Nothing
// when the base date is not a valid date ("Hatalı İşlem Tarihi..." for the
// screen, whose table stays as it was).
std::optional<Statement> compute(const std::vector<LedgerItem> &items, const Params &params);

// The open principal at the end of a statement, split by how long each part
// has been overdue at the base date. Payments settle the oldest debts first,
// so what is still open is the newest debts' amounts, as much of them as the
// principal covers; a debt not yet due counts as 0 days overdue. Nothing is
// open when the principal is 0 or below (an overpayment).
struct OpenDebt {
    QDate vade;
    Money amount; // the part of this debt still open
};
std::vector<OpenDebt> openDebts(const Statement &statement);

// The five ages: 0–30, 31–90, 91–180, 181–365 and over 365 days overdue.
inline constexpr int AgeCount = 5;
using Ages = std::array<Money, AgeCount>;
// The age (0 to 4) of a debt `days` overdue.
int ageOf(int days);
// The open principal by age; the five sum to the principal left open.
Ages ages(const Statement &statement, const QDate &baseDate);
// The open principal due before the base date less `months` months: what
// has been owed for more than that many months.
Money openOlderThan(const Statement &statement, const QDate &baseDate, int months);

// year × 12 + month: the months between two dates are the month boundaries
// crossed, whatever the days.
int monthIndex(const QDate &date);

} // namespace surcharge
