#include "data/schema.h"

#include "data/driverhandles.h"

#include <QStringList>

namespace data {

const FieldDef *TableDef::field(const QString &fieldName) const {
    for (const FieldDef &f : fields)
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const IndexDef *TableDef::index(const QString &indexName) const {
    for (const IndexDef &i : indexes)
        if (i.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &i;
    return nullptr;
}

QString sqlColumnType(const FieldDef &f, Engine engine) {
    const bool server = engine == Engine::PostgreSQL;
    switch (f.type) {
    case tText:
        return f.size > 0 ? QStringLiteral("VARCHAR(%1)").arg(f.size) : QStringLiteral("TEXT");
    case tMemo:
        return QStringLiteral("TEXT");
    case tCurrency:
        return QStringLiteral("BIGINT");
    case tSingle:
    case tDouble:
        return server ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL");
    case tLongBinary:
    case tOle:
        return server ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    default:
        return QStringLiteral("INTEGER");
    }
}

int inferredType(const QSqlField &f) {
    return f.metaType().id() == QMetaType::QString ? tText : tDouble;
}

namespace schema {
namespace {

FieldDef text(const char *name, int size) {
    return {QLatin1String(name), tText, size};
}
FieldDef typed(const char *name, int type) {
    return {QLatin1String(name), type, 0};
}

} // namespace

const TableDef &ayar() {
    static const TableDef t{QStringLiteral("ayar"),
                            {text("ack1", 30), text("ack2", 30), text("ack3", 30), text("ack4", 30),
                             text("ack5", 30), text("muh1", 15), text("muh2", 15), text("muh3", 15),
                             text("muh4", 15), text("muh5", 15), typed("faiz", tSingle),
                             typed("tolerans", tInteger), typed("fisno", tLong)},
                            {}};
    return t;
}

const TableDef &fiat() {
    static const TableDef t{
        QStringLiteral("fiat"),
        {text("cari", 8), typed("fiat1", tCurrency), typed("fiat2", tCurrency),
         typed("fiat3", tCurrency), typed("fiat4", tCurrency), typed("fiat5", tCurrency)},
        {{QStringLiteral("cari"), {QStringLiteral("cari")}, false, true, false, true}}};
    return t;
}

const TableDef &borc() {
    static const TableDef t{
        QStringLiteral("borc"),
        {text("cari", 8), typed("vade", tDate), typed("odetar", tDate), typed("borc", tCurrency),
         typed("faiz", tCurrency), typed("btah", tCurrency), typed("ftah", tCurrency),
         text("refer", 8)},
        {{QStringLiteral("refer"), {QStringLiteral("refer")}, false, true, false, true}}};
    return t;
}

const TableDef &fisbos() {
    static const TableDef t{
        QStringLiteral("fisbos"),
        {typed("ilk", tLong), typed("son", tLong), typed("tarih", tDate), text("neden", 60)},
        {{QStringLiteral("ilk"), {QStringLiteral("ilk")}, false, false, false, false}}};
    return t;
}

const TableDef &fisiptal() {
    static const TableDef t{
        QStringLiteral("fisiptal"),
        {typed("makbuz", tLong), typed("tarih", tDate), text("kod", 15), typed("mtarih", tDate),
         typed("tutar", tCurrency), text("neden", 60), text("refer", 8), text("irefer", 8)},
        // A collection is voided once (index names are the file's, and borc
        // has its "refer").
        {{QStringLiteral("iptal"), {QStringLiteral("refer")}, true, false, false, true}}};
    return t;
}

const TableDef &entkayit() {
    static const TableDef t{QStringLiteral("entkayit"),
                            {typed("islem", tInteger), typed("bas", tDate), typed("bit", tDate),
                             typed("satir", tLong), typed("toplam", tCurrency),
                             typed("tarih", tDate), text("saat", 5)},
                            {}};
    return t;
}

const TableDef &carkart() {
    static const TableDef t{
        QStringLiteral("carkart"),
        {text("kod", 15), text("isim1", 50), text("isim2", 50), text("adr1", 50), text("adr2", 50),
         text("adr3", 50), text("grp", 10), text("tip", 10), text("ozel", 10),
         typed("asd", tInteger), text("muhasebe", 20), typed("borc1", tCurrency),
         typed("alacak1", tCurrency), typed("borc2", tCurrency), typed("alacak2", tCurrency),
         typed("borc3", tCurrency), typed("alacak3", tCurrency)},
        {{QStringLiteral("kod"), {QStringLiteral("kod")}, true, false, false, false}}};
    return t;
}

const TableDef &carhar() {
    static const TableDef t{
        QStringLiteral("carhar"),
        {text("kod", 15),           typed("tarih", tDate),     typed("islem", tByte),
         text("evrak", 15),         typed("vade", tDate),      typed("ba", tInteger),
         typed("tutar", tCurrency), text("ack", 50),           text("pls", 10),
         typed("dtip", tInteger),   text("kod1", 10),          typed("doviz", tDouble),
         typed("kur", tDouble),     typed("kapanan", tDouble), typed("puan", tDouble),
         text("refer", 8),          text("krefer", 8),         typed("sube", tInteger),
         typed("para", tInteger),   typed("kasa", tByte)},
        // Statements read a member's rows by code and due date.
        {{QStringLiteral("kodvade"), {QStringLiteral("kod"), QStringLiteral("vade")}}}};
    return t;
}

const TableDef &kasa() {
    static const TableDef t{QStringLiteral("kasa"),
                            {text("carkod", 15), text("evrak", 15), text("ack", 35),
                             text("pls", 10), text("kod1", 10), typed("ba", tInteger),
                             typed("tutar", tCurrency), typed("kasa", tByte), typed("tarih", tDate),
                             typed("sube", tInteger), typed("kur", tDouble),
                             typed("doviz", tDouble), typed("dtip", tInteger), text("refer", 8)},
                            {}};
    return t;
}

const TableDef &ent() {
    static const TableDef t{QStringLiteral("ent"),
                            {typed("tarih", tDate), text("refer", 10), typed("enttar", tDate),
                             text("muhkod", 20), text("ba", 1), typed("tutar", tCurrency),
                             text("ack", 35), typed("mik", tDouble), typed("yer", tByte)},
                            {}};
    return t;
}

const TableDef &genel() {
    static const TableDef t{
        QStringLiteral("genel"),
        {text("ack", 20), text("tanim", 60), typed("check", tBoolean), typed("value", tLong)},
        {{QStringLiteral("ack"), {QStringLiteral("ack")}, true, false, false, false}}};
    return t;
}

const TableDef &stkkart() {
    static const TableDef t{QStringLiteral("stkkart"), {text("kod", 15), text("isim", 50)}, {}};
    return t;
}

const TableDef &stkhar() {
    static const TableDef t{
        QStringLiteral("stkhar"), {text("kod", 15), typed("tarih", tDate), text("evrak", 15)}, {}};
    return t;
}

const TableDef &ftu() {
    static const TableDef t{
        QStringLiteral("ftu"), {text("evrak", 15), typed("tarih", tDate), text("kod", 15)}, {}};
    return t;
}

std::vector<const TableDef *> madeOnUse() {
    return {&fisbos(), &fisiptal(), &entkayit()};
}

std::vector<const TableDef *> suiteTables() {
    return {&carkart(), &carhar(), &kasa(), &ent(), &genel(), &stkkart(), &stkhar(), &ftu()};
}

const TableDef *find(const QString &tableName) {
    for (const TableDef *t :
         {&ayar(), &fiat(), &borc(), &fisbos(), &fisiptal(), &entkayit(), &carkart(), &carhar(),
          &kasa(), &ent(), &genel(), &stkkart(), &stkhar(), &ftu()})
        if (t->name.compare(tableName, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}

} // namespace schema
bool createTable(Database &db, const TableDef &def) {
    if (!db.isOpen() || def.fields.empty() || db.hasTable(def.name))
        return false;
    const bool server = db.isServer();
    QStringList columns{server ? QStringLiteral("id BIGINT GENERATED BY DEFAULT AS IDENTITY "
                                                "PRIMARY KEY")
                               : QStringLiteral("id INTEGER PRIMARY KEY")};
    for (const FieldDef &f : def.fields) {
        bool notNull = f.required;
        for (const IndexDef &i : def.indexes)
            if ((i.primary || i.required) && i.fields.contains(f.name))
                notNull = true;
        QString col =
            driver::quotedIdentifier(f.name) + QLatin1Char(' ') + sqlColumnType(f, db.engine());
        // Codes compare and order as binary text on both engines, whatever
        // the server's default locale; names sort with COLLATE tr in queries.
        if (server && (f.type == tText || f.type == tMemo))
            col += QStringLiteral(" COLLATE \"C\"");
        if (notNull)
            col += QStringLiteral(" NOT NULL");
        if (f.type == tText && !f.allowZeroLength)
            col += QStringLiteral(" CHECK (") + driver::quotedIdentifier(f.name) +
                   QStringLiteral(" <> '')");
        columns << col;
    }
    QStringList statements{QStringLiteral("CREATE TABLE ") + driver::quotedIdentifier(def.name) +
                           QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
                           QLatin1Char(')')};
    for (const IndexDef &i : def.indexes) {
        QStringList cols;
        for (const QString &f : i.fields)
            cols << driver::quotedIdentifier(f);
        statements << QStringLiteral("CREATE ") +
                          ((i.unique || i.primary) ? QStringLiteral("UNIQUE ") : QString()) +
                          QStringLiteral("INDEX ") + driver::quotedIdentifier(i.name) +
                          QStringLiteral(" ON ") + driver::quotedIdentifier(def.name) +
                          QStringLiteral(" (") + cols.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    // A table appears whole or not at all. A server knows SAVEPOINT only
    // inside a transaction, SQLite starts one with it.
    const bool own = server && !db.inTransaction();
    if (!db.exec(own ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT create_table")))
        return false;
    for (const QString &s : statements) {
        if (!db.exec(s)) {
            // The statement that failed is what is told.
            if (own) {
                (void)db.exec(QStringLiteral("ROLLBACK"));
            } else {
                (void)db.exec(QStringLiteral("ROLLBACK TO create_table"));
                (void)db.exec(QStringLiteral("RELEASE create_table"));
            }
            return false;
        }
    }
    return db.exec(own ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE create_table"));
}

} // namespace data
