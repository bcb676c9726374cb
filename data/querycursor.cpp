// Query cursors: the rows of one SELECT with bound values, read forward.
#include "data/xbase.h"

#include "base/daynumber.h"
#include "data/driverhandles.h"

#include <QSqlError>
#include <QSqlField>
#include <charconv>
#include <sqlite3.h>

namespace data {
namespace {

int typeOf(const TableDef *def, const QSqlRecord &rec, const QString &name) {
    if (def) {
        if (const FieldDef *f = def->field(name))
            return f->type;
    }
    return inferredType(rec.field(name));
}

// The server's type codes (pg_type) the typed reads tell apart.
constexpr Oid Int8 = 20, Int2 = 21, Int4 = 23, Bool = 16, Float4 = 700, Float8 = 701,
              Numeric = 1700;

qint64 wholeNumber(const char *text, int length) {
    qint64 n = 0;
    std::from_chars(text, text + length, n);
    return n;
}

} // namespace

QueryCursor::~QueryCursor() {
    endScan();
}

bool QueryCursor::scanLive() const {
    return m_pg || (m_scan && m_scanDb->scanGeneration() == m_scanGeneration);
}

void QueryCursor::endScan() {
    if (m_pg)
        driver::libpq().clear(m_pg);
    m_pg = nullptr;
    if (m_scan && scanLive())
        m_scanDb->releaseScan(m_scan);
    m_scan = nullptr;
    m_scanDb = nullptr;
    m_binds.clear();
}

QueryCursor::Scan QueryCursor::openScan(Database &db, const QString &sql,
                                        const QVariantList &binds) {
    // Kept while the read lasts: SQLite reads them at every step.
    m_binds.clear();
    for (const QVariant &b : binds)
        m_binds.push_back(storedOf(b));
    if (db.isServer()) {
        bool tried = false;
        m_pg = db.serverScan(sql, m_binds, &tried);
        m_binds.clear();
        if (!m_pg)
            return tried ? Scan::Failed : Scan::Unavailable;
        m_row = 0;
        m_rows = driver::libpq().ntuples(m_pg);
        m_eof = m_rows == 0;
        if (m_eof)
            endScan();
        return Scan::Open;
    }
    m_scan = db.acquireScan(sql);
    if (!m_scan) {
        m_binds.clear();
        return Scan::Unavailable;
    }
    m_scanDb = &db;
    m_scanGeneration = db.scanGeneration();
    for (size_t i = 0; i < m_binds.size(); ++i)
        Database::bindValue(m_scan, int(i + 1), m_binds[i]);
    bool failed = false;
    m_eof = !db.stepScan(m_scan, &failed);
    if (m_eof)
        endScan();
    return failed ? Scan::Failed : Scan::Open;
}

bool QueryCursor::serverWhole(int column) const {
    const Oid type = driver::libpq().ftype(m_pg, column);
    return type == Int8 || type == Int4 || type == Int2;
}

QVariant QueryCursor::scanned(int column) const {
    if (m_pg) {
        const driver::Libpq &pq = driver::libpq();
        if (pq.getisnull(m_pg, m_row, column))
            return QVariant(QMetaType::fromType<QString>());
        const char *text = pq.getvalue(m_pg, m_row, column);
        const int length = pq.getlength(m_pg, m_row, column);
        switch (pq.ftype(m_pg, column)) {
        case Int8:
        case Int4:
        case Int2:
            return qlonglong(wholeNumber(text, length));
        case Float4:
        case Float8:
        case Numeric:
            return QByteArray(text, length).toDouble();
        case Bool:
            return text[0] == 't';
        default:
            return QString::fromUtf8(text, length);
        }
    }
    switch (sqlite3_column_type(m_scan, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_scan, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_scan, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_scan, column)),
                          sqlite3_column_bytes(m_scan, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    default:
        return QString(static_cast<const QChar *>(sqlite3_column_text16(m_scan, column)),
                       sqlite3_column_bytes16(m_scan, column) / qsizetype(sizeof(QChar)));
    }
}

bool QueryCursor::moveNext() {
    if (m_pg) {
        if (!m_eof && ++m_row < m_rows)
            return true;
        m_eof = true;
        endScan();
        return false;
    }
    if (m_scan) {
        bool failed = false;
        if (!m_eof && scanLive() && m_scanDb->stepScan(m_scan, &failed))
            return true;
        m_eof = true;
        m_failed = failed;
        endScan();
        return false;
    }
    if (m_eof || !m_query)
        return false;
    m_eof = !m_query->next();
    if (m_eof)
        m_query->finish();
    return !m_eof;
}

QVariant QueryCursor::field(const QString &name) const {
    if (m_eof || !m_query || scanning())
        return 1;
    describeColumns();
    const qsizetype i = m_names.indexOf(name);
    return i < 0 ? QVariant(1) : field(int(i));
}

QVariant QueryCursor::field(int column) const {
    // A scan has only its typed reads.
    if (m_eof || !m_query || scanning())
        return 1;
    describeColumns();
    if (column < 0 || column >= int(m_types.size()))
        return 1;
    return fromStored(m_query->value(column), m_types[size_t(column)]);
}

QString QueryCursor::text(int column) const {
    if (m_pg) {
        const driver::Libpq &pq = driver::libpq();
        if (m_eof || pq.getisnull(m_pg, m_row, column))
            return QString();
        switch (pq.ftype(m_pg, column)) {
        case Int8:
        case Int4:
        case Int2:
        case Float4:
        case Float8:
        case Numeric:
        case Bool:
            return scanned(column).toString();
        default:
            return QString::fromUtf8(pq.getvalue(m_pg, m_row, column),
                                     pq.getlength(m_pg, m_row, column));
        }
    }
    if (m_scan) {
        if (m_eof || !scanLive())
            return QString();
        switch (sqlite3_column_type(m_scan, column)) {
        case SQLITE_NULL:
            return QString();
        case SQLITE_TEXT:
            return QString(static_cast<const QChar *>(sqlite3_column_text16(m_scan, column)),
                           sqlite3_column_bytes16(m_scan, column) / qsizetype(sizeof(QChar)));
        default:
            return scanned(column).toString();
        }
    }
    return m_eof || !m_query ? QString() : m_query->value(column).toString();
}

QDate QueryCursor::date(int column) const {
    if (m_pg) {
        const driver::Libpq &pq = driver::libpq();
        if (m_eof || pq.getisnull(m_pg, m_row, column))
            return QDate();
        if (serverWhole(column))
            return dateFromDayNumber(
                wholeNumber(pq.getvalue(m_pg, m_row, column), pq.getlength(m_pg, m_row, column)));
        return dateFromDayNumber(static_cast<int64_t>(std::floor(scanned(column).toDouble())));
    }
    if (m_scan) {
        if (m_eof || !scanLive())
            return QDate();
        switch (sqlite3_column_type(m_scan, column)) {
        case SQLITE_NULL:
            return QDate();
        case SQLITE_INTEGER:
            return dateFromDayNumber(sqlite3_column_int64(m_scan, column));
        default:
            return dateFromDayNumber(static_cast<int64_t>(std::floor(scanned(column).toDouble())));
        }
    }
    if (m_eof || !m_query)
        return QDate();
    const QVariant v = m_query->value(column);
    if (v.isNull())
        return QDate();
    // Our own rows hold whole day numbers; the suite's may carry a time of day.
    if (v.metaType().id() == QMetaType::LongLong)
        return dateFromDayNumber(v.toLongLong());
    return dateFromDayNumber(static_cast<int64_t>(std::floor(v.toDouble())));
}

Money QueryCursor::money(int column) const {
    return Money::fromUnits(number(column));
}

qint64 QueryCursor::number(int column) const {
    if (m_pg) {
        const driver::Libpq &pq = driver::libpq();
        if (m_eof || pq.getisnull(m_pg, m_row, column))
            return 0;
        if (serverWhole(column))
            return wholeNumber(pq.getvalue(m_pg, m_row, column), pq.getlength(m_pg, m_row, column));
        return scanned(column).toLongLong();
    }
    if (m_scan) {
        if (m_eof || !scanLive())
            return 0;
        switch (sqlite3_column_type(m_scan, column)) {
        case SQLITE_NULL:
            return 0;
        case SQLITE_INTEGER:
            return sqlite3_column_int64(m_scan, column);
        default:
            return scanned(column).toLongLong();
        }
    }
    return m_eof || !m_query ? 0 : m_query->value(column).toLongLong();
}

void QueryCursor::describeColumns() const {
    // Once per query: the record is costly to build, a scan reads many rows.
    if (m_described)
        return;
    m_described = true;
    const QSqlRecord rec = m_query->record();
    m_names.clear();
    m_types.clear();
    for (int i = 0; i < rec.count(); ++i) {
        m_names << rec.fieldName(i);
        m_types.push_back(typeOf(m_def, rec, rec.fieldName(i)));
    }
}

void QueryCursor::finish() {
    endScan();
    if (m_query)
        m_query->finish();
    m_eof = true;
}

bool QdOpen(Database &db, QueryCursor &cursor, const QString &sql, const QVariantList &binds) {
    cursor.finish();
    bool ok = db.isOpen() && db.send();
    for (const QVariant &b : binds)
        if (b.metaType().id() == QMetaType::QString && !isValidUtf16(b.toString()))
            ok = false;
    cursor.m_failed = !ok;
    if (ok && cursor.m_scanOnly) {
        const QueryCursor::Scan scan = cursor.openScan(db, sql, binds);
        if (scan != QueryCursor::Scan::Unavailable) {
            cursor.m_query.reset();
            cursor.m_failed = scan == QueryCursor::Scan::Failed;
            if (cursor.m_failed)
                cursor.m_eof = true;
            return !cursor.m_failed;
        }
    }
    cursor.m_query = std::make_unique<QSqlQuery>(db.sql());
    cursor.m_query->setForwardOnly(!db.isServer());
    // A server refuses text holding a NUL character; like any failing query
    // it must not spoil the action under way.
    ok = ok && db.guarded(
                   [&] {
                       if (!cursor.m_query->prepare(sql))
                           return false;
                       for (const QVariant &b : binds)
                           cursor.m_query->addBindValue(b);
                       return cursor.m_query->exec();
                   },
                   cursor.m_query.get());
    cursor.m_failed = !ok;
    if (!ok) {
        cursor.m_eof = true;
        return false;
    }
    cursor.m_described = false;
    cursor.m_eof = !cursor.m_query->next();
    if (cursor.m_eof)
        cursor.m_query->finish();
    return true;
}

bool QueryOpen(Database &db, QueryCursor &cursor, const QString &sql, const QVariantList &binds,
               Messages &messages) {
    if (!QdOpen(db, cursor, sql, binds)) {
        tellReadFailed(db, messages);
        return false;
    }
    return !cursor.eof();
}

void tellReadFailed(const Database &db, Messages &messages) {
    // A failure that ended the action is told once, at the action's end;
    // one of the disk or the file says what it was.
    const QString why = failureText(db.failure());
    if (!db.actionOver())
        messages.warning(QStringLiteral("Sql Rapor Yaratılamıyor") +
                         (why.isEmpty() ? QString() : u'\n' + why));
}

void tellNotStored(const Database &db, Messages &messages, const QString &text, Messages::Icon icon,
                   const QString &title) {
    if (!db.actionOver())
        messages.show(icon, title, text);
}

} // namespace data
