#pragma once

#include "base/ledger.h"
#include "data/xbase.h"

#include <optional>
#include <vector>

namespace data {

// One `carhar` row as the program writes it. What never varies is not here:
// `vade` is always `tarih`, and `pls`, `dtip`, `kur`, `kapanan`, `puan`,
// `sube` and `para` are always empty or 0.
struct LedgerRow {
    QString kod;
    QDate tarih;
    int islem = 0; // ledger::Islem, stored as one byte
    QString evrak;
    int ba = ledger::Debit;
    Money tutar; // never negative: the side is in `ba` alone
    QString ack;
    QString kod1; // the dues head "1".."5", or empty
    Money doviz;  // the amount again on a debt, 0 on a collection
    QString refer;
    int kasa = 0;   // the cash-box number of a collection
    QString krefer; // a void's reversal: the reference of the row it cancels
};

// Adds the row on the open `carhar` cursor; false when the amount is negative
// or the row could not be stored. The caller says what failed.
[[nodiscard]] bool writeLedgerRow(TableCursor &carhar, const LedgerRow &row);

// The member's items entered up to `upTo`, in the statement's order (due
// date, side, operation code, entry). False after "Sql Rapor Yaratılamıyor"
// when the query fails.
[[nodiscard]] bool readLedger(Database &db, const QString &kod, const QDate &upTo,
                              std::vector<ledger::Item> *items, Messages &messages);

// The items of several members at once, one query for them all: `items`
// gets each code's items, in the order of `codes`, as readLedger reads them.
// A code without items gets none. False after "Sql Rapor Yaratılamıyor" when
// the query fails.
[[nodiscard]] bool readLedgers(Database &db, const std::vector<QString> &codes, const QDate &upTo,
                               std::vector<std::vector<ledger::Item>> *items, Messages &messages);

// A member's totals of one sub-account (`kod1` as stored) up to a date.
struct SubAccountTotal {
    QString kod1;
    Money debit, credit;
};
// The member's debits and credits entered up to `upTo`, per sub-account in
// its text order. False after "Sql Rapor Yaratılamıyor" when the query fails.
[[nodiscard]] bool readSubAccountTotals(Database &db, const QString &kod, const QDate &upTo,
                                        std::vector<SubAccountTotal> *totals, Messages &messages);

// Every account's totals per sub-account, by code, then sub-account. False
// after "Sql Rapor Yaratılamıyor" when the query fails.
struct AccountSubTotal {
    QString kod;
    SubAccountTotal total;
};
[[nodiscard]] bool readAllSubAccountTotals(Database &db, std::vector<AccountSubTotal> *totals,
                                           Messages &messages);

// The members with debts (`islem` 4) described by one of `descriptions`:
// within the codes given (cards of kind 0 only), on the day given (when
// valid). Their codes in order, and one of the descriptions found.
struct PostedDebts {
    std::vector<QString> codes;
    QString example;
};
[[nodiscard]] bool readPostedDebts(Database &db, const QStringList &descriptions,
                                   const std::optional<std::pair<QString, QString>> &codes,
                                   const QDate &date, PostedDebts *out);

// A ledger row as the accounting integration hands it over: whose it is, how
// much and what it says.
struct PostedItem {
    QString kod;
    Money tutar;
    QString ack;
};
// The rows of one operation code on one side (`credit`: any side but the
// debit) entered between two dates, both included, in entry order. False
// after "Sql Rapor Yaratılamıyor" when the query fails.
[[nodiscard]] bool readPostedItems(Database &db, int islem, bool credit, const QDate &from,
                                   const QDate &to, std::vector<PostedItem> *items,
                                   Messages &messages);

// The reversals of voided collections entered between two dates, both
// included, in entry order (a debit under the collection's code naming a
// collection of the same member). False after "Sql Rapor Yaratılamıyor".
[[nodiscard]] bool readReversals(Database &db, const QDate &from, const QDate &to,
                                 std::vector<PostedItem> *items, Messages &messages);

// What the cash boxes took each day between two dates, both included: the
// day's cash-box rows, a void's negative row netting its collection out and
// a paying-out row (side 1) taken off. Only the days with rows, in date
// order. False after "Sql Rapor Yaratılamıyor".
struct CashDay {
    QDate tarih;
    Money total;
};
[[nodiscard]] bool readCashDays(Database &db, const QDate &from, const QDate &to,
                                std::vector<CashDay> *days, Messages &messages);

} // namespace data
