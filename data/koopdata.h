#pragma once

#include "base/messages.h"
#include "base/money.h"
#include "data/xbase.h"

#include <QDate>
#include <array>
#include <optional>

// The services every posting shares: the settings row, named values in
// `genel`, the reference-code counters, the members' balance buckets and the
// writer of accounting-integration rows. They work on the cursors start-up
// opened, passed in, and report through the message service.
namespace data {

// The one settings row of `ayar`.
struct Settings {
    std::array<QString, 5> ack; // captions of the five dues heads
    std::array<QString, 5> muh; // their accounting codes
    double faiz = 0;            // monthly surcharge rate, per cent
    int tolerans = 0;           // days
    qint32 fisno = 0;           // last receipt number issued (see lastReceiptNumber)
};
// Nothing when the row has not been saved yet.
[[nodiscard]] std::optional<Settings> readSettings(TableCursor &ayar);
// The same for a screen or an action that needs the row: when it is missing
// says "Ayarlar Yapılmamış..." and gives nothing.
[[nodiscard]] std::optional<Settings> requireSettings(TableCursor &ayar, Messages &messages);
// Stores every field, adding the row when there is none yet: captions,
// account codes, faiz, tolerans, fisno, in that order. False when it fails.
[[nodiscard]] bool storeSettings(TableCursor &ayar, const Settings &settings);
// Stores fisno on the settings row; false when there is no row or it fails.
[[nodiscard]] bool storeReceiptNumber(TableCursor &ayar, qint32 fisno);

// The last receipt number the cash desk issued. Each collection keeps its
// number twice: on the settings row (`fisno`, dalun.dat) and beside its own
// rows (the named value `makbuzno` in genel, in the same transaction as
// them). The two files commit one after the other, so a desk stopped or
// failing between them leaves the settings behind; the higher one is the
// truth.
qint32 lastReceiptNumber(const Settings &settings, TableCursor &genel);
inline QString receiptCounterName() {
    return QStringLiteral("makbuzno");
}

// Receipt numbers that will never be issued, and why: with the live and the
// voided receipts they explain every number from the first issued to the
// last (`fisbos` in dalun.dat).
struct UnusedReceipts {
    qint32 first = 0, last = 0;
    QDate date;
    QString reason;
};
// Inside the action under way on dalun.dat; the table is made when missing.
[[nodiscard]] bool recordUnusedReceipts(Database &koop, const UnusedReceipts &numbers);
// Every range recorded; none while the table was never made.
[[nodiscard]] bool readUnusedReceipts(Database &koop, std::vector<UnusedReceipts> *out);

// `value` of the named row, 0 when missing; `tanim`, empty when missing.
qint32 namedNumber(TableCursor &genel, const QString &name);
QString namedText(TableCursor &genel, const QString &name);
// The cooperative's name (the named text `unvan`), as the printed heads show it.
QString cooperativeName(TableCursor &genel);
// Adds the row when missing. A failed store says "Genel Database Güncellenemedi".
[[nodiscard]] bool setNamedValue(TableCursor &genel, Messages &messages, const QString &name,
                                 const QString &text, bool flag, qint32 number);

// The five letter counters sayac1..sayac5 (65 "A" .. 90 "Z"), sayac1 the
// fastest digit.
struct Counters {
    std::array<qint32, 5> sayac{65, 65, 65, 65, 65};

    // Moves on by one code, carrying upwards; sayac5 wraps with no carry.
    void advance();
    // Reads the stored counters: a value below 65 counts as 65.
    static Counters load(TableCursor &genel);
    // Stores all five in order; one message per counter that fails.
    [[nodiscard]] bool store(TableCursor &genel, Messages &messages) const;
    // The 8-character code: first character, month and day letters of
    // `date`, then sayac5 .. sayac1.
    QString code(int firstCharacter, const QDate &date) const;
};

// Inside a writing action on a server: locks the counter rows of `genel` until
// the action ends, so no other program moves them between the read and the
// store. SQLite's write lock already covers the whole file.
[[nodiscard]] bool lockCounters(TableCursor &genel, Messages &messages);

// Draws a new reference code: reads, advances and stores the counters.
QString nextReferenceCode(TableCursor &genel, Messages &messages, int firstCharacter,
                          const QDate &today);

// True when the card exists; it becomes the current record.
[[nodiscard]] bool findMember(TableCursor &carkart, const QString &code);

// What the screens show and print of a member card.
struct MemberCard {
    QString kod;
    QString isim1, isim2; // name lines
    QString adr1, adr2, adr3;
    QString grp;
    int asd = 0;      // card kind: 0 members, 1 sellers, 2 other
    QString muhasebe; // the card's account code in the suite's ledger
};
// The card, if there is one; it becomes the current record.
[[nodiscard]] std::optional<MemberCard> readMember(TableCursor &carkart, const QString &code);
// Moves the bucket's totals by the difference a posting makes: side "B"
// (any case) on the debit total, anything else on the credit total. Totals
// that would leave the range of an amount are not stored (*overflow set).
[[nodiscard]] bool updateBalanceBucket(TableCursor &carkart, const QString &code, int bucket,
                                       Money oldDebit, Money oldCredit, const QString &side,
                                       Money amount, bool *overflow = nullptr);

// One integration row; the account code of 2 characters or fewer is skipped
// silently, a reference shorter than 5 characters is refused with a message.
struct IntegrationRow {
    QDate tarih;
    QString muhkod;
    QString ba;
    Money tutar;
    QString ack;
    double mik = 0;
    int yer = 0;
    QDate enttar;
    QString refer;
};
// Whether the writer takes a row for this account code: one of 2 characters
// or fewer is skipped silently.
[[nodiscard]] inline bool integrationTakes(const QString &muhkod) {
    return muhkod.trimmed().size() > 2;
}
// True when the row was stored.
[[nodiscard]] bool writeIntegrationRow(TableCursor &ent, Messages &messages,
                                       const IntegrationRow &row);
// The description as `ent` holds it: exactly 35 characters.
QString integrationDescription(const QString &text);

} // namespace data
