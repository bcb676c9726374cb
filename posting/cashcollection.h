#pragma once

#include "core/unitofwork.h"

// A cash collection against a numbered receipt: under one new reference
// code, the cash-box row, the member's ledger credit, two integration rows,
// the day's total in the cash-box file and the receipt counter.
namespace posting {

struct CashCollection {
    QString kod;
    QString name; // the member's name, as the screen shows it
    QDate date;
    qint32 receiptNo = 0; // the number the desk proposed
    Money amount;
    QString description = QStringLiteral("AİDAT TAHSİLATI");
    int cashBox = 1;
    bool settingsExist = true; // fisno is only stored on an existing settings row
};

struct CashCollectionResult {
    bool committed = false; // stored (or, inside a larger action, written to it)
    QString refer;
    qint32 receiptNo = 0;         // the number the receipt carries
    bool dayTotalPending = false; // stored, but its day total waits for the next opening
    bool receiptStored = false;   // the receipt counter was written
};

// Nothing happens for an amount that is not above 0. The receipt number is
// drawn under the action's write lock: the proposed one, unless another desk
// issued it meanwhile, then the next free one; so no number is ever issued
// twice.
//
// As one step of the given action (committed means written to it):
CashCollectionResult postCashCollection(UnitOfWork &work, const CashCollection &c);
// As an action of its own, committed here:
CashCollectionResult postCashCollection(Company &company, const CashCollection &c);

} // namespace posting
