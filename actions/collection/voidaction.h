#pragma once

#include "actions/collection/collectionaction.h"
#include "core/company.h"
#include "data/receiptvoids.h"

#include <QDate>
#include <optional>

// "Makbuz İptali": a receipt taken back by a reversing entry, never by
// deleting it, and the list of voided receipts for the auditors.
namespace collection {

// The longest reason a void takes.
constexpr int ReasonLength = data::ReasonLength;

struct VoidRequest {
    QString receiptNo{};
    // Narrow the receipt down where its number alone does not tell: the
    // member's code and the receipt's date (either may be empty or invalid).
    QString kod{};
    QDate receiptDate{};
    QDate date{}; // the void counts on this day
    QString reason{};
};

struct Voided {
    QString refer; // the void's reference code
    data::StoredCollection collection;
    bool dayTotalPending = false; // stored; its day total waits for the next opening
    bool listed = true;           // the list of voids was written too
};

// Refuses with its message (a number never issued or already voided, an
// empty or too long reason, a date before the receipt's); otherwise writes
// the void in one action. Nothing when nothing was written.
std::optional<Voided> voidReceipt(Company &company, const VoidRequest &request);

// The member's live receipt of that number (the latest, should there be two),
// as a void shows it; nothing when there is none.
std::optional<Earlier> receiptOf(Company &company, const QString &receiptNo, const QString &kod);

// Whether the receipt of `receiptNo`, taken from `kod` on `date`, was voided:
// what a copy of it prints across itself.
bool receiptVoided(Company &company, const QString &receiptNo, const QString &kod,
                   const QDate &date);

// "İptal Edilen Makbuzlar": the voids between two dates (either may be
// invalid: no bound), with the members' names. Nothing after the message when
// the list cannot be read.
struct VoidLine {
    data::VoidedReceipt v;
    QString name;
};
std::optional<std::vector<VoidLine>> voidsList(Company &company, const QDate &from,
                                               const QDate &to);

// "01.12.2026 - 31.12.2026" for the list's head; empty without bounds.
QString voidsRange(const QDate &from, const QDate &to);

inline QString voidsTitle() {
    return QStringLiteral("İptal Edilen Makbuzlar");
}
// The list's captions, in its column order.
QStringList voidsCaptions();
// One line of the list as the printout and the grid show it.
QStringList shownVoid(const VoidLine &line, int tlonda);
QString voidsAsText(const std::vector<VoidLine> &lines, int tlonda);
QString voidsAsCsv(const std::vector<VoidLine> &lines, int tlonda);
QString voidsAsJson(const std::vector<VoidLine> &lines, int tlonda);

} // namespace collection
