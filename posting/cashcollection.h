#pragma once

#include "core/session.h"

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
};

// Nothing happens for an amount that is not above 0. Inside an action under
// way the collection becomes part of it; else it is an action of its own.
// The receipt number is drawn under the action's write lock: the proposed
// one, unless another desk issued it meanwhile, then the next free one; so
// no number is ever issued twice.
CashCollectionResult postCashCollection(Session &session, const CashCollection &c);

} // namespace posting
