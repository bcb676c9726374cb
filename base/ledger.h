#pragma once

#include "base/money.h"

#include <QDate>
#include <QString>

// The member ledger (`carhar`) as its writers and readers agree on it: what
// the operation code and the side of a row mean, and a row as the statement,
// the general list and the integration read it.
namespace ledger {

// `islem`: what a row records.
enum Islem : int {
    Collection = 1,      // a collection taken at a desk; on the debit side, with
                         // `krefer` naming the row it cancels, a voided one's reversal
    Opening = 2,         // an opening balance brought in, debit or credit
    Debt = 4,            // an assigned debt
    PostedSurcharge = 16 // a surcharge already booked as a debit
};

// `ba`: the side. The balance buckets and integration rows name it "B" or "A".
enum Side : int { Debit = 0, Credit = 1 };

// The dues head a sub-account (`kod1`) names, 1 to 5, leading zeros and
// blanks allowed; 0 for any other text (a collection taken without a head).
inline int duesHead(const QString &kod1) {
    bool ok = false;
    const int head = kod1.trimmed().toInt(&ok);
    return ok && head >= 1 && head <= 5 ? head : 0;
}

// One item of a member's ledger, as the statement query reads it.
struct Item {
    QDate tarih;   // entry date: items entered after the base date are left out
    QDate vade;    // due date: orders the statement and bounds the months
    int ba = 0;    // 0 debit (borç), anything else credit (alacak)
    int islem = 0; // PostedSurcharge on a debit, Collection on a credit
    Money tutar;   // amount
    QString ack;   // description
    QString evrak; // document number (receipt number of a cash collection)
    // What ties a voided collection to its reversal: a collection's own
    // reference, a reversal's `krefer`; empty on every other row.
    QString link;
};

// The row that reverses a voided collection: a debit under the collection's
// operation code naming the collection it cancels.
[[nodiscard]] inline bool isReversal(const Item &item) {
    return item.ba == Debit && item.islem == Collection && !item.link.isEmpty();
}

// The order of the statement query: by due date, then side (debits first),
// then the lower operation code. Undated items come first, as the database
// sorts a missing date. Callers that read the ledger unordered stable-sort
// by this.
[[nodiscard]] inline bool inQueryOrder(const Item &a, const Item &b) {
    if (a.vade != b.vade)
        return a.vade < b.vade;
    if (a.ba != b.ba)
        return a.ba < b.ba;
    return a.islem < b.islem;
}

} // namespace ledger
