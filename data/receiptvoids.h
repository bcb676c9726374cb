#pragma once

#include "base/money.h"
#include "data/database.h"

#include <QDate>
#include <QString>
#include <vector>

// Voided receipts: a collection is never altered or deleted; a void writes
// its reversal under a reference of its own and records the number, why and
// by when in the program's own table `fisiptal` (dalun.dat), made at its
// first use.
namespace data {

// One ledger credit of a collection, as its reversal needs it.
struct CollectedRow {
    QString kod;
    QString kod1; // the dues head, or empty at the cash desk
    Money tutar;
    QString refer;
};

// One integration row a collection wrote.
struct CollectedEntry {
    QString muhkod;
    QString ba;
    Money tutar;
    double mik = 0;
    int yer = 0;
};

// A collection as its cash-box row holds it, with the rows that went with it.
struct StoredCollection {
    QString refer; // of the cash-box row
    QString evrak; // the receipt number
    QString carkod;
    QString ack; // the cash-box row's description: the member's name
    Money tutar;
    int kasa = 1;
    QDate tarih;
    // The cash desk's shares its reference with the ledger and integration
    // rows and raised its day total; one by dues head has a ledger row per
    // head, each under a reference of its own, and did neither.
    bool byHead = false;
    std::vector<CollectedRow> ledger;
    std::vector<CollectedEntry> integration;
};

// The collections whose cash-box row carries receipt number `evrak` (their
// reversals' rows left out), in the order they were stored. False when the
// company cannot be read.
[[nodiscard]] bool findCollections(Database &data, const QString &evrak,
                                   std::vector<StoredCollection> *out);

struct VoidedReceipt {
    qint32 receiptNo = 0; // `makbuz`
    QDate date;           // `tarih`: the day the void counts on
    QString kod;
    QDate receiptDate; // `mtarih`
    Money tutar;
    QString reason; // `neden`, up to ReasonLength characters
    QString refer;  // the collection's cash-box reference
    QString voidRefer;
};
constexpr int ReasonLength = 60;

// Inside the action under way on dalun.dat.
[[nodiscard]] bool recordVoidedReceipt(Database &koop, const VoidedReceipt &v);
// The voids whose date lies between `from` and `to` (either may be invalid:
// no bound), by date and number. False when the table cannot be read; none
// while it was never made.
[[nodiscard]] bool readVoidedReceipts(Database &koop, const QDate &from, const QDate &to,
                                      std::vector<VoidedReceipt> *out);
// Whether the collection of this cash-box reference was voided: recorded in
// the list, or its reversal stored beside it (the list commits second). False
// when that cannot be read (*unreadable set).
[[nodiscard]] bool isVoided(Database &koop, Database &data, const StoredCollection &c,
                            bool *unreadable);

} // namespace data
