#pragma once

#include <QDate>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The cash-box day file kasaN.dat: 16-byte records, record 2 the cash box's
// account code in the accounting suite, records 3..374 the day totals
// ((month - 1) * 31 + day + 2) as an 8-byte little-endian double at the
// start of the record.
namespace cashbox {

constexpr int RecordSize = 16;

// "kasa" + the cash-box number as plain decimal text + ".dat".
QString fileName(const QString &cashBoxNumber);
int dayRecord(const QDate &date);
// Record 2, trimmed; empty text when the file is missing or empty.
QString accountCode(const QString &filePath);
// Adds `amount` to the day's total, read, changed and written under a lock
// on the file so two desks adding at once never lose an addition. False when
// the file cannot be locked, read or written.
[[nodiscard]] bool addToDayTotal(const QString &filePath, const QDate &date, double amount);
// The stored day total (0 for a record beyond the end).
double dayTotal(const QString &filePath, const QDate &date);

// Whether the collection of a reference code is stored; nothing when that
// cannot be told.
using Stored = std::function<std::optional<bool>(const QString &refer)>;

// The journal beside a day file ("kasa1.dat" + ".bekleyen").
QString journalFile(const QString &dayFile);
// The lock a desk holds on a day file from before its commit until the day
// total is written; a backup holds it too, so that it copies no half day.
QString lockFile(const QString &dayFile);

// The day-total changes of one action on one day file, safe against a stop
// at any moment. Under the file's lock, held from before the action commits
// until after, the changes are first noted in the journal with their
// collections' references; once the action has committed, each record's
// old and new value is noted, the records are written, and the journal goes.
// A journal left behind (a kill, a full disk) is settled by the next desk
// that takes the lock, by the next opening and by `koop-cli check --repair`:
// a noted change whose collection is stored is applied exactly once, one
// whose collection is not is dropped.
class DayTotalJournal {
  public:
    explicit DayTotalJournal(QString dayFile);
    ~DayTotalJournal();
    DayTotalJournal(const DayTotalJournal &) = delete;
    DayTotalJournal &operator=(const DayTotalJournal &) = delete;

    const QString &dayFile() const { return m_file; }
    void add(const QDate &date, double amount, const QString &refer);
    // Locks the file, settles what was left behind, notes the changes.
    // False, with the reason, when that cannot be done: the action must
    // then not commit.
    [[nodiscard]] bool prepare(const Stored &stored, QString *error);
    // After the commit. False, with the reason, when the day file could not
    // be written: the journal keeps the changes for the next settling.
    [[nodiscard]] bool apply(QString *error);
    // The action did not commit: the noted changes go.
    void drop();

  private:
    struct Change {
        int record;
        double amount;
        QString refer;
    };
    QString m_file;
    std::vector<Change> m_changes;
    std::unique_ptr<QLockFile> m_lock;
};

// Settles a journal left behind (see DayTotalJournal); `settled` counts
// the changes applied or dropped. False, with the reason, when the file
// cannot be locked, read or written.
[[nodiscard]] bool settleJournal(const QString &dayFile, const Stored &stored, int *settled,
                                 QString *error);

} // namespace cashbox
