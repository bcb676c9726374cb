#pragma once

#include "core/company.h"

#include <QStringList>
#include <optional>
#include <vector>

// The member cards as an office without the suite keeps them ("Üye
// Kartları"): found, added, changed, deleted, one card at a time, through
// the card writer the import uses. A code is unique; it is never changed
// and the card never deleted once the ledger or the cash box has rows of it.
namespace members {

// One card's fields in data::cardFields() order, as text (`asd` "0", "1" or
// "2"); the balance totals are the postings', never the clerk's.
struct Card {
    QStringList fields = QStringList(11);

    QString value(const QString &field) const;
    void set(const QString &field, const QString &value);
    QString kod() const { return fields.value(0); }
    bool operator==(const Card &) const = default;
};

// The card's fields in their order, as Card holds them, and what each is
// called on the screen and in the text form.
QStringList fields();
QString label(const QString &field);

// How many characters the card table holds in the field.
int fieldSize(const QString &field);

// What the card's kind reads as: "Üye", "Satıcı", "Diğer".
QString kindName(int asd);

// The refusal of a value its field would not take: a text longer than the
// card table holds, a character that cannot be stored, a kind other than
// 0, 1 or 2, an empty code or one with blanks at its ends.
std::optional<QString> check(const QString &field, const QString &value);

// The card `kod`; nothing when there is none.
std::optional<Card> read(Company &company, const QString &kod);

// Every card, ordered by code. Nothing after the message.
std::optional<std::vector<Card>> list(Company &company);

// How many ledger and cash-box rows carry the code; nothing after the message.
std::optional<qint64> rowsOf(Company &company, const QString &kod);

// Each in one action, checked under the write lock; false after the message
// (a refusal or what kept it from being stored), nothing stored then.
// A new card: every field checked, the code not on file.
[[nodiscard]] bool add(Company &company, const Card &card);
// The fields that differ between `loaded` and `edited`, over the card as it
// stands then (another desk's changes to the other fields stay). A new code
// must be free and the card without rows; its price row moves with it.
[[nodiscard]] bool change(Company &company, const Card &loaded, const Card &edited);
// A card without any row, with its price row.
[[nodiscard]] bool remove(Company &company, const QString &kod);

QString asText(const Card &card);
QString asJson(const Card &card);

} // namespace members
