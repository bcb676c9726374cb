#pragma once

#include "base/ledger.h"
#include "core/unitofwork.h"

#include <QDate>

// The writers of the member ledger (carhar) and the cash box (kasa). Every
// later reader relies on their value rules: tutar never negative, the side
// in ba alone, vade equal to tarih, islem 4 for a debt and 1 for a collection.
namespace posting {

// Each writer is one step of the action it is given.

// One debt row, with the card's balance bucket 0 raised by the amount. A row
// that cannot be stored says "Cari Hesap Yazılamıyor."; false then. On a
// server the row may be sent with the next ones: true then means taken, and
// a row the server refuses says so when it is sent.
[[nodiscard]] bool PostDebt(UnitOfWork &work, const QString &refer, bool credit, const QString &kod,
                            Money amount, const QString &ack, int islem, const QString &kod1,
                            const QDate &date);

// The ledger row of a collection; the balance buckets are not touched.
[[nodiscard]] bool PostCollection(UnitOfWork &work, const QString &refer, const QString &kod,
                                  const QDate &date, const QString &evrak, Money amount,
                                  const QString &ack, const QString &kod1, int kasa);

struct CashRow {
    QString carkod;
    QString evrak;
    QString ack; // cut to 35 characters and right-trimmed when stored
    Money tutar;
    int kasa = 1;
    QDate tarih;
    QString refer;
    // A void's row: the amount is stored negative, taken back out of the box.
    bool reversal = false;
};
// A cash-box row; a failure says "Kasa Kayıtları İşlenemedi".
[[nodiscard]] bool writeCashRow(UnitOfWork &work, const CashRow &row);

// The cash-box row's description: the first 35 characters, right-trimmed.
QString cashDescription(const QString &text);

} // namespace posting
