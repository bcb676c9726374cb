#pragma once

#include "core/company.h"
#include "data/cardtotals.h"
#include "data/cashbox.h"
#include "data/koopdata.h"

#include <optional>
#include <vector>

// One user action that writes: the write lock on the company's databases
// (BEGIN IMMEDIATE on SQLite files, BEGIN and the schema's lock on a
// server), committed durably at the end, rolled back when it is abandoned. A
// crash, a kill or a lost server in the middle leaves nothing of the action.
// Reference codes drawn in it are unique across desks because the write lock
// is held while drawing.
//
// The two databases commit one after the other (xdata, then dalun); each is
// atomic on its own.
class UnitOfWork {
  public:
    enum Databases { Data = 1, Koop = 2, Both = 3 };

    explicit UnitOfWork(Company &company, int databases = Both);
    ~UnitOfWork();
    UnitOfWork(const UnitOfWork &) = delete;
    UnitOfWork &operator=(const UnitOfWork &) = delete;

    // False when the databases could not be locked; the message has been
    // shown and the action must not run.
    [[nodiscard]] bool active() const { return m_active; }

    // The company the action writes to.
    Company &company() const { return m_company; }

    // A new reference code (first character code 21 or 1), drawn from the
    // counters in genel.
    QString reference(int firstCharacter);

    // Moves bucket 0 of the member's card by a new posting: the debit total
    // when `debit`, else the credit total (data::CardTotals). False when
    // there is no card, or when the totals would leave the range of an
    // amount (*overflow set, nothing added).
    [[nodiscard]] bool addToBucket(const QString &kod, bool debit, Money amount, bool *overflow);

    // Adds to a cash box's day total exactly when the action is stored:
    // noted in the day file's journal before the commit, written after
    // (cashbox::DayTotalJournal).
    void addToDayTotal(const QString &dayFile, const QDate &date, Money amount,
                       const QString &refer);
    // After a commit: a day total could not be written and waits in its
    // journal for the next opening (the clerk has been told).
    [[nodiscard]] bool dayTotalsPending() const { return m_dayTotalsPending; }

    // True once a statement failed in a way that ends the action (the disk,
    // a lock, a damaged file, a lost connection): nothing more is written,
    // and commit() rolls back and says why, once.
    [[nodiscard]] bool over() const;
    // What ended it, or Failure::None.
    data::Failure failure() const;

    // False when the data was not stored, or, in an action on the settings
    // alone, the settings. The settings of an action on both files commit
    // second: settingsStored() tells whether they were.
    [[nodiscard]] bool commit();
    [[nodiscard]] bool settingsStored() const { return m_settingsStored; }
    // Why they were not.
    data::Failure settingsFailure() const { return m_settingsFailure; }
    void rollback();

  private:
    Company &m_company;
    int m_databases;
    bool m_active = false;
    bool m_settingsStored = false;
    data::Failure m_settingsFailure = data::Failure::None;
    QDate m_today; // the date letters of every code drawn in the action
    std::optional<data::Counters> m_counters;
    bool m_countersUnsafe = false;
    data::CardTotals m_cardTotals;
    std::vector<std::unique_ptr<cashbox::DayTotalJournal>> m_dayTotals;
    bool m_dayTotalsPending = false;
    void fail();
    [[nodiscard]] bool prepareDayTotals();
    void dropDayTotals();
};

// Whether a collection with this reference is stored (its cash-box row);
// nothing when the company cannot tell.
[[nodiscard]] std::optional<bool> collectionStored(Company &company, const QString &refer);

// Settles what desks stopped half-way left in the day files' journals.
// False after a message when a journal cannot be settled.
[[nodiscard]] bool settleDayTotals(Company &company);

// Draws a reference code in an action of its own; empty when the code could
// not be stored.
[[nodiscard]] QString drawReference(Company &company, int firstCharacter);
