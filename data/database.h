#pragma once

#include "data/failure.h"
#include "data/serveraddress.h"
#include "data/storedrow.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct pg_result;

namespace data {

// One open company database (dalun.dat or xdata.dat). Every connection gets
// the settings that keep a posted row safe and the Turkish collation "tr" and
// Turkish case-folding LIKE, so names sort and search as a Turkish clerk expects.
class Database {
  public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // The file must exist and be a readable database. One without the
    // tables of `mustHave` (lower case), another program's, is only read:
    // nothing is written to it. A file or a folder nobody may write to is
    // opened read-only too (readOnly()); failure() tells why an existing
    // file did not open.
    [[nodiscard]] bool open(const QString &filePath, const QStringList &mustHave = {});
    // Fails when the file already exists.
    [[nodiscard]] bool create(const QString &filePath);
    // One schema of a server database; the schema (and the collation "tr"
    // in it) is made when missing and `createSchema` is set.
    [[nodiscard]] bool openServer(const ServerAddress &address, const QString &schema,
                                  bool createSchema);
    void close();

    [[nodiscard]] bool isOpen() const;
    // Opened without the right to write: every writing action is refused
    // (Failure::NoPermission).
    [[nodiscard]] bool readOnly() const { return m_readOnly; }
    Engine engine() const { return m_engine; }
    [[nodiscard]] bool isServer() const { return m_engine == Engine::PostgreSQL; }
    // True when the table exists (in the connection's schema on a server).
    [[nodiscard]] bool hasTable(const QString &tableName);

    // The condition "column matches the bound LIKE pattern", case-insensitive
    // with the Turkish folding (i/İ, ı/I); `\` escapes % and _.
    QString turkishLikeCondition(const QString &column) const;
    QSqlDatabase &sql() { return m_db; }
    const QString &filePath() const { return m_path; }
    QString lastError() const { return m_lastError; }

    // Runs a statement without bound values (pragmas, DDL, transaction control).
    [[nodiscard]] bool exec(const QString &statement);

    // One writing action: BEGIN IMMEDIATE on SQLite; on a server BEGIN and
    // the company's write lock, so writing actions on one schema take turns
    // as they do on a SQLite file. Both wait while another desk writes.
    [[nodiscard]] bool beginWrite();
    // False, and nothing stored, when any statement of the action failed in
    // a way the server could not take back alone.
    [[nodiscard]] bool commit();
    bool rollback();
    [[nodiscard]] bool inTransaction() const { return m_inTransaction; }

    // After any failed statement the action is over unless only that row
    // or query was refused: the engine may have rolled the transaction back
    // by itself (an I/O error, a full disk), and every later statement would
    // then be stored on its own. So the failure rolls back at once, every
    // later statement of the action is refused without reaching the engine,
    // and commit() fails. It ends with the action (rollback, beginWrite).
    [[nodiscard]] bool actionOver() const { return m_actionOver; }
    // The first failure that ended the action, or of the last statement
    // outside one.
    Failure failure() const { return m_failure; }
    // Called by whatever ran a statement that failed; false when the action
    // under way is over.
    bool statementFailed(const QSqlError &error);
    // A copy of a SQLite database while desks may be working: the online
    // backup in one step into a new file, then the copy's integrity check.
    // False, with no file left behind, when either fails or on a server.
    [[nodiscard]] bool backupTo(const QString &filePath);

    // Before a long read of `table` on a server: when the table has grown by
    // a fifth since the server last took its statistics (or never did), they
    // are taken now. Without them the server reads a million rows for every
    // batch of members; with statistics that come in later, by themselves,
    // one read of the same work takes twice the time of the next. Nothing
    // on a SQLite file or inside an action. Only a hint to the server: a
    // failure leaves the read as it was and is not told.
    void freshenStatistics(const QString &table);

    // The connection still answers (a server may have gone away).
    [[nodiscard]] bool alive();

    // Runs `step` so that its failure leaves the action under way usable: a
    // failed statement inside a server transaction would otherwise abort the
    // whole transaction, while the actions go on after a row that failed.
    // `query`, when given, is the statement whose error tells what failed.
    [[nodiscard]] bool guarded(const std::function<bool()> &step, const QSqlQuery *query = nullptr);

    // Rows held back and sent many at a time. On a server every statement
    // is a round trip, so inside a writing action the new rows of a
    // batching cursor (data::BatchedRows) wait here and go in one COPY per
    // table and batch, under one savepoint; only a batch the server refuses
    // is sent again row by row, so every refused row still says so, in its
    // turn.
    // Whatever reads a table sends what it could see first (send), and so
    // does every other write and the commit.
    [[nodiscard]] bool batchesRows() const { return m_canCopy && m_inTransaction; }
    // A new row held back, as its line of COPY (appendCopyLine); `refused`
    // runs, in the row's turn among the others held, when the server does
    // not store it.
    void holdInsert(const QString &table, const QStringList &columns, QByteArray line,
                    std::function<void()> refused);
    // A change of the row `id` held back; a later change of the same row
    // replaces it. Its refusal is silent. Number columns only.
    void holdUpdate(const QString &table, qint64 id, const QStringList &columns,
                    std::vector<StoredValue> values);
    // Values an action keeps in memory (summed card totals): `handOver`
    // gives them to holdUpdate before `table` is read and before the commit.
    // Dropped when the action ends.
    void beforeReading(const QString &table, std::function<void()> handOver);
    // Sends what is held back that a read of `table` could see; before
    // anything else when no table is named. False when the server could not
    // be reached.
    [[nodiscard]] bool send(const QString &table = QString());
    // Sends every row held back before a row of `table` is written at once,
    // so ids and messages keep the order of the calls.
    [[nodiscard]] bool sendBeforeWriting(const QString &table);
    // How many held rows the server refused since the action began.
    int refusedRows() const { return m_refusedRows; }

