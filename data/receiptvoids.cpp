#include "data/receiptvoids.h"

#include "base/daynumber.h"
#include "base/ledger.h"
#include "data/schema.h"
#include "data/xbase.h"

namespace data {

namespace {

QVariant day(const QDate &date) {
    return QVariant(qlonglong(dayNumber(date)));
}

QVariant units(Money m) {
    return QVariant(qlonglong(m.units()));
}

// Every row of a query; false when it cannot be read.
template <typename Row>
bool scan(Database &db, const QString &sql, const QVariantList &binds, Row row) {
    QueryCursor q;
    if (!QdOpen(db, q, sql, binds))
        return false;
    for (; !q.eof(); q.moveNext())
        row(q);
    q.finish();
    return true;
}

} // namespace

bool findCollections(Database &data, const QString &evrak, std::vector<StoredCollection> *out) {
    out->clear();
    // A reversal's cash-box row carries the number with the amount taken back.
    if (!scan(data,
              QStringLiteral("SELECT refer, evrak, carkod, ack, tutar, kasa, tarih FROM kasa "
                             "WHERE evrak = ? AND ba = 0 AND tutar > 0 ORDER BY id"),
              {evrak}, [&](const QueryCursor &q) {
                  StoredCollection c;
                  c.refer = q.text(0);
                  c.evrak = q.text(1);
                  c.carkod = q.text(2);
                  c.ack = q.text(3);
                  c.tutar = q.money(4);
                  c.kasa = int(q.number(5));
                  c.tarih = q.date(6);
                  out->push_back(std::move(c));
              }))
        return false;
    const QString credits = QStringLiteral("SELECT kod, kod1, tutar, refer FROM carhar WHERE "
                                           "islem = 1 AND ba = 1 AND ");
    const auto rows = [](std::vector<CollectedRow> *to) {
        return [to](const QueryCursor &q) {
            to->push_back({q.text(0), q.text(1), q.money(2), q.text(3)});
        };
    };
    for (StoredCollection &c : *out) {
        if (c.refer.isEmpty())
            continue;
        if (!scan(data, credits + QStringLiteral("refer = ? ORDER BY id"), {c.refer},
                  rows(&c.ledger)) ||
            !scan(data,
                  QStringLiteral("SELECT muhkod, ba, tutar, mik, yer FROM ent WHERE refer = ? "
                                 "ORDER BY id"),
                  {c.refer}, [&](const QueryCursor &q) {
                      c.integration.push_back({q.text(0), q.text(1), q.money(2),
                                               q.field(3).toDouble(), int(q.number(4))});
                  }))
            return false;
        if (!c.ledger.empty())
            continue;
        // By dues head: the member's head credits of that receipt and day.
        if (!scan(data,
                  credits +
                      QStringLiteral("kod = ? AND evrak = ? AND tarih = ? AND kod1 <> '' ORDER BY "
                                     "id"),
                  {c.carkod, c.evrak, day(c.tarih)}, rows(&c.ledger)))
            return false;
        // Without a card only the cash-box row was written: by dues head its
        // description ends with " Tahsilat".
        c.byHead = !c.ledger.empty() || c.ack.endsWith(QStringLiteral(" Tahsilat"));
    }
    return true;
}

bool recordVoidedReceipt(Database &koop, const VoidedReceipt &v) {
    TableCursor t;
    if (!RsAddNewMadeOnUse(koop, t, schema::fisiptal()))
        return false;
    const auto set = [&t](const char *field, const QVariant &value) {
        FieldSet(t, QString::fromLatin1(field), value);
    };
    set("makbuz", v.receiptNo);
    set("tarih", v.date);
    set("kod", v.kod);
    set("mtarih", v.receiptDate);
    set("tutar", QVariant::fromValue(v.tutar));
    set("neden", v.reason);
    set("refer", v.refer);
    set("irefer", v.voidRefer);
    return RsUpdate(t);
}

bool readVoidedReceipts(Database &koop, const QDate &from, const QDate &to,
                        std::vector<VoidedReceipt> *out) {
    out->clear();
    if (!koop.hasTable(schema::fisiptal().name))
        return koop.isOpen();
    QString sql = QStringLiteral("SELECT makbuz, tarih, kod, mtarih, tutar, neden, refer, irefer "
                                 "FROM fisiptal WHERE 1 = 1");
    QVariantList binds;
    if (from.isValid()) {
        sql += QStringLiteral(" AND tarih >= ?");
        binds << day(from);
    }
    if (to.isValid()) {
        sql += QStringLiteral(" AND tarih <= ?");
        binds << day(to);
    }
    return scan(koop, sql + QStringLiteral(" ORDER BY tarih, makbuz, id"), binds,
                [&](const QueryCursor &q) {
                    out->push_back({qint32(q.number(0)), q.date(1), q.text(2), q.date(3),
                                    q.money(4), q.text(5), q.text(6), q.text(7)});
                });
}

bool isVoided(Database &koop, Database &data, const StoredCollection &c, bool *unreadable) {
    *unreadable = false;
    qint64 found = 0;
    const auto count = [&found](const QueryCursor &q) { found += q.number(0); };
    if (koop.hasTable(schema::fisiptal().name) &&
        !scan(koop, QStringLiteral("SELECT count(*) FROM fisiptal WHERE refer = ?"), {c.refer},
              count)) {
        *unreadable = true;
        return false;
    }
    if (found == 0 &&
        !scan(data,
              QStringLiteral("SELECT count(*) FROM kasa WHERE evrak = ? AND carkod = ? AND "
                             "kasa = ? AND ba = 0 AND tutar = ?"),
              {c.evrak, c.carkod, c.kasa, units(-c.tutar)}, count)) {
        *unreadable = true;
        return false;
    }
    return found > 0;
}

} // namespace data
