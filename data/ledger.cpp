#include "data/ledger.h"

#include "base/daynumber.h"

#include <QHash>

namespace data {

namespace {

// The ledger as the statement reads it: by due date, debits before credits,
// the lower operation code first; the entry order settles the rest.
// The last column ties a voided collection to its reversal (ledger::Item::link).
const QString ItemColumns =
    QStringLiteral("ack, vade, tutar, ba, islem, evrak, tarih, CASE WHEN islem <> 1 THEN NULL "
                   "WHEN ba = 0 THEN krefer ELSE refer END");
const QString ItemOrder = QStringLiteral("vade, ba, islem, id");
const QString LedgerQuery = QStringLiteral("SELECT ") + ItemColumns +
                            QStringLiteral(" FROM carhar WHERE kod = ? AND tarih <= ? ORDER BY ") +
                            ItemOrder;
// A batch of members, each member's items in the order above.
const QString LedgersQuery = QStringLiteral("SELECT kod, ") + ItemColumns +
                             QStringLiteral(" FROM carhar WHERE kod IN (%1) AND tarih <= ? "
                                            "ORDER BY kod, ") +
                             ItemOrder;

const QString SubAccountSums =
    QStringLiteral("kod1, CAST(SUM(CASE WHEN ba = 0 THEN tutar ELSE 0 END) AS BIGINT), "
                   "CAST(SUM(CASE WHEN ba = 1 THEN tutar ELSE 0 END) AS BIGINT) FROM carhar ");
const QString SubAccountQuery =
    QStringLiteral("SELECT ") + SubAccountSums +
    QStringLiteral("WHERE kod = ? AND tarih <= ? GROUP BY kod1 ORDER BY kod1");
const QString AllSubAccountsQuery = QStringLiteral("SELECT kod, ") + SubAccountSums +
                                    QStringLiteral("GROUP BY kod, kod1 ORDER BY kod, kod1");

// The item in the columns of the statement's query, from `first` on.
ledger::Item itemAt(const QueryCursor &q, int first) {
    ledger::Item it;
    it.ack = q.text(first);
    it.vade = q.date(first + 1);
    it.tutar = q.money(first + 2);
    it.ba = int(q.number(first + 3));
    it.islem = int(q.number(first + 4));
    it.evrak = q.text(first + 5);
    it.tarih = q.date(first + 6);
    it.link = q.text(first + 7);
    return it;
}

// A read that stopped half-way on a failure says so as one that never began.
bool scanEnded(const Database &db, const QueryCursor &q, Messages &messages) {
    if (!q.failed())
        return true;
    tellReadFailed(db, messages);
    return false;
}

QString postedItemsQuery(bool credit) {
    return QStringLiteral("SELECT kod, tutar, ack FROM carhar WHERE islem = ? AND ") +
           (credit ? QStringLiteral("ba <> 0") : QStringLiteral("ba = 0")) +
           QStringLiteral(" AND tarih >= ? AND tarih <= ? ORDER BY id");
}

} // namespace

bool writeLedgerRow(TableCursor &c, const LedgerRow &row) {
    if (row.tutar < Money())
        return false;
    static const TableDef &def = schema::carhar();
    static const RowShape shape{
        def.name, {QStringLiteral("kod"),   QStringLiteral("tarih"),   QStringLiteral("islem"),
                   QStringLiteral("evrak"), QStringLiteral("vade"),    QStringLiteral("ba"),
                   QStringLiteral("tutar"), QStringLiteral("ack"),     QStringLiteral("pls"),
                   QStringLiteral("dtip"),  QStringLiteral("kod1"),    QStringLiteral("doviz"),
                   QStringLiteral("kur"),   QStringLiteral("kapanan"), QStringLiteral("puan"),
                   QStringLiteral("refer"), QStringLiteral("krefer"),  QStringLiteral("sube"),
                   QStringLiteral("para"),  QStringLiteral("kasa")}};
    const auto size = [](const char *field) { return def.field(QString::fromLatin1(field))->size; };
    static const qsizetype kod = size("kod"), evrak = size("evrak"), ack = size("ack"),
                           kod1 = size("kod1"), refer = size("refer");
    static const StoredValue none = StoredValue::of(0), noRate = StoredValue::ofReal(0),
                             noPlace = storedText(QString(), 0);
    const StoredValue day = storedDate(row.tarih);
    const StoredValue values[] = {storedText(row.kod, kod),
                                  day,
                                  StoredValue::of(row.islem & 0xff),
                                  storedText(row.evrak, evrak),
                                  day,
                                  StoredValue::of(row.ba),
                                  storedAmount(row.tutar),
                                  storedText(row.ack, ack),
                                  noPlace,
                                  none,
                                  storedText(row.kod1, kod1),
                                  StoredValue::ofReal(row.doviz.toDouble()),
                                  noRate,
                                  noRate,
                                  noRate,
                                  storedText(row.refer, refer),
                                  storedText(row.krefer, refer),
                                  none,
                                  none,
                                  StoredValue::of(row.kasa)};
    static_assert(std::size(values) == 20);
    return RsInsert(c, shape, values);
}

bool readLedger(Database &db, const QString &kod, const QDate &upTo,
                std::vector<ledger::Item> *items, Messages &messages) {
    items->clear();
    items->reserve(512);
    QueryCursor q;
    q.scanOnly();
    if (!QueryOpen(db, q, LedgerQuery, {kod, QVariant(qlonglong(dayNumber(upTo)))}, messages))
        return !q.failed();
    do
        items->push_back(itemAt(q, 0));
    while (q.moveNext());
    return scanEnded(db, q, messages);
}

bool readLedgers(Database &db, const std::vector<QString> &codes, const QDate &upTo,
                 std::vector<std::vector<ledger::Item>> *items, Messages &messages) {
    items->assign(codes.size(), {});
    if (codes.size() == 1)
        return readLedger(db, codes.front(), upTo, &items->front(), messages);
    if (codes.empty())
        return true;
    QHash<QString, size_t> slot;
    QVariantList binds;
    for (size_t i = 0; i < codes.size(); ++i) {
        slot.insert(codes[i], i);
        binds << codes[i];
    }
    binds << QVariant(qlonglong(dayNumber(upTo)));
    QString marks = QStringLiteral("?");
    for (size_t i = 1; i < codes.size(); ++i)
        marks += QStringLiteral(",?");
    QueryCursor q;
    q.scanOnly();
    if (!QueryOpen(db, q, LedgersQuery.arg(marks), binds, messages))
        return !q.failed();
    std::vector<ledger::Item> *member = nullptr;
    QString current;
    do {
        const QString kod = q.text(0);
        if (!member || kod != current) {
            current = kod;
            const auto at = slot.constFind(kod);
            member = at == slot.cend() ? nullptr : &(*items)[*at];
        }
        if (member)
            member->push_back(itemAt(q, 1));
    } while (q.moveNext());
    return scanEnded(db, q, messages);
}

bool readSubAccountTotals(Database &db, const QString &kod, const QDate &upTo,
                          std::vector<SubAccountTotal> *totals, Messages &messages) {
    totals->clear();
    QueryCursor q;
    if (!QueryOpen(db, q, SubAccountQuery, {kod, QVariant(qlonglong(dayNumber(upTo)))}, messages))
        return !q.failed();
    do
        totals->push_back({q.text(0), q.money(1), q.money(2)});
    while (q.moveNext());
    return true;
}

bool readAllSubAccountTotals(Database &db, std::vector<AccountSubTotal> *totals,
                             Messages &messages) {
    totals->clear();
    QueryCursor q;
    if (!QueryOpen(db, q, AllSubAccountsQuery, {}, messages))
        return !q.failed();
    do
        totals->push_back({q.text(0), {q.text(1), q.money(2), q.money(3)}});
    while (q.moveNext());
    return true;
}

bool readReversals(Database &db, const QDate &from, const QDate &to, std::vector<PostedItem> *items,
                   Messages &messages) {
    items->clear();
    QueryCursor q;
    if (!QueryOpen(
            db, q,
            QStringLiteral("SELECT r.kod, r.tutar, r.ack FROM carhar r WHERE r.islem = 1 AND "
                           "r.ba = 0 AND r.krefer <> '' AND r.tarih >= ? AND r.tarih <= ? "
                           "AND EXISTS (SELECT 1 FROM carhar c WHERE c.refer = r.krefer "
                           "AND c.kod = r.kod AND c.islem = 1 AND c.ba = 1) ORDER BY r.id"),
            {QVariant(qlonglong(dayNumber(from))), QVariant(qlonglong(dayNumber(to)))}, messages))
        return !q.failed();
    do
        items->push_back({q.text(0), q.money(1), q.text(2)});
    while (q.moveNext());
    return true;
}

bool readPostedDebts(Database &db, const QStringList &descriptions,
                     const std::optional<std::pair<QString, QString>> &codes, const QDate &date,
                     PostedDebts *out) {
    *out = {};
    if (descriptions.isEmpty())
        return true;
    QString sql = QStringLiteral("SELECT kod, min(ack) FROM carhar WHERE islem = 4 AND ba = 0 AND "
                                 "ack IN (?") +
                  QStringLiteral(",?").repeated(descriptions.size() - 1) + u')';
    QVariantList binds;
    for (const QString &d : descriptions)
        binds << d;
    if (codes) {
        sql += QStringLiteral(" AND kod >= ? AND kod <= ? AND kod IN (SELECT kod FROM carkart "
                              "WHERE asd = 0)");
        binds << codes->first << codes->second;
    }
    if (date.isValid()) {
        sql += QStringLiteral(" AND tarih = ?");
        binds << QVariant(qlonglong(dayNumber(date)));
    }
    QueryCursor q;
    if (!QdOpen(db, q, sql + QStringLiteral(" GROUP BY kod ORDER BY kod"), binds))
        return false;
    for (; !q.eof(); q.moveNext()) {
        out->codes.push_back(q.text(0));
        if (out->example.isEmpty())
            out->example = q.text(1);
    }
    q.finish();
    return true;
}

bool readPostedItems(Database &db, int islem, bool credit, const QDate &from, const QDate &to,
                     std::vector<PostedItem> *items, Messages &messages) {
    items->clear();
    QueryCursor q;
    if (!QueryOpen(
            db, q, postedItemsQuery(credit),
            {islem, QVariant(qlonglong(dayNumber(from))), QVariant(qlonglong(dayNumber(to)))},
            messages))
        return !q.failed();
    do
        items->push_back({q.text(0), q.money(1), q.text(2)});
    while (q.moveNext());
    return true;
}

bool readCashDays(Database &db, const QDate &from, const QDate &to, std::vector<CashDay> *days,
                  Messages &messages) {
    days->clear();
    QueryCursor q;
    // Summed here rather than by the engine, whose sums of an amount differ
    // in type from one engine to the other.
    if (!QueryOpen(db, q,
                   QStringLiteral("SELECT tarih, ba, tutar FROM kasa WHERE tarih >= ? AND "
                                  "tarih <= ? ORDER BY tarih"),
                   {QVariant(qlonglong(dayNumber(from))), QVariant(qlonglong(dayNumber(to)))},
                   messages))
        return !q.failed();
    do {
        const QDate day = q.date(0);
        const Money amount = q.number(1) == 0 ? q.money(2) : -q.money(2);
        if (days->empty() || days->back().tarih != day)
            days->push_back({day, amount});
        else
            days->back().total += amount;
    } while (q.moveNext());
    return true;
}

} // namespace data