    // A whole new row of `shape` on a SQLite file, bound and stepped through
    // the engine's own calls on a statement kept for the shape. False after
    // statementFailed when the row was not stored.
    [[nodiscard]] bool insertRow(const RowShape &shape, const StoredValue *values);
    // A statement of a long read on a SQLite file, kept by its text for the
    // next read of the same kind; nothing on a server or when the engine
    // cannot prepare it (statementFailed has been told). Handed back with
    // releaseScan, reset; one in use is not handed out twice.
    sqlite3_stmt *acquireScan(const QString &sql);
    void releaseScan(sqlite3_stmt *statement);
    // Binds a value that lives until the statement is reset.
    static void bindValue(sqlite3_stmt *statement, int index, const StoredValue &value);
    // A long read on a server through libpq, parsed, bound and run in one
    // round trip, its rows whole in memory. Nothing when the connection has
    // no libpq at hand (*tried false) or the server refused the read
    // (*tried true, statementFailed told).
    pg_result *serverScan(const QString &sql, const std::vector<StoredValue> &binds, bool *tried);

    // Moves on when the file closes: a read still open then reads no further.
    quint64 scanGeneration() const { return m_scanGeneration; }
    // A step of a long read: true on a row, false at the end and after
    // statementFailed on a failure (*failed set).
    [[nodiscard]] bool stepScan(sqlite3_stmt *statement, bool *failed);

  private:
    enum class Access { ReadWrite, ReadOnly, Immutable };
    [[nodiscard]] bool connect(const QString &filePath, const QStringList &mustHave, Access access);
    bool statementFailed(const QString &nativeCode, const QString &text);
    void endAction(Failure failure);
    static int commitHook(void *self);
    [[nodiscard]] bool prepareSchema(const QString &schema, bool createSchema);

    struct HeldRow {
        quint64 turn = 0;
        QString table;
        QStringList columns;
        QByteArray line;                 // a new row's line of COPY
        std::vector<StoredValue> values; // a change's values
        std::function<void()> refused;
        qint64 id = 0; // the row changed; 0 for a new row
    };
    using Refusals = std::vector<std::pair<quint64, std::function<void()>>>;
    [[nodiscard]] bool sendHeld(Refusals &refusals);
    [[nodiscard]] bool sendAll(const QString &handOverTable);
    [[nodiscard]] bool sendRun(const std::vector<HeldRow *> &run, bool update, Refusals &refusals);
    struct Statement {
        QString sql;
        QSqlQuery query;
        bool prepared = false;
    };
    // The prepared change of `rows` rows like `first`.
    Statement &batchStatement(const HeldRow &first, qsizetype rows);
    static QString updateSql(const HeldRow &first);
    // What the engine said of the statement that failed on `handle`.
    void engineFailed(sqlite3 *handle);
    // A new statement of SQLite's own; nothing on a server or after
    // engineFailed when the engine refused it.
    sqlite3_stmt *prepareDirect(const QString &sql);
    // SQLite's own statements, kept by their text; finalized when the file closes.
    sqlite3_stmt *directStatement(const QString &sql);
    // Steps a statement that returns no rows, resets it; false after
    // statementFailed when it failed.
    [[nodiscard]] bool stepDirect(sqlite3_stmt *statement);
    void dropDirect();
    [[nodiscard]] bool copy(const std::vector<HeldRow *> &run, size_t from, size_t to);
    void dropHeld();

    QSqlDatabase m_db;
    QString m_connection;
    QString m_path;
    QString m_lastError;
    QString m_lastCode; // the native code of the last failure not read from a query
    Engine m_engine = Engine::SQLite;
    bool m_inTransaction = false;
    bool m_actionOver = false;
    bool m_readOnly = false;
    bool m_committing = false;
    Failure m_failure = Failure::None;
    std::map<QString, QStringList> m_columnLists;
    std::vector<HeldRow> m_inserts;
    std::vector<HeldRow> m_updates;
    QHash<QString, QHash<qint64, size_t>> m_updateAt; // a held change by table and row
    std::vector<std::pair<QString, std::function<void()>>> m_handOvers;
    quint64 m_turns = 0;
    bool m_sending = false;
    int m_refusedRows = 0;
    std::map<QString, std::unique_ptr<Statement>> m_batchStatements;
    bool m_canCopy = false; // a server connection with libpq's COPY at hand
    std::map<QString, sqlite3_stmt *> m_direct;
    std::map<const RowShape *, sqlite3_stmt *> m_shapes;
    struct Scan {
        sqlite3_stmt *statement = nullptr;
        bool inUse = false;
    };
    std::map<QString, Scan> m_scans;
    quint64 m_scanGeneration = 0;
};

} // namespace data
