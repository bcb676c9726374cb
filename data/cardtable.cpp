#include "data/cardtable.h"

#include "data/koopdata.h"
#include "data/schema.h"

namespace data {

const QStringList &cardFields() {
    static const QStringList fields{
        QStringLiteral("kod"),  QStringLiteral("isim1"),   QStringLiteral("isim2"),
        QStringLiteral("adr1"), QStringLiteral("adr2"),    QStringLiteral("adr3"),
        QStringLiteral("grp"),  QStringLiteral("tip"),     QStringLiteral("ozel"),
        QStringLiteral("asd"),  QStringLiteral("muhasebe")};
    return fields;
}

int cardFieldSize(const QString &field) {
    const FieldDef *f = schema::carkart().field(field);
    return f && f->type == tText ? f->size : 0;
}

bool readCardTable(Database &db, std::vector<std::vector<QVariant>> *out, Messages &messages) {
    out->clear();
    const QStringList &fields = cardFields();
    QueryCursor q;
    if (!QueryOpen(db, q,
                   QStringLiteral("SELECT ") + fields.join(QStringLiteral(", ")) +
                       QStringLiteral(" FROM carkart ORDER BY kod, id"),
                   {}, messages))
        return !q.failed();
    const qsizetype asd = fields.indexOf(QStringLiteral("asd"));
    do {
        std::vector<QVariant> row;
        row.reserve(size_t(fields.size()));
        for (qsizetype i = 0; i < fields.size(); ++i)
            row.push_back(i == asd ? QVariant(q.number(int(i))) : QVariant(q.text(int(i))));
        out->push_back(std::move(row));
    } while (q.moveNext());
    return true;
}

namespace {

void setFields(TableCursor &carkart, const QHash<QString, QVariant> &values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (cardFields().contains(it.key()))
            FieldSet(carkart, it.key(), it.value());
}

} // namespace

bool addCard(TableCursor &carkart, const QHash<QString, QVariant> &values) {
    if (!RsAddNew(carkart))
        return false;
    for (const QString &field : cardFields())
        FieldSet(carkart, field, cardFieldSize(field) > 0 ? QVariant(QString()) : QVariant(0));
    for (const char *total : {"borc1", "alacak1", "borc2", "alacak2", "borc3", "alacak3"})
        FieldSet(carkart, QString::fromLatin1(total), QVariant::fromValue(Money()));
    setFields(carkart, values);
    return RsUpdate(carkart);
}

bool changeCard(TableCursor &carkart, const QString &kod, const QHash<QString, QVariant> &values) {
    if (!isValidUtf16(kod) || !findMember(carkart, kod) || !RsEdit(carkart))
        return false;
    setFields(carkart, values);
    return RsUpdate(carkart);
}

bool readCodes(Database &db, CodesOf which, QSet<QString> *out, Messages &messages) {
    out->clear();
    QueryCursor q;
    if (!QueryOpen(db, q,
                   which == CodesOf::Cards ? QStringLiteral("SELECT kod FROM carkart")
                                           : QStringLiteral("SELECT DISTINCT kod FROM carhar"),
                   {}, messages))
        return !q.failed();
    do
        out->insert(q.text(0));
    while (q.moveNext());
    return true;
}

} // namespace data
