// The hot rows of a SQLite file through the engine's own calls on Qt's
// connection: a posting of thousands of rows and a statement run of a
// million would otherwise spend more time turning values into QVariants
// than the engine spends storing or finding them.
#include "data/database.h"
#include "data/driverhandles.h"

#include <sqlite3.h>

namespace data {

namespace {

// Statements of long reads kept at most; the rest are made afresh.
constexpr size_t kScans = 32;

} // namespace

using driver::quotedIdentifier;
using driver::sqliteHandle;

void Database::engineFailed(sqlite3 *handle) {
    statementFailed(QString::number(sqlite3_extended_errcode(handle)),
                    QString::fromUtf8(sqlite3_errmsg(handle)));
}

sqlite3_stmt *Database::prepareDirect(const QString &sql) {
    sqlite3 *handle = isOpen() && !isServer() ? sqliteHandle(m_db) : nullptr;
    if (!handle)
        return nullptr;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK)
        return st;
    engineFailed(handle);
    sqlite3_finalize(st);
    return nullptr;
}

sqlite3_stmt *Database::directStatement(const QString &sql) {
    if (const auto found = m_direct.find(sql); found != m_direct.end())
        return found->second;
    sqlite3_stmt *st = prepareDirect(sql);
    if (st)
        m_direct.emplace(sql, st);
    return st;
}

void Database::bindValue(sqlite3_stmt *st, int index, const StoredValue &v) {
    switch (v.kind) {
    case StoredValue::Kind::Null:
        sqlite3_bind_null(st, index);
        return;
    case StoredValue::Kind::Number:
        sqlite3_bind_int64(st, index, v.number);
        return;
    case StoredValue::Kind::Real:
        sqlite3_bind_double(st, index, v.real);
        return;
    case StoredValue::Kind::Text:
        // Empty text is text, not Null: the engine needs a pointer for it.
        // The value outlives the step that reads it.
        sqlite3_bind_text16(st, index,
                            v.text.isEmpty() ? static_cast<const void *>(u"")
                                             : static_cast<const void *>(v.text.utf16()),
                            int(v.text.size() * 2), SQLITE_STATIC);
        return;
    }
}

bool Database::stepDirect(sqlite3_stmt *st) {
    const int rc = sqlite3_step(st);
    bool ok = rc == SQLITE_DONE || rc == SQLITE_ROW;
    if (!ok)
        engineFailed(sqlite3_db_handle(st));
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    return ok;
}

bool Database::insertRow(const RowShape &shape, const StoredValue *values) {
    if (!isOpen() || m_actionOver)
        return false;
    if (!m_inTransaction)
        m_failure = Failure::None;
    sqlite3_stmt *&st = m_shapes[&shape];
    if (!st) {
        QStringList cols;
        for (const QString &c : shape.columns)
            cols << quotedIdentifier(c);
        st = directStatement(QStringLiteral("INSERT INTO ") + quotedIdentifier(shape.table) +
                             QStringLiteral(" (") + cols.join(u',') + QStringLiteral(") VALUES (") +
                             QStringList(cols.size(), QStringLiteral("?")).join(u',') + u')');
        if (!st) {
            m_shapes.erase(&shape);
            return false;
        }
    }
    for (qsizetype i = 0; i < shape.columns.size(); ++i)
        bindValue(st, int(i + 1), values[i]);
    return stepDirect(st);
}

sqlite3_stmt *Database::acquireScan(const QString &sql) {
    if (!isOpen() || isServer() || m_actionOver)
        return nullptr;
    // Outside an action failure() tells of the last statement only.
    if (!m_inTransaction)
        m_failure = Failure::None;
    auto found = m_scans.find(sql);
    if (found != m_scans.end() && !found->second.inUse) {
        found->second.inUse = true;
        return found->second.statement;
    }
    sqlite3_stmt *st = prepareDirect(sql);
    if (st && found == m_scans.end() && m_scans.size() < kScans)
        m_scans.emplace(sql, Scan{st, true});
    return st;
}

void Database::releaseScan(sqlite3_stmt *st) {
    if (!st)
        return;
    // Reset at once: an unfinished read pins an old snapshot of the file.
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    for (auto &[sql, scan] : m_scans)
        if (scan.statement == st) {
            scan.inUse = false;
            return;
        }
    sqlite3_finalize(st);
}

bool Database::stepScan(sqlite3_stmt *st, bool *failed) {
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        *failed = true;
        engineFailed(sqlite3_db_handle(st));
    }
    return false;
}

void Database::dropDirect() {
    for (auto &[sql, st] : m_direct)
        sqlite3_finalize(st);
    m_direct.clear();
    m_shapes.clear();
    // A read still open when the file closes reads no further.
    for (auto &[sql, scan] : m_scans)
        sqlite3_finalize(scan.statement);
    m_scans.clear();
    ++m_scanGeneration;
}

} // namespace data
