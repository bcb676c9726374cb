#include "data/koopdata.h"

#include <limits>

namespace data {

namespace {

const QString Ack = QStringLiteral("ack");

QString counterName(size_t i) {
    return QStringLiteral("sayac%1").arg(i + 1);
}

constexpr qint32 LetterA = 65;
constexpr qint32 LetterZ = 90;

} // namespace

std::optional<Settings> readSettings(TableCursor &ayar) {
    if (!RsMoveFirst(ayar))
        return std::nullopt;
    Settings s;
    for (size_t i = 0; i < 5; ++i) {
        s.ack[i] = FieldGet(ayar, QStringLiteral("ack%1").arg(i + 1)).toString();
        s.muh[i] = FieldGet(ayar, QStringLiteral("muh%1").arg(i + 1)).toString();
    }
    s.faiz = FieldGet(ayar, QStringLiteral("faiz")).toDouble();
    s.tolerans = FieldGet(ayar, QStringLiteral("tolerans")).toInt();
    s.fisno = FieldGet(ayar, QStringLiteral("fisno")).toInt();
    return s;
}

std::optional<Settings> requireSettings(TableCursor &ayar, Messages &messages) {
    auto settings = readSettings(ayar);
    if (!settings)
        messages.warning(QStringLiteral("Ayarlar Yapılmamış..."));
    return settings;
}

bool storeSettings(TableCursor &ayar, const Settings &s) {
    if (!(RsMoveFirst(ayar) ? RsEdit(ayar) : RsAddNew(ayar)))
        return false;
    for (size_t i = 0; i < 5; ++i)
        FieldSet(ayar, QStringLiteral("ack%1").arg(i + 1), s.ack[i]);
    for (size_t i = 0; i < 5; ++i)
        FieldSet(ayar, QStringLiteral("muh%1").arg(i + 1), s.muh[i]);
    FieldSet(ayar, QStringLiteral("faiz"), s.faiz);
    FieldSet(ayar, QStringLiteral("tolerans"), s.tolerans);
    FieldSet(ayar, QStringLiteral("fisno"), s.fisno);
    return RsUpdate(ayar);
}

bool storeReceiptNumber(TableCursor &ayar, qint32 fisno) {
    if (!RsMoveFirst(ayar) || !RsEdit(ayar))
        return false;
    FieldSet(ayar, QStringLiteral("fisno"), fisno);
    return RsUpdate(ayar);
}

bool recordUnusedReceipts(Database &koop, const UnusedReceipts &numbers) {
    TableCursor fisbos;
    if (!RsAddNewMadeOnUse(koop, fisbos, schema::fisbos()))
        return false;
    FieldSet(fisbos, QStringLiteral("ilk"), numbers.first);
    FieldSet(fisbos, QStringLiteral("son"), numbers.last);
    FieldSet(fisbos, QStringLiteral("tarih"), numbers.date);
    FieldSet(fisbos, QStringLiteral("neden"), numbers.reason);
    return RsUpdate(fisbos);
}

bool readUnusedReceipts(Database &koop, std::vector<UnusedReceipts> *out) {
    out->clear();
    if (!koop.hasTable(schema::fisbos().name))
        return koop.isOpen();
    QueryCursor q;
    if (!QdOpen(koop, q, QStringLiteral("SELECT ilk, son, tarih, neden FROM fisbos ORDER BY ilk")))
        return false;
    for (; !q.eof(); q.moveNext())
        out->push_back({qint32(q.number(0)), qint32(q.number(1)), q.date(2), q.text(3)});
    return true;
}

qint32 lastReceiptNumber(const Settings &settings, TableCursor &genel) {
    return std::max(settings.fisno, namedNumber(genel, receiptCounterName()));
}

qint32 namedNumber(TableCursor &genel, const QString &name) {
    if (!RsSeek(genel, Ack, name))
        return 0;
    bool ok = false;
    const qint64 v = FieldGet(genel, QStringLiteral("value")).toLongLong(&ok);
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return 0;
    return static_cast<qint32>(v);
}

QString namedText(TableCursor &genel, const QString &name) {
    if (!RsSeek(genel, Ack, name))
        return QString();
    return FieldGet(genel, QStringLiteral("tanim")).toString();
}

QString cooperativeName(TableCursor &genel) {
    return namedText(genel, QStringLiteral("unvan"));
}

bool setNamedValue(TableCursor &genel, Messages &messages, const QString &name, const QString &text,
                   bool flag, qint32 number) {
    const bool started = RsSeek(genel, Ack, name) ? RsEdit(genel) : RsAddNew(genel);
    if (started) {
        FieldSet(genel, Ack, name);
        FieldSet(genel, QStringLiteral("tanim"), text);
        FieldSet(genel, QStringLiteral("check"), flag ? -1 : 0);
        FieldSet(genel, QStringLiteral("value"), number);
    }
    if (started && RsUpdate(genel))
        return true;
    if (genel.database())
        tellNotStored(*genel.database(), messages, QStringLiteral("Genel Database Güncellenemedi"));
    else
        messages.warning(QStringLiteral("Genel Database Güncellenemedi"));
    return false;
}

void Counters::advance() {
    ++sayac[0];
    // Every counter is carried, not only up to the first that is in range:
    // a stored value above "Z" (a hand edit, another program) still rolls over.
    for (size_t i = 0; i < sayac.size(); ++i) {
        if (sayac[i] <= LetterZ)
            continue;
        sayac[i] = LetterA;
        if (i + 1 < sayac.size())
            ++sayac[i + 1];
    }
}

Counters Counters::load(TableCursor &genel) {
    Counters c;
    for (size_t i = 0; i < c.sayac.size(); ++i)
        c.sayac[i] = std::max(namedNumber(genel, counterName(i)), LetterA);
    return c;
}

bool Counters::store(TableCursor &genel, Messages &messages) const {
    bool stored = true;
    // Each counter that fails says so; the others are still stored.
    for (size_t i = 0; i < sayac.size(); ++i)
        stored =
            setNamedValue(genel, messages, counterName(i), QString(), false, sayac[i]) && stored;
    return stored;
}

QString Counters::code(int firstCharacter, const QDate &date) const {
    QString out;
    out.reserve(8);
    out += QChar(char16_t(firstCharacter & 0xff));
    out += QChar(char16_t(65 + date.month()));
    out += QChar(char16_t(64 + date.day()));
    for (size_t i = sayac.size(); i-- > 0;)
        out += QChar(char16_t(sayac[i]));
    return out;
}

bool lockCounters(TableCursor &genel, Messages &messages) {
    Database *db = genel.database();
    if (!db || !db->isServer())
        return true;
    QVariantList names;
    for (size_t i = 0; i < Counters{}.sayac.size(); ++i)
        names << counterName(i);
    QueryCursor q;
    // No rows yet is no failure: failed() tells.
    (void)QueryOpen(*db, q,
                    QStringLiteral("SELECT id FROM genel WHERE ack IN (?, ?, ?, ?, ?) ORDER BY id "
                                   "FOR UPDATE"),
                    names, messages);
    const bool ok = !q.failed();
    q.finish();
    return ok;
}

QString nextReferenceCode(TableCursor &genel, Messages &messages, int firstCharacter,
                          const QDate &today) {
    Counters c = Counters::load(genel);
    c.advance();
    // Each counter not stored has said so; the code is made all the same.
    (void)c.store(genel, messages);
    return c.code(firstCharacter, today);
}

bool findMember(TableCursor &carkart, const QString &code) {
    return RsSeek(carkart, QStringLiteral("kod"), code);
}

std::optional<MemberCard> readMember(TableCursor &carkart, const QString &code) {
    if (!findMember(carkart, code))
        return std::nullopt;
    const auto text = [&carkart](const char *field) {
        return FieldGet(carkart, QString::fromLatin1(field)).toString();
    };
    return MemberCard{code,
                      text("isim1"),
                      text("isim2"),
                      text("adr1"),
                      text("adr2"),
                      text("adr3"),
                      text("grp"),
                      FieldGet(carkart, QStringLiteral("asd")).toInt(),
                      text("muhasebe")};
}

bool updateBalanceBucket(TableCursor &carkart, const QString &code, int bucket, Money oldDebit,
                         Money oldCredit, const QString &side, Money amount, bool *overflow) {
    if (overflow)
        *overflow = false;
    if (!findMember(carkart, code) || !RsEdit(carkart))
        return false;
    if (bucket >= 0 && bucket <= 2) {
        static const QString debitFields[] = {QStringLiteral("borc1"), QStringLiteral("borc2"),
                                              QStringLiteral("borc3")};
        static const QString creditFields[] = {QStringLiteral("alacak1"), QStringLiteral("alacak2"),
                                               QStringLiteral("alacak3")};
        const QString &debitField = debitFields[bucket];
        const QString &creditField = creditFields[bucket];
        const bool debitSide = side.toUpper() == u"B";
        int64_t debit = 0, credit = 0;
        const bool outOfRange =
            __builtin_sub_overflow(toMoney(FieldGet(carkart, debitField)).units(), oldDebit.units(),
                                   &debit) ||
            __builtin_sub_overflow(toMoney(FieldGet(carkart, creditField)).units(),
                                   oldCredit.units(), &credit) ||
            __builtin_add_overflow(debitSide ? debit : credit, amount.units(),
                                   debitSide ? &debit : &credit);
        if (outOfRange) {
            RsCancelUpdate(carkart);
            if (overflow)
                *overflow = true;
            return false;
        }
        FieldSet(carkart, debitField, QVariant::fromValue(Money::fromUnits(debit)));
        FieldSet(carkart, creditField, QVariant::fromValue(Money::fromUnits(credit)));
    }
    return RsUpdate(carkart);
}

QString integrationDescription(const QString &text) {
    return text.left(35).leftJustified(35, u' ');
}

bool writeIntegrationRow(TableCursor &ent, Messages &messages, const IntegrationRow &row) {
    if (row.refer.size() < 5) {
        // The rows before this one say their word first; one that cannot be
        // sent has ended the action, which says so.
        if (ent.database())
            (void)ent.database()->send();
        messages.warning(QStringLiteral("Entegrasyon Referans Kodu Eksik.."));
        return false;
    }
    if (!integrationTakes(row.muhkod))
        return false;
    const auto refused = [&messages, db = ent.database()] {
        if (db)
            tellNotStored(*db, messages, QStringLiteral("Entegrasyon Kaydedilemedi.."),
                          Messages::Icon::Information);
    };
    // A sum beyond the range is never handed to the suite as a figure.
    if (row.tutar.outOfRange()) {
        refused();
        return false;
    }
    // Inside an action on a server the row may go with the next ones; a
    // refusal then says the same, in its turn.
    const BatchedRows later(ent, refused);
    static const TableDef &def = schema::ent();
    static const RowShape shape{
        def.name,
        {QStringLiteral("tarih"), QStringLiteral("refer"), QStringLiteral("enttar"),
         QStringLiteral("muhkod"), QStringLiteral("ba"), QStringLiteral("tutar"),
         QStringLiteral("ack"), QStringLiteral("mik"), QStringLiteral("yer")}};
    const auto size = [](const char *field) { return def.field(QString::fromLatin1(field))->size; };
    static const qsizetype refer = size("refer"), muhkod = size("muhkod"), ba = size("ba"),
                           ack = size("ack");
    const StoredValue values[] = {storedDate(row.tarih),
                                  storedText(row.refer, refer),
                                  storedDate(row.enttar),
                                  storedText(row.muhkod, muhkod),
                                  storedText(row.ba, ba),
                                  storedAmount(row.tutar),
                                  storedText(integrationDescription(row.ack), ack),
                                  StoredValue::ofReal(row.mik),
                                  StoredValue::of(row.yer)};
    if (RsInsert(ent, shape, values))
        return true;
    refused();
    return false;
}

} // namespace data
