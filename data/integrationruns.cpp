#include "data/integrationruns.h"

#include "base/daynumber.h"
#include "data/schema.h"
#include "data/xbase.h"

namespace data {

bool recordIntegrationRun(Database &koop, const IntegrationRun &run) {
    TableCursor t;
    if (!RsAddNewMadeOnUse(koop, t, schema::entkayit()))
        return false;
    const auto set = [&t](const char *field, const QVariant &value) {
        FieldSet(t, QString::fromLatin1(field), value);
    };
    set("islem", run.islem);
    set("bas", run.from);
    set("bit", run.to);
    set("satir", run.rows);
    set("toplam", QVariant::fromValue(run.total));
    set("tarih", run.date);
    set("saat", run.time);
    return RsUpdate(t);
}

bool readIntegrationRuns(Database &koop, int islem, const QDate &from, const QDate &to,
                         std::vector<IntegrationRun> *out) {
    out->clear();
    if (!koop.hasTable(schema::entkayit().name))
        return koop.isOpen();
    QueryCursor q;
    if (!QdOpen(koop, q,
                QStringLiteral("SELECT islem, bas, bit, satir, toplam, tarih, saat FROM entkayit "
                               "WHERE islem = ? AND bas <= ? AND bit >= ? ORDER BY id DESC"),
                {islem, QVariant(qlonglong(dayNumber(to))), QVariant(qlonglong(dayNumber(from)))}))
        return false;
    for (; !q.eof(); q.moveNext())
        out->push_back({int(q.number(0)), q.date(1), q.date(2), int(q.number(3)), q.money(4),
                        q.date(5), q.text(6)});
    q.finish();
    return true;
}

} // namespace data
