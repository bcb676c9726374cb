#pragma once

#include "core/company.h"
#include "surcharge/engine.h"

#include <QDate>

#include <functional>
#include <optional>

// Hands the cooperative's ledger over to the accounting suite: three
// independent runs, each writing rows into `ent`, from which the suite builds
// its journal. Each run that wrote rows is recorded with what it covered, so
// that a period handed over again is asked about first; when the clerk goes
// on, every row is written again.
namespace integration {

enum class Kind { Debts = 1, Collections = 2, Surcharge = 3 };

// The month a monthly-debts run covers; nothing when it is no date.
std::optional<std::pair<QDate, QDate>> debtsPeriod(const QString &year, int month);
// "Bu dönem daha önce entegre edildi (tarih saat, N satır).", when a run of
// this kind already covered part of the period; nothing otherwise.
std::optional<QString> handedOverBefore(Company &company, Kind kind, const QDate &from,
                                        const QDate &to);
// "Entegrasyon yapılsın mı?", and for debts and collections how many
// members' rows the writer will skip for want of an account code, and for
// how much: their amounts are in the total row all the same.
QString confirmation(Company &company, Kind kind, const QDate &from, const QDate &to);

// The counter accounts and descriptions the screen keeps between sessions,
// in the company's "dalun.ayr", section "reent".
struct Accounts {
    QString borchesapkod, borcack; // monthly debts: income account, description
    QString kasahesapkod, kasaack; // collections: cash account, description
    QString faizhesapkod, faizack; // paid surcharge: income account, description
};
QString accountFile(Company &company);
// Missing keys read as empty.
Accounts readAccounts(Company &company);

// The monthly surcharge rate of the settings row; 0 after "Ayarlar
// Yapılmamış..." when there is none.
double surchargeRate(Company &company);

// Each run gives the number of rows written, or nothing after the message
// that stopped it (a bad date, a missing account code, a failed query or
// commit). Every run is one action: it is stored whole or not at all.

// Where a debts or collections run is: the ledger rows gone through, of how
// many, and whose the last one was; at the end done == count.
using RowProgress = std::function<void(int done, int count, const QString &kod)>;

// The dues debts of one month: one debit per debt of a member with a card,
// then one credit of their total to `account`. The month's first day comes
// from `year` as typed; the two keys are written back before the account
// code is checked.
std::optional<int> postMonthlyDebts(Company &company, const QString &year, int month,
                                    const QString &account, const QString &description,
                                    const RowProgress &progress = {});

// The cash collections entered from `from` to `to`: one credit per
// collection of a member with a card, then one debit of their total to the
// cash `account`, all dated `to` and described by `description`.
std::optional<int> postCollections(Company &company, const QString &from, const QString &to,
                                   const QString &account, const QString &description,
                                   const RowProgress &progress = {});

// Where the surcharge run is: the card just computed, of how many.
struct SurchargeProgress {
    int done = 0;
    int count = 0;
    QString kod;
    const surcharge::Statement *statement = nullptr;
    bool byHand = false; // messages about this member follow
};
using Progress = std::function<void(const SurchargeProgress &)>;

// The surcharge members paid: every member card (kind 0) run through the
// surcharge engine up to `to`; each payment due on or after `from` that
// cleared carried surcharge gives a debit to the member and a credit to
// `account`, dated on the payment's due date. A member whose account code
// is 3 characters or shorter is named in a message instead, to be booked by
// hand.
std::optional<int> postPaidSurcharge(Company &company, const QString &from, const QString &to,
                                     const QString &account, const QString &description,
                                     double faiz, const Progress &progress = {});

} // namespace integration
