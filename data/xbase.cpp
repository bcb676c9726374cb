#include "data/xbase.h"

#include "base/daynumber.h"
#include "data/driverhandles.h"

#include <QSqlError>
#include <QSqlField>
#include <algorithm>
#include <cmath>

namespace data {
namespace {

constexpr size_t kMaxCachedStatements = 48;

} // namespace

using driver::quotedIdentifier;

bool isValidUtf16(const QString &text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= n || !text.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

Money toMoney(const QVariant &value) {
    return value.metaType() == QMetaType::fromType<Money>() ? value.value<Money>() : Money();
}

QVariant nullReplacement(int typeCode) {
    switch (typeCode) {
    case tText:
    case tDate:
        return QString();
    case tLongBinary:
        return QVariant();
    default:
        return 0;
    }
}

QVariant fromStored(const QVariant &stored, int typeCode) {
    if (stored.isNull())
        return nullReplacement(typeCode);
    switch (typeCode) {
    case tText:
    case tMemo:
        return stored.toString();
    case tCurrency:
        return QVariant::fromValue(Money::fromUnits(stored.toLongLong()));
    case tDate:
        return dateFromDayNumber(static_cast<int64_t>(std::floor(stored.toDouble())));
    case tBoolean:
    case tByte:
    case tInteger:
    case tLong:
        return stored.toInt();
    case tSingle:
    case tDouble:
        return stored.toDouble();
    default:
        return stored;
    }
}

QVariant toStored(const QVariant &value, const FieldDef &field, bool *ok) {
    *ok = true;
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (field.type) {
    case tText:
    case tMemo: {
        StoredValue s = storedText(value.toString(), field.type == tText ? field.size : 0);
        if (s.kind == StoredValue::Kind::Null) {
            *ok = false;
            return {};
        }
        return s.text;
    }
    case tCurrency: {
        std::optional<Money> m;
        if (value.metaType() == QMetaType::fromType<Money>())
            m = value.value<Money>();
        else if (value.metaType().id() == QMetaType::Double ||
                 value.metaType().id() == QMetaType::Float)
            m = Money::fromDouble(value.toDouble());
        else if (value.metaType().id() == QMetaType::QString)
            m = Money::parse(value.toString());
        else {
            bool isInt = false;
            const qlonglong whole = value.toLongLong(&isInt);
            if (isInt && whole <= INT64_MAX / Money::Scale && whole >= INT64_MIN / Money::Scale)
                m = Money::fromWhole(whole);
        }
        // A sum beyond the range is never stored as a figure.
        if (!m || m->outOfRange()) {
            *ok = false;
            return {};
        }
        return static_cast<qlonglong>(m->units());
    }
    case tDate:
        if (value.metaType().id() == QMetaType::QDate) {
            const QDate d = value.toDate();
            return d.isValid() ? QVariant(static_cast<qlonglong>(dayNumber(d))) : QVariant();
        }
        if (value.metaType().id() == QMetaType::QString) {
            const QDate d = parseTrDate(value.toString());
            if (!d.isValid()) {
                *ok = value.toString().isEmpty();
                return {};
            }
            return static_cast<qlonglong>(dayNumber(d));
        }
        return value.toLongLong();
    case tBoolean:
        return value.toBool() ? -1 : 0;
    case tByte:
    case tInteger:
    case tLong:
        return value.toLongLong(ok);
    case tSingle:
    case tDouble:
        return value.toDouble(ok);
    default:
        return value;
    }
}

// ---- table cursors

QSqlQuery &TableCursor::prepared(const QString &key, const std::function<QString()> &sql) {
    for (auto &[k, query] : m_statements)
        if (k == key)
            return *query;
    if (m_statements.size() >= kMaxCachedStatements)
        m_statements.erase(m_statements.begin());
    auto q = std::make_unique<QSqlQuery>(m_db->sql());
    // Cursors read one row at a time; no client-side row cache. Not on a
    // server: its driver reads a forward-only result row by row from the
    // connection and drops the rest when the next statement runs.
    q->setForwardOnly(!m_db->isServer());
    q->prepare(sql());
    m_statements.emplace_back(key, std::move(q));
    return *m_statements.back().second;
}

QString TableCursor::selectFrom() const {
    QStringList cols{QStringLiteral("id")};
    for (const QString &c : m_columns)
        cols << quotedIdentifier(c);
    return QStringLiteral("SELECT ") + cols.join(QLatin1Char(',')) + QStringLiteral(" FROM ");
}

qsizetype TableCursor::columnIndex(const QString &fieldName) const {
    // The program spells its field names as the tables do; the
    // case-insensitive pass is for everyone else.
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        if (m_columns[i] == fieldName)
            return i;
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString TableCursor::orderBy(bool descending) const {
    const QString dir = descending ? QStringLiteral(" DESC") : QString();
    // Null keys come first, as SQLite orders them; a server puts them last
    // unless told.
    const QString nulls = !m_db->isServer() ? QString()
                          : descending      ? QStringLiteral(" NULLS LAST")
                                            : QStringLiteral(" NULLS FIRST");
    QString order = QStringLiteral(" ORDER BY ");
    for (const QString &f : m_indexFields)
        order += quotedIdentifier(f) + dir + nulls + QStringLiteral(", ");
    return order + QStringLiteral("id") + dir;
}

bool TableCursor::loadFrom(QSqlQuery &q) {
    const bool found = q.next();
    if (found) {
        // Columns come as "id" followed by m_columns, in that order.
        m_currentId = q.value(0).toLongLong();
        m_values.resize(size_t(m_columns.size()));
        for (qsizetype i = 0; i < m_columns.size(); ++i)
            m_values[size_t(i)] = q.value(int(i + 1));
    }
    m_hasCurrent = found;
    m_eof = !found;
    // Never keep a read open: an unfinished SELECT pins an old snapshot.
    q.finish();
    return found;
}

bool DbOpen(Database &db, const QString &filePath) {
    return db.open(filePath);
}

bool DbCreate(Database &db, const QString &filePath) {
    return db.create(filePath);
}

bool RsOpen(Database &db, TableCursor &cursor, const QString &tableName) {
    if (!db.isOpen() || !db.hasTable(tableName))
        return false;
    RsClose(cursor);
    const QSqlRecord rec = db.sql().record(tableName);
    cursor.m_db = &db;
    cursor.m_table = tableName;
    cursor.m_def = schema::find(tableName);
    cursor.m_columns.clear();
    cursor.m_fields.clear();
    for (int i = 0; i < rec.count(); ++i) {
        const QString name = rec.fieldName(i);
        if (name == QLatin1String("id"))
            continue;
        cursor.m_columns << name;
        const FieldDef *f = cursor.m_def ? cursor.m_def->field(name) : nullptr;
        cursor.m_fields.push_back(f ? *f : FieldDef{name, inferredType(rec.field(i)), 0});
    }
    cursor.m_eof = true;
    return true;
}

bool RsClose(TableCursor &cursor) {
    cursor.m_shape = nullptr;
    cursor.m_statements.clear();
    cursor.m_fields.clear();
    cursor.m_columns.clear();
    cursor.m_db = nullptr;
    cursor.m_table.clear();
    cursor.m_def = nullptr;
    cursor.m_indexFields.clear();
    cursor.m_hasCurrent = false;
    cursor.m_eof = true;
    cursor.m_noMatch = false;
    cursor.m_mode = TableCursor::Mode::Browse;
    cursor.m_buffer.clear();
    return true;
}

bool TableCursor::moveEnd(bool last) {
    if (!isOpen() || m_db->actionOver()) {
        m_eof = true;
        m_hasCurrent = false;
        return false;
    }
    m_mode = Mode::Browse;
    // What this read could see must be there first; when it cannot be, the
    // action is over and the read is refused.
    if (!m_db->send(m_table)) {
        m_eof = true;
        return false;
    }
    QSqlQuery &q =
        prepared(QStringLiteral("end") + (last ? u'L' : u'F') + m_indexFields.join(u','), [&] {
            return selectFrom() + quotedIdentifier(m_table) + orderBy(last) +
                   QStringLiteral(" LIMIT 1");
        });
    if (!q.exec()) {
        m_db->statementFailed(q.lastError());
        m_eof = true;
        return false;
    }
    // A failed seek is still reported by the next move, as the old cursors did.
    return loadFrom(q) && !m_noMatch;
}

bool RsMoveFirst(TableCursor &cursor) {
    return cursor.moveEnd(false);
}
bool RsMoveLast(TableCursor &cursor) {
    return cursor.moveEnd(true);
}

bool RsMoveNext(TableCursor &cursor) {
    if (!cursor.isOpen() || cursor.m_eof || !cursor.m_hasCurrent || cursor.m_db->actionOver()) {
        cursor.m_eof = true;
        return false;
    }
    cursor.m_mode = TableCursor::Mode::Browse;
    if (!cursor.m_db->send(cursor.m_table)) {
        cursor.m_eof = true;
        return false;
    }
    const QString t = quotedIdentifier(cursor.m_table);
    if (cursor.m_indexFields.isEmpty()) {
        QSqlQuery &q = cursor.prepared(QStringLiteral("next"), [&] {
            return cursor.selectFrom() + t + QStringLiteral(" WHERE id > ? ORDER BY id LIMIT 1");
        });
        q.addBindValue(cursor.m_currentId);
        if (!q.exec()) {
            cursor.m_db->statementFailed(q.lastError());
            cursor.m_eof = true;
            return false;
        }
        return cursor.loadFrom(q);
    }
    // The record after the current one in index order: a greater first
    // field, or an equal one and a greater second, and so on, the entry order
    // last. Null keys sort first, as SQLite orders them.
    QString pattern = QStringLiteral("next:");
    QVariantList binds;
    QStringList eqs, gts;
    for (const QString &f : cursor.m_indexFields) {
        const QVariant v = cursor.m_values[size_t(cursor.columnIndex(f))];
        const QString k = quotedIdentifier(f);
        pattern += f + (v.isNull() ? u'0' : u'1');
        eqs << (v.isNull() ? k + QStringLiteral(" IS NULL") : k + QStringLiteral(" = ?"));
        gts << (v.isNull() ? k + QStringLiteral(" IS NOT NULL") : k + QStringLiteral(" > ?"));
    }
    QString condition = QStringLiteral("id > ?");
    for (qsizetype i = cursor.m_indexFields.size(); i-- > 0;)
        condition = u'(' + gts[i] + QStringLiteral(" OR (") + eqs[i] + QStringLiteral(" AND ") +
                    condition + QStringLiteral("))");
    // Bind in the order the marks appear: each level's ">" then its "=".
    for (const QString &f : cursor.m_indexFields) {
        const QVariant v = cursor.m_values[size_t(cursor.columnIndex(f))];
        if (!v.isNull())
            binds << v << v;
    }
    binds << cursor.m_currentId;
    QSqlQuery &q = cursor.prepared(pattern, [&] {
        return cursor.selectFrom() + t + QStringLiteral(" WHERE ") + condition +
               cursor.orderBy(false) + QStringLiteral(" LIMIT 1");
    });
    for (const QVariant &v : binds)
        q.addBindValue(v);
    if (!q.exec()) {
        cursor.m_db->statementFailed(q.lastError());
        cursor.m_eof = true;
        return false;
    }
    return cursor.loadFrom(q);
}

bool RsSeek(TableCursor &cursor, const QString &indexName, const QVariant &key) {
    if (!RsSetIndex(cursor, indexName))
        return false;
    cursor.m_mode = TableCursor::Mode::Browse;
    bool ok = true;
    QVariant stored = key;
    if (cursor.m_def) {
        if (const FieldDef *f = cursor.m_def->field(cursor.m_indexFields.first()))
            stored = toStored(key, *f, &ok);
    }
    if (ok && !stored.isNull() && cursor.m_db->send(cursor.m_table)) {
        // The first record with the key, in the index's order.
        QSqlQuery &q =
            cursor.prepared(QStringLiteral("seek:") + cursor.m_indexFields.join(u','), [&] {
                return cursor.selectFrom() + quotedIdentifier(cursor.m_table) +
                       QStringLiteral(" WHERE ") + quotedIdentifier(cursor.m_indexFields.first()) +
                       QStringLiteral(" = ?") + cursor.orderBy(false) + QStringLiteral(" LIMIT 1");
            });
        q.addBindValue(stored);
        if (cursor.m_db->guarded([&] { return q.exec(); }, &q) && cursor.loadFrom(q)) {
            cursor.m_noMatch = false;
            return true;
        }
    }
    cursor.m_noMatch = true;
    cursor.m_hasCurrent = false;
    return false;
}

bool RsSetIndex(TableCursor &cursor, const QString &indexName) {
    if (!cursor.isOpen())
        return false;
    const IndexDef *index = cursor.m_def ? cursor.m_def->index(indexName) : nullptr;
    if (!index || index->fields.isEmpty())
        return false;
    cursor.m_indexFields = index->fields;
    return true;
}

bool RsEdit(TableCursor &cursor) {
    if (!cursor.isOpen() || !cursor.m_hasCurrent)
        return false;
    cursor.m_mode = TableCursor::Mode::Editing;
    cursor.m_buffer.clear();
    return true;
}

bool RsAddNew(TableCursor &cursor) {
    if (!cursor.isOpen())
        return false;
    cursor.m_mode = TableCursor::Mode::Adding;
    cursor.m_buffer.clear();
    return true;
}

bool RsAddNewMadeOnUse(Database &db, TableCursor &cursor, const TableDef &def) {
    if (!db.hasTable(def.name) && !createTable(db, def))
        return false;
    return RsOpen(db, cursor, def.name) && RsAddNew(cursor);
}

bool RsUpdate(TableCursor &cursor) {
    if (!cursor.isOpen() || cursor.m_mode == TableCursor::Mode::Browse)
        return false;
    const TableCursor::Mode mode = cursor.m_mode;
    cursor.m_mode = TableCursor::Mode::Browse;
    if (cursor.m_db->actionOver()) {
        cursor.m_buffer.clear();
        return false;
    }
    if (mode == TableCursor::Mode::Adding && cursor.m_refused && !cursor.m_buffer.empty() &&
        cursor.m_db->batchesRows()) {
        QStringList columns;
        std::vector<StoredValue> values;
        for (const auto &[column, value] : cursor.m_buffer) {
            columns << cursor.m_columns[column];
            values.push_back(storedOf(value));
        }
        cursor.m_buffer.clear();
        QByteArray line;
        appendCopyLine(line, values.data(), qsizetype(values.size()));
        cursor.m_db->holdInsert(cursor.m_table, columns, std::move(line), cursor.m_refused);
        return true;
    }
    // Rows held back go first: ids and messages keep the order of the calls.
    if (!cursor.m_db->sendBeforeWriting(cursor.m_table)) {
        cursor.m_buffer.clear();
        return false;
    }
    if (mode == TableCursor::Mode::Editing && cursor.m_buffer.empty())
        return true;
    // The statement is known by the columns it sets, in the order they were set.
    QString key(mode == TableCursor::Mode::Adding ? u'I' : u'U');
    for (const auto &[column, value] : cursor.m_buffer)
        key += QChar(char16_t(column + 1));
    const auto sql = [&] {
        const QString t = quotedIdentifier(cursor.m_table);
        QStringList cols, marks;
        for (const auto &[column, value] : cursor.m_buffer) {
            cols << quotedIdentifier(cursor.m_columns[column]);
            marks << QStringLiteral("?");
        }
        if (mode == TableCursor::Mode::Editing)
            return QStringLiteral("UPDATE ") + t + QStringLiteral(" SET ") +
                   cols.join(QStringLiteral("=?,")) + QStringLiteral("=? WHERE id=?");
        if (cols.isEmpty())
            return QStringLiteral("INSERT INTO ") + t + QStringLiteral(" DEFAULT VALUES");
        return QStringLiteral("INSERT INTO ") + t + QStringLiteral(" (") +
               cols.join(QLatin1Char(',')) + QStringLiteral(") VALUES (") +
               marks.join(QLatin1Char(',')) + QLatin1Char(')');
    };
    QSqlQuery &q = cursor.prepared(key, sql);
    for (const auto &[column, value] : cursor.m_buffer)
        q.addBindValue(value);
    if (mode == TableCursor::Mode::Editing)
        q.addBindValue(cursor.m_currentId);
    // A row that cannot be stored says so and the action goes on.
    bool missing = false;
    bool ok = cursor.m_db->guarded(
        [&] {
            if (!q.exec())
                return false;
            missing = mode == TableCursor::Mode::Editing && q.numRowsAffected() != 1;
            q.finish();
            return true;
        },
        &q);
    // A row another desk deleted meanwhile is a row not stored, not a failure.
    ok = ok && !missing;
    if (ok && mode == TableCursor::Mode::Editing) {
        for (const auto &[column, value] : cursor.m_buffer)
            cursor.m_values[size_t(column)] = value;
    }
    cursor.m_buffer.clear();
    return ok;
}

bool RsInsert(TableCursor &cursor, const RowShape &shape, const StoredValue *values) {
    if (!cursor.isOpen() || cursor.m_db->actionOver())
        return false;
    Database &db = *cursor.m_db;
    cursor.m_mode = TableCursor::Mode::Browse;
    cursor.m_buffer.clear();
    // A table without one of the columns (another program's) takes the row
    // as the edit buffer does: without that value.
    if (cursor.m_shape != &shape) {
        cursor.m_shape = &shape;
        cursor.m_shapeFits =
            std::all_of(shape.columns.begin(), shape.columns.end(),
                        [&](const QString &c) { return cursor.columnIndex(c) >= 0; });
    }
    const bool fits = cursor.m_shapeFits;
    if (fits && cursor.m_refused && db.batchesRows()) {
        QByteArray line;
        line.reserve(160);
        appendCopyLine(line, values, shape.columns.size());
        db.holdInsert(shape.table, shape.columns, std::move(line), cursor.m_refused);
        return true;
    }
    if (fits && !db.isServer())
        return db.sendBeforeWriting(cursor.m_table) && db.insertRow(shape, values);
    if (!RsAddNew(cursor))
        return false;
    for (qsizetype i = 0; i < shape.columns.size(); ++i) {
        const qsizetype column = cursor.columnIndex(shape.columns[i]);
        if (column >= 0 && values[i].kind != StoredValue::Kind::Null)
            cursor.m_buffer.emplace_back(column, toVariant(values[i]));
    }
    return RsUpdate(cursor);
}

BatchedRows::BatchedRows(TableCursor &cursor, std::function<void()> refused) : m_cursor(cursor) {
    m_cursor.m_refused = std::move(refused);
}

BatchedRows::~BatchedRows() {
    m_cursor.m_refused = nullptr;
}

bool RsCancelUpdate(TableCursor &cursor) {
    if (!cursor.isOpen() || cursor.m_mode == TableCursor::Mode::Browse)
        return false;
    cursor.m_mode = TableCursor::Mode::Browse;
    cursor.m_buffer.clear();
    return true;
}

bool RsDelete(TableCursor &cursor) {
    if (!cursor.isOpen() || !cursor.m_hasCurrent || cursor.m_mode != TableCursor::Mode::Browse)
        return false;
    if (!cursor.m_db->sendBeforeWriting(cursor.m_table))
        return false;
    QSqlQuery &q = cursor.prepared(QStringLiteral("D"), [&] {
        return QStringLiteral("DELETE FROM ") + quotedIdentifier(cursor.m_table) +
               QStringLiteral(" WHERE id=?");
    });
    q.addBindValue(cursor.m_currentId);
    bool gone = false;
    const bool ok = cursor.m_db->guarded(
        [&] {
            if (!q.exec())
                return false;
            gone = q.numRowsAffected() == 1;
            q.finish();
            return true;
        },
        &q);
    cursor.m_hasCurrent = false;
    return ok && gone;
}

bool RsEof(const TableCursor &cursor) {
    return cursor.m_eof;
}

QVariant FieldGet(const TableCursor &cursor, const QString &fieldName) {
    const qsizetype column = cursor.isOpen() ? cursor.columnIndex(fieldName) : -1;
    if (column < 0)
        return 1;
    const int type = cursor.m_fields[size_t(column)].type;
    if (cursor.m_mode != TableCursor::Mode::Browse) {
        for (const auto &[c, value] : cursor.m_buffer)
            if (c == column)
                return fromStored(value, type);
        if (cursor.m_mode == TableCursor::Mode::Adding)
            return nullReplacement(type);
    }
    if (!cursor.m_hasCurrent)
        return 1;
    return fromStored(cursor.m_values[size_t(column)], type);
}

void FieldSet(TableCursor &cursor, const QString &fieldName, const QVariant &value) {
    if (!cursor.isOpen() || cursor.m_mode == TableCursor::Mode::Browse)
        return;
    const qsizetype column = cursor.columnIndex(fieldName);
    if (column < 0)
        return;
    bool ok = true;
    QVariant stored = toStored(value, cursor.m_fields[size_t(column)], &ok);
    // A value the field cannot hold is not written; the rest of the row is.
    if (!ok)
        return;
    for (auto &[c, v] : cursor.m_buffer)
        if (c == column) {
            v = std::move(stored);
            return;
        }
    cursor.m_buffer.emplace_back(column, std::move(stored));
}

} // namespace data
