#pragma once

#include "core/unitofwork.h"
#include "data/receiptvoids.h"

// The void of a collection: the reversal of every row it wrote, under one
// new reference code, in the action it is given. The collection's own rows
// stay as they are.
namespace posting {

struct CollectionVoid {
    data::StoredCollection collection;
    QDate date;     // the void counts on this day
    QString reason; // the clerk's, up to data::ReasonLength characters
};

// A ledger debit per credit of the collection, naming it in `krefer` (the
// balance buckets stay, as a collection never moved them); a cash-box row of
// the amount taken back; the integration rows it wrote with their sides
// swapped; the day total of the void's date lowered where the collection
// raised one; and the void in the list. The void's reference code, or empty
// when a row could not be written: the action must then not commit.
QString postVoid(UnitOfWork &work, const CollectionVoid &v);

// The description of the void's ledger and integration rows.
QString voidDescription(const QString &receiptNo);

} // namespace posting
