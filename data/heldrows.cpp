// The rows a writing action holds back on a server and sends many at a time:
// by COPY for new rows, by multi-row statements for changes.
#include "data/database.h"
#include "data/driverhandles.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <bit>
#include <sqlite3.h>

namespace data {
namespace {

// Rows held back before they are sent on their own, and the bound values of
// one multi-row statement: big enough that round trips no longer count,
// small enough to keep the memory of a long action flat.
constexpr size_t kHeldRows = 4096;
constexpr qsizetype kValuesPerStatement = 12000;

} // namespace

using driver::Libpq;
using driver::libpq;
using driver::quotedIdentifier;
using driver::serverHandle;

void Database::holdInsert(const QString &table, const QStringList &columns, QByteArray line,
                          std::function<void()> refused) {
    if (m_actionOver)
        return;
    // Rows of one table share one list of columns: runs are then told apart
    // without comparing names.
    QStringList &shared = m_columnLists[table];
    const auto same = [&] {
        if (shared.size() != columns.size())
            return false;
        for (qsizetype i = 0; i < columns.size(); ++i)
            if (shared[i].constData() != columns[i].constData() && shared[i] != columns[i])
                return false;
        return true;
    };
    if (!same())
        shared = columns;
    m_inserts.push_back({++m_turns, table, shared, std::move(line), {}, std::move(refused), 0});
    if (m_inserts.size() >= kHeldRows && !m_sending) {
        // Only the rows: totals kept in memory wait for a reader or the commit.
        m_sending = true;
        Refusals refusals;
        // A batch that fails has ended the action or named its rows.
        (void)sendHeld(refusals);
        m_sending = false;
        if (m_actionOver)
            return;
        for (const auto &[turn, refusal] : refusals) {
            ++m_refusedRows;
            refusal();
        }
    }
}

void Database::holdUpdate(const QString &table, qint64 id, const QStringList &columns,
                          std::vector<StoredValue> values) {
    // Found by the row: a long action changes thousands of cards.
    auto &at = m_updateAt[table];
    if (const auto found = at.constFind(id); found != at.cend()) {
        HeldRow &u = m_updates[*found];
        if (u.columns == columns) {
            u.values = std::move(values);
            return;
        }
    }
    at.insert(id, m_updates.size());
    m_updates.push_back({++m_turns, table, columns, {}, std::move(values), {}, id});
}

void Database::beforeReading(const QString &table, std::function<void()> handOver) {
    m_handOvers.emplace_back(table, std::move(handOver));
}

bool Database::send(const QString &table) {
    if (m_actionOver)
        return false;
    if (m_sending)
        return true;
    if (table.isEmpty())
        return sendAll(QString());
    // A read of one table waits only for what it could see.
    for (const auto &[t, handOver] : m_handOvers)
        if (t == table)
            handOver();
    const auto touches = [&](const std::vector<HeldRow> &held) {
        return std::any_of(held.begin(), held.end(),
                           [&](const HeldRow &r) { return r.table == table; });
    };
    return (!touches(m_inserts) && !touches(m_updates)) || sendAll(table);
}

bool Database::sendBeforeWriting(const QString &table) {
    return !m_actionOver && (m_sending || sendAll(table));
}

bool Database::sendAll(const QString &handOverTable) {
    m_sending = true;
    for (const auto &[t, handOver] : m_handOvers)
        if (handOverTable.isEmpty() || t == handOverTable)
            handOver();
    Refusals refusals;
    const bool ok = sendHeld(refusals);
    m_sending = false;
    // An action that is over refuses everything; it says so once, at its end.
    if (m_actionOver)
        return false;
    // Each refused row says so in its own turn, as if it had been sent alone.
    for (const auto &[turn, refusal] : refusals) {
        ++m_refusedRows;
        refusal();
    }
    return ok;
}

bool Database::sendHeld(Refusals &refusals) {
    std::vector<HeldRow> inserts, updates;
    inserts.swap(m_inserts);
    updates.swap(m_updates);
    m_updateAt.clear();
    if (inserts.empty() && updates.empty())
        return true;
    // Table by table in the order they were first written; within a table
    // in the order of the calls, so ids keep that order.
    bool ok = true;
    for (auto *held : {&inserts, &updates}) {
        std::vector<QString> tables;
        for (const HeldRow &r : *held)
            if (std::find(tables.begin(), tables.end(), r.table) == tables.end())
                tables.push_back(r.table);
        for (const QString &table : tables) {
            std::vector<HeldRow *> run;
            const auto flush = [&] {
                ok = ok && sendRun(run, held == &updates, refusals);
                run.clear();
            };
            for (HeldRow &r : *held) {
                if (r.table != table)
                    continue;
                if (!run.empty() && r.columns != run.front()->columns)
                    flush();
                run.push_back(&r);
            }
            flush();
        }
    }
    std::sort(refusals.begin(), refusals.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    return ok;
}

Database::Statement &Database::batchStatement(const HeldRow &first, qsizetype rows) {
    const QString key =
        QString::number(rows) + u'|' + first.table + u'|' + first.columns.join(u',');
    auto &st = m_batchStatements[key];
    if (st)
        return *st;
    QStringList cols;
    for (const QString &c : first.columns)
        cols << quotedIdentifier(c);
    QString sql;
    if (rows == 1) {
        sql = updateSql(first);
    } else {
        // One statement for many rows; the values list is typed by its
        // first row, the rest follow.
        QStringList typed{QStringLiteral("CAST(? AS BIGINT)")}, names{QStringLiteral("id")}, sets;
        for (qsizetype i = 0; i < cols.size(); ++i) {
            typed << (first.values[size_t(i)].kind == StoredValue::Kind::Real
                          ? QStringLiteral("CAST(? AS DOUBLE PRECISION)")
                          : QStringLiteral("CAST(? AS BIGINT)"));
            names << QStringLiteral("c%1").arg(i);
            sets << cols[i] + QStringLiteral(" = v.c%1").arg(i);
        }
        const QString row =
            u'(' + QStringList(cols.size() + 1, QStringLiteral("?")).join(u',') + u')';
        sql = QStringLiteral("UPDATE ") + quotedIdentifier(first.table) +
              QStringLiteral(" t SET ") + sets.join(u',') + QStringLiteral(" FROM (VALUES (") +
              typed.join(u',') + u')' + QString(rows > 1 ? QStringLiteral(",") : QString()) +
              QStringList(rows - 1, row).join(u',') + QStringLiteral(") v(") + names.join(u',') +
              QStringLiteral(") WHERE t.id = v.id");
    }
    st.reset(new Statement{sql, QSqlQuery(m_db)});
    return *st;
}

QString Database::updateSql(const HeldRow &first) {
    QStringList cols;
    for (const QString &c : first.columns)
        cols << quotedIdentifier(c);
    return QStringLiteral("UPDATE ") + quotedIdentifier(first.table) + QStringLiteral(" SET ") +
           cols.join(QStringLiteral("=?,")) + QStringLiteral("=? WHERE id=?");
}

bool Database::sendRun(const std::vector<HeldRow *> &run, bool update, Refusals &refusals) {
    const auto refuse = [&](size_t i) {
        if (run[i]->refused)
            refusals.emplace_back(run[i]->turn, run[i]->refused);
    };
    if (!isServer()) {
        // Only changes wait on SQLite, which has no round trips to save:
        // row by row, through the engine's own calls.
        sqlite3_stmt *st = directStatement(updateSql(*run.front()));
        if (!st)
            return false;
        for (size_t i = 0; i < run.size(); ++i) {
            int at = 0;
            for (const StoredValue &v : run[i]->values)
                bindValue(st, ++at, v);
            sqlite3_bind_int64(st, ++at, run[i]->id);
            if (stepDirect(st))
                continue;
            if (m_actionOver)
                return false;
            refuse(i);
        }
        return true;
    }
    // Prepared inside the savepoint too: a statement the server cannot
    // prepare must not spoil the action either.
    const auto execute = [&](Statement &st, size_t from, size_t to, bool idFirst) {
        return guarded(
            [&] {
                if (!st.prepared)
                    st.prepared = st.query.prepare(st.sql);
                if (!st.prepared)
                    return false;
                for (size_t i = from; i < to; ++i) {
                    if (idFirst)
                        st.query.addBindValue(run[i]->id);
                    for (const StoredValue &v : run[i]->values)
                        st.query.addBindValue(toVariant(v));
                    if (!idFirst)
                        st.query.addBindValue(run[i]->id);
                }
                const bool ok = st.query.exec();
                if (ok)
                    st.query.finish();
                return ok;
            },
            &st.query);
    };
    const size_t perStatement =
        std::max<size_t>(1, size_t(kValuesPerStatement) / (run.front()->values.size() + 1));
    for (size_t from = 0; from < run.size();) {
        // New rows go through COPY, the server's own way to take many rows.
        // Changes in whole batches, then the rest in halves, so a few
        // statements serve every number of rows.
        const size_t to =
            update ? from + std::min(perStatement, std::bit_floor(run.size() - from)) : run.size();
        if (to - from > 1) {
            if (update ? execute(batchStatement(*run[from], qsizetype(to - from)), from, to, true)
                       : copy(run, from, to)) {
                from = to;
                continue;
            }
            // A server that went away takes no row at all: the commit says so.
            if (m_actionOver || !alive())
                return false;
        }
        // The batch was refused as a whole: row by row, so only the rows at
        // fault are refused.
        for (; from < to; ++from) {
            if (update ? execute(batchStatement(*run[from], 1), from, from + 1, false)
                       : copy(run, from, from + 1))
                continue;
            if (m_actionOver)
                return false;
            refuse(from);
        }
    }
    return true;
}

bool Database::copy(const std::vector<HeldRow *> &run, size_t from, size_t to) {
    PGconn *conn = serverHandle(m_db);
    const Libpq &pq = libpq();
    if (!conn || !pq.loaded)
        return false;
    const HeldRow &first = *run[from];
    QStringList cols;
    for (const QString &c : first.columns)
        cols << quotedIdentifier(c);
    const QByteArray sql = (QStringLiteral("COPY ") + quotedIdentifier(first.table) +
                            QStringLiteral(" (") + cols.join(u',') + QStringLiteral(") FROM STDIN"))
                               .toUtf8();
    QByteArray joined;
    const QByteArray *rowsText = &first.line;
    if (to - from > 1) {
        qsizetype size = 0;
        for (size_t i = from; i < to; ++i)
            size += run[i]->line.size();
        joined.reserve(size);
        for (size_t i = from; i < to; ++i)
            joined += run[i]->line;
        rowsText = &joined;
    }
    const QByteArray &rows = *rowsText;
    return guarded([&] {
        PGresult *started = pq.exec(conn, sql.constData());
        const bool copying = pq.resultStatus(started) == PGRES_COPY_IN;
        pq.clear(started);
        bool ok = copying && pq.putCopyData(conn, rows.constData(), int(rows.size())) == 1;
        if (copying)
            ok = pq.putCopyEnd(conn, ok ? nullptr : "koop") == 1 && ok;
        QString state;
        while (PGresult *r = pq.getResult(conn)) {
            if (pq.resultStatus(r) != PGRES_COMMAND_OK) {
                ok = false;
                if (const char *code = pq.resultErrorField(r, PG_DIAG_SQLSTATE))
                    state = QString::fromLatin1(code);
            }
            pq.clear(r);
        }
        if (!ok) {
            m_lastError = QString::fromUtf8(pq.errorMessage(conn));
            m_lastCode = state;
        }
        return ok;
    });
}

void Database::dropHeld() {
    m_columnLists.clear();
    m_inserts.clear();
    m_updates.clear();
    m_updateAt.clear();
    m_handOvers.clear();
}

} // namespace data
