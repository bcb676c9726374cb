// The rows a writing action holds back on a server and sends many at a time:
// by COPY for new rows, by multi-row statements for changes.
#include "data/database.h"
#include "data/driverhandles.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>
#include <algorithm>
#include <bit>
#include <charconv>

namespace data {
namespace {

// Rows held back before they are sent on their own, and the bound values of
// one multi-row statement: big enough that round trips no longer count,
// small enough to keep the memory of a long action flat.
constexpr size_t kHeldRows = 4096;
constexpr qsizetype kValuesPerStatement = 12000;

// One value in COPY's text format: \\N for Null, text with its backslash,
// tab and line breaks escaped, numbers as the driver writes them.
void appendCopyValue(QByteArray &out, const QVariant &v) {
    if (!v.isValid() || v.isNull()) {
        out += "\\N";
        return;
    }
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int: {
        char digits[24];
        out.append(digits,
                   std::to_chars(digits, digits + sizeof digits, v.toLongLong()).ptr - digits);
        return;
    }
    case QMetaType::QString:
        break;
    default:
        out += v.toString().toUtf8();
        return;
    }
    const QString &text = *static_cast<const QString *>(v.constData());
    const auto special = [](QChar c) {
        return c == u'\\' || c == u'\t' || c == u'\n' || c == u'\r';
    };
    if (std::none_of(text.begin(), text.end(), special)) {
        // Encoded in place: a long COPY is mostly short texts.
        QStringEncoder utf8(QStringEncoder::Utf8);
        const qsizetype at = out.size();
        out.resize(at + utf8.requiredSpace(text.size()));
        out.truncate(utf8.appendToBuffer(out.data() + at, text) - out.data());
        return;
    }
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

using driver::Libpq;
using driver::libpq;
using driver::quotedIdentifier;
using driver::serverHandle;

void Database::holdInsert(const QString &table, const QStringList &columns,
                          std::vector<QVariant> values, std::function<void()> refused) {
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
    m_inserts.push_back({++m_turns, table, shared, std::move(values), std::move(refused), 0});
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
                          std::vector<QVariant> values) {
    for (HeldRow &u : m_updates)
        if (u.id == id && u.table == table && u.columns == columns) {
            u.values = std::move(values);
            return;
        }
    m_updates.push_back({++m_turns, table, columns, std::move(values), {}, id});
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

Database::Statement &Database::batchStatement(const HeldRow &first, bool update, qsizetype rows) {
    const QString key = (update ? u'U' : u'I') + QString::number(rows) + u'|' + first.table + u'|' +
                        first.columns.join(u',');
    auto &st = m_batchStatements[key];
    if (st)
        return *st;
    QStringList cols;
    for (const QString &c : first.columns)
        cols << quotedIdentifier(c);
    QString sql;
    if (!update) {
        // One new row: many go through COPY.
        sql = QStringLiteral("INSERT INTO ") + quotedIdentifier(first.table) +
              QStringLiteral(" (") + cols.join(u',') + QStringLiteral(") VALUES (") +
              QStringList(cols.size(), QStringLiteral("?")).join(u',') + u')';
    } else if (rows == 1 || !isServer()) {
        sql = QStringLiteral("UPDATE ") + quotedIdentifier(first.table) + QStringLiteral(" SET ") +
              cols.join(QStringLiteral("=?,")) + QStringLiteral("=? WHERE id=?");
    } else {
        // One statement for many rows; the values list is typed by its
        // first row, the rest follow.
        QStringList typed{QStringLiteral("CAST(? AS BIGINT)")}, names{QStringLiteral("id")}, sets;
        for (qsizetype i = 0; i < cols.size(); ++i) {
            const QVariant &v = first.values[size_t(i)];
            typed << (v.typeId() == QMetaType::Double
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

bool Database::sendRun(const std::vector<HeldRow *> &run, bool update, Refusals &refusals) {
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
                    if (update && idFirst)
                        st.query.addBindValue(run[i]->id);
                    for (const QVariant &v : run[i]->values)
                        st.query.addBindValue(v);
                    if (update && !idFirst)
                        st.query.addBindValue(run[i]->id);
                }
                const bool ok = st.query.exec();
                if (ok)
                    st.query.finish();
                return ok;
            },
            &st.query);
    };
    // SQLite has no round trips to save: row by row, as the cursors write.
    const size_t perStatement =
        isServer()
            ? std::max<size_t>(1, size_t(kValuesPerStatement) / (run.front()->values.size() + 1))
            : 1;
    for (size_t from = 0; from < run.size();) {
        // New rows (held on a server only) go through COPY, the server's own
        // way to take many rows. Changes in whole batches, then the rest in
        // halves, so a few statements serve every number of rows.
        const size_t to =
            update ? from + std::min(perStatement, std::bit_floor(run.size() - from)) : run.size();
        if (to - from > 1) {
            if (update ? execute(batchStatement(*run[from], true, qsizetype(to - from)), from, to,
                                 true)
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
            if (execute(batchStatement(*run[from], update, 1), from, from + 1, false))
                continue;
            if (m_actionOver)
                return false;
            if (run[from]->refused)
                refusals.emplace_back(run[from]->turn, run[from]->refused);
        }
    }
    return true;
}

bool Database::copy(const std::vector<HeldRow *> &run, size_t from, size_t to) {
    PGconn *conn = serverHandle(m_db);
    const Libpq &pq = libpq();
    // Without COPY the batch goes row by row, as a refused one does.
    if (!conn || !pq.loaded)
        return false;
    const HeldRow &first = *run[from];
    QStringList cols;
    for (const QString &c : first.columns)
        cols << quotedIdentifier(c);
    const QByteArray sql = (QStringLiteral("COPY ") + quotedIdentifier(first.table) +
                            QStringLiteral(" (") + cols.join(u',') + QStringLiteral(") FROM STDIN"))
                               .toUtf8();
    QByteArray rows;
    rows.reserve(qsizetype(to - from) * 160);
    for (size_t i = from; i < to; ++i) {
        const std::vector<QVariant> &values = run[i]->values;
        for (size_t v = 0; v < values.size(); ++v) {
            if (v > 0)
                rows += '\t';
            appendCopyValue(rows, values[v]);
        }
        rows += '\n';
    }
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
    m_handOvers.clear();
}

} // namespace data
