#include "data/database.h"

#include "data/driverhandles.h"
#include "data/turkish.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QUuid>

namespace data {
namespace {

// How long one statement waits for a lock another desk holds (SQLite's busy
// timeout, the server's lock_timeout); a writing action waits for the write
// lock in turns of kLockTurnMs, kWriteWaitMs in all, before it asks.
constexpr int kBusyTimeoutMs = 5000;
constexpr int kLockTurnMs = 100;
constexpr qint64 kWriteWaitMs = 5000;

} // namespace

using driver::libpq;
using driver::quotedIdentifier;
using driver::serverHandle;
using driver::sqliteHandle;

Database::Database()
    : m_connection(QStringLiteral("koop-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

Database::~Database() {
    close();
}

bool Database::isOpen() const {
    return m_db.isValid() && m_db.isOpen();
}

bool Database::connect(const QString &filePath, const QStringList &mustHave, Access access) {
    close();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (access == Access::ReadOnly) {
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        m_db.setDatabaseName(filePath);
    } else if (access == Access::Immutable) {
        // A WAL file in a folder nobody may write to: without its shared
        // memory file SQLite reads it only as a file nothing changes.
        options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
        m_db.setDatabaseName(QUrl::fromLocalFile(filePath).toString(QUrl::FullyEncoded) +
                             QStringLiteral("?immutable=1"));
    } else {
        m_db.setDatabaseName(filePath);
    }
    m_db.setConnectOptions(options);
    m_readOnly = access != Access::ReadWrite;
    m_failure = Failure::None;
    if (!m_db.open()) {
        m_lastError = m_db.lastError().text();
        m_failure = classifyFailure(m_engine, m_db.lastError().nativeErrorCode());
        close();
        return false;
    }
    m_path = filePath;
    if (sqlite3 *handle = sqliteHandle(m_db)) {
        // Extended result codes tell a full disk from a failed sync.
        sqlite3_extended_result_codes(handle, 1);
        sqlite3_commit_hook(handle, &Database::commitHook, this);
    }
    // A damaged file opens but fails its first read. Another program's
    // database is recognised before anything is written to it (WAL changes
    // its header).
    QSqlQuery probe(m_db);
    QStringList tables;
    const bool read = probe.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = "
                                                "'table'"));
    while (read && probe.next())
        tables << probe.value(0).toString().toLower();
    if (!read)
        statementFailed(probe.lastError());
    probe.finish();
    if (!read) {
        const Failure why = m_failure;
        close();
        m_failure = why;
        return false;
    }
    // Another program's file stays as it is; the tables it lacks say so.
    for (const QString &t : mustHave)
        if (!tables.contains(t))
            m_readOnly = true;
    if (m_readOnly)
        return exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs)) &&
               registerTurkishFunctions(m_db);
    if (!exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !exec(QStringLiteral("PRAGMA synchronous=FULL")) ||
        !exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs)) ||
        !registerTurkishFunctions(m_db)) {
        const Failure why = m_failure;
        close();
        m_failure = why;
        return false;
    }
    return true;
}

bool Database::openServer(const ServerAddress &address, const QString &schema, bool createSchema) {
    close();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
    if (!m_db.isValid()) {
        m_lastError = QStringLiteral("QPSQL sürücüsü yok");
        close();
        return false;
    }
    m_db.setHostName(address.host);
    m_db.setPort(address.port);
    m_db.setDatabaseName(address.database);
    m_db.setUserName(address.user);
    m_db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!m_db.open()) {
        m_lastError = m_db.lastError().text();
        close();
        return false;
    }
    m_engine = Engine::PostgreSQL;
    m_canCopy = serverHandle(m_db) && libpq().loaded;
    m_path = address.display() + u'/' + schema;
    if (!prepareSchema(schema, createSchema)) {
        const QString error = m_lastError;
        close();
        m_lastError = error;
        return false;
    }
    return true;
}

bool Database::prepareSchema(const QString &schema, bool createSchema) {
    const auto found = [&](const QString &sql) {
        QSqlQuery q(m_db);
        q.prepare(sql);
        q.addBindValue(schema);
        if (!q.exec()) {
            m_lastError = q.lastError().text();
            return std::optional<bool>();
        }
        return std::optional<bool>(q.next());
    };
    const QString schemaSql = QStringLiteral("SELECT 1 FROM pg_namespace WHERE nspname = ?");
    const QString collationSql =
        QStringLiteral("SELECT 1 FROM pg_collation c JOIN pg_namespace n ON "
                       "n.oid = c.collnamespace WHERE c.collname = 'tr' AND n.nspname = ?");
    if (!exec(QStringLiteral("SET client_min_messages = warning")) ||
        !exec(QStringLiteral("SET lock_timeout = %1").arg(kBusyTimeoutMs)))
        return false;
    std::optional<bool> exists = found(schemaSql),
                        collation = exists ? found(collationSql) : exists;
    if (!collation)
        return false;
    if (!*exists && !createSchema) {
        m_lastError = QStringLiteral("şema yok: ") + schema;
        return false;
    }
    if (!*exists || !*collation) {
        // Two desks starting at once on a new server would both create them:
        // under the schema's lock, the one writing actions take, the second
        // waits for the first and then finds both made. The collation is
        // created only when missing: a desk's user may lack the right to.
        bool ok = exec(QStringLiteral("BEGIN"));
        if (ok) {
            QSqlQuery lock(m_db);
            lock.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(hashtextextended('korvane:' "
                                        "|| CAST(? AS TEXT), 0))"));
            lock.addBindValue(schema);
            ok = lock.exec();
            if (!ok)
                m_lastError = lock.lastError().text();
        }
        if (ok) {
            exists = found(schemaSql);
            collation = exists ? found(collationSql) : exists;
            ok = collation.has_value();
        }
        ok = ok && (*exists || exec(QStringLiteral("CREATE SCHEMA ") + quotedIdentifier(schema))) &&
             (*collation || exec(QStringLiteral("CREATE COLLATION ") + quotedIdentifier(schema) +
                                 QStringLiteral(".tr (provider = icu, locale = 'tr-TR')"))) &&
             exec(QStringLiteral("COMMIT"));
        if (!ok) {
            const QString error = m_lastError;
            (void)exec(QStringLiteral("ROLLBACK")); // what failed is what is told
            m_lastError = error;
            return false;
        }
    }
    // Unqualified names (tables, the collation "tr") then resolve in this
    // schema only; the built-in functions stay reachable through pg_catalog.
    return exec(QStringLiteral("SET search_path TO ") + quotedIdentifier(schema));
}

bool Database::hasTable(const QString &tableName) {
    if (!isOpen())
        return false;
    QSqlQuery q(m_db);
    q.prepare(isServer() ? QStringLiteral("SELECT 1 FROM information_schema.tables WHERE "
                                          "table_schema = current_schema() AND "
                                          "lower(table_name) = lower(CAST(? AS TEXT))")
                         : QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                          "lower(name) = lower(?)"));
    q.addBindValue(tableName);
    if (!q.exec()) {
        m_lastError = q.lastError().text();
        return false;
    }
    return q.next();
}

QString Database::turkishLikeCondition(const QString &column) const {
    // SQLite's like() is replaced on every connection by the Turkish one.
    if (!isServer())
        return column + QStringLiteral(" LIKE ? ESCAPE '\\'");
    return QStringLiteral("lower(") + column +
           QStringLiteral(" COLLATE tr) LIKE lower(CAST(? AS TEXT) COLLATE tr) ESCAPE '\\'");
}

bool Database::open(const QString &filePath, const QStringList &mustHave) {
    const QFileInfo info(filePath);
    m_failure = Failure::None;
    if (!info.exists() || !info.isFile()) {
        m_lastError = QStringLiteral("no such file");
        return false;
    }
    if (!info.isReadable()) {
        m_lastError = QStringLiteral("not readable");
        m_failure = Failure::NoPermission;
        return false;
    }
    // SQLite takes an empty file for a new database and writes into it; a file
    // that is not ours must be left as it is.
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly) || file.read(16) != QByteArray("SQLite format 3", 16)) {
        m_lastError = QStringLiteral("not a database");
        m_failure = Failure::Damaged;
        return false;
    }
    file.close();
    // A company nobody may write to is still read: statements, lists,
    // exports. Its writing actions say why they cannot run.
    if (QFileInfo(info.absolutePath()).isWritable() && info.isWritable()) {
        if (connect(filePath, mustHave, Access::ReadWrite))
            return true;
        if (m_failure != Failure::NoPermission)
            return false;
    }
    return connect(filePath, mustHave, Access::ReadOnly) ||
           connect(filePath, mustHave, Access::Immutable);
}

bool Database::create(const QString &filePath) {
    if (QFileInfo::exists(filePath)) {
        m_lastError = QStringLiteral("file exists");
        return false;
    }
    const QFileInfo info(filePath);
    if (!info.absoluteDir().exists()) {
        m_lastError = QStringLiteral("no such folder");
        return false;
    }
    return connect(filePath, {}, Access::ReadWrite);
}

void Database::close() {
    if (m_db.isValid()) {
        if (m_inTransaction)
            rollback();
        m_batchStatements.clear();
        dropDirect();
        m_db.close();
    }
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
    m_engine = Engine::SQLite;
    m_canCopy = false;
    m_inTransaction = false;
    m_readOnly = false;
}

void Database::freshenStatistics(const QString &table) {
    if (!isServer() || !isOpen() || m_inTransaction)
        return;
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT c.relpages, pg_relation_size(c.oid) / "
                             "current_setting('block_size')::int FROM pg_class c WHERE c.oid = "
                             "to_regclass(CAST(? AS TEXT))"));
    q.addBindValue(quotedIdentifier(table));
    if (!q.exec() || !q.next())
        return;
    // A small table is read fast in any way; relpages is what the last
    // statistics saw.
    const qint64 seen = q.value(0).toLongLong(), now = q.value(1).toLongLong();
    q.finish();
    if (now < 64 || now * 5 <= seen * 6)
        return;
    QSqlQuery analyze(m_db);
    (void)analyze.exec(QStringLiteral("ANALYZE ") + quotedIdentifier(table));
}

bool Database::exec(const QString &statement) {
    if (!isOpen() || m_actionOver)
        return false;
    QSqlQuery q(m_db);
    if (!q.exec(statement)) {
        statementFailed(q.lastError());
        return false;
    }
    return true;
}

int Database::commitHook(void *self) {
    // A statement that would commit while an action is open can only be one
    // the engine runs on its own after it dropped the action's transaction:
    // refused, so no row is ever stored outside its action.
    const auto *db = static_cast<const Database *>(self);
    return db->m_inTransaction && !db->m_committing ? 1 : 0;
}

bool Database::statementFailed(const QSqlError &error) {
    return statementFailed(error.nativeErrorCode(), error.text());
}

bool Database::statementFailed(const QString &nativeCode, const QString &text) {
    m_lastError = text;
    Failure kind = classifyFailure(m_engine, nativeCode);
    if (!m_inTransaction) {
        m_failure = kind;
        return true;
    }
    if (m_actionOver)
        return false;
    // Whatever the error says, the engine's own state decides whether the
    // transaction is still there.
    bool lost = true;
    if (!isServer()) {
        if (sqlite3 *handle = sqliteHandle(m_db))
            lost = sqlite3_get_autocommit(handle) != 0;
    } else if (PGconn *conn = serverHandle(m_db); conn && libpq().loaded) {
        const PGTransactionStatusType status = libpq().transactionStatus(conn);
        lost = status != PQTRANS_INTRANS && status != PQTRANS_ACTIVE;
    }
    if (kind == Failure::Refused && !lost) {
        m_failure = kind;
        return true;
    }
    endAction(kind == Failure::Refused || kind == Failure::None ? Failure::Lost : kind);
    return false;
}

void Database::endAction(Failure failure) {
    m_actionOver = true;
    m_failure = failure;
    dropHeld();
    // Take back at once whatever the engine still holds of the action; its
    // owner's rollback then has nothing left to do.
    QSqlQuery q(m_db);
    q.exec(QStringLiteral("ROLLBACK"));
}

bool Database::beginWrite() {
    if (m_inTransaction)
        return false;
    if (m_readOnly) {
        m_failure = Failure::NoPermission;
        m_lastError = QStringLiteral("read-only");
        return false;
    }
    m_refusedRows = 0;
    m_actionOver = false;
    m_failure = Failure::None;
    // Short turns at the write lock with the desk's events handled in
    // between, so its window keeps painting while another desk writes, and
    // the whole wait bounded; whoever asked decides whether to wait again.
    sqlite3 *handle = isServer() ? nullptr : sqliteHandle(m_db);
    if (handle)
        sqlite3_busy_timeout(handle, kLockTurnMs);
    QElapsedTimer waited;
    waited.start();
    bool locked = false;
    for (;;) {
        if (!isServer()) {
            locked = exec(QStringLiteral("BEGIN IMMEDIATE"));
        } else if (exec(QStringLiteral("BEGIN"))) {
            // Read committed, plus one lock per schema that every writing
            // action takes first: actions take turns, so they never deadlock
            // each other nor draw the same reference code.
            QSqlQuery lock(m_db);
            if (lock.exec(QStringLiteral("SELECT pg_try_advisory_xact_lock(hashtextextended("
                                         "'korvane:' || current_schema(), 0))")) &&
                lock.next()) {
                locked = lock.value(0).toBool();
                if (!locked)
                    m_failure = Failure::Busy;
            } else {
                statementFailed(lock.lastError());
            }
            lock.finish();
            if (!locked) {
                const Failure why = m_failure;
                (void)exec(QStringLiteral("ROLLBACK")); // the lock was not taken
                m_failure = why;
            }
        }
        // A read-only file, a damaged one, a server gone: waiting will not help.
        if (locked || m_failure != Failure::Busy || waited.elapsed() >= kWriteWaitMs)
            break;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(20);
    }
    if (handle)
        sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    m_inTransaction = locked;
    return locked;
}

bool Database::commit() {
    if (!m_inTransaction || m_actionOver)
        return false;
    if (!send()) {
        if (!m_actionOver)
            endAction(Failure::Lost);
        return false;
    }
    dropHeld();
    // A server answers COMMIT of an aborted transaction by rolling it back
    // without an error; ask first, so such an action is reported as lost.
    if (isServer() && !exec(QStringLiteral("SELECT 1"))) {
        if (!m_actionOver)
            endAction(Failure::Lost);
        return false;
    }
    m_committing = true;
    const bool ok = exec(QStringLiteral("COMMIT"));
    m_committing = false;
    if (ok) {
        m_inTransaction = false;
        return true;
    }
    // A commit the engine could not finish is never retried half-way.
    if (!m_actionOver)
        endAction(m_failure == Failure::Refused || m_failure == Failure::None ? Failure::DiskError
                                                                              : m_failure);
    return false;
}

bool Database::rollback() {
    dropHeld();
    if (!m_inTransaction)
        return false;
    m_inTransaction = false;
    if (m_actionOver) {
        m_actionOver = false;
        return true;
    }
    return exec(QStringLiteral("ROLLBACK"));
}

bool Database::backupTo(const QString &filePath) {
    sqlite3 *source = isOpen() && !isServer() ? sqliteHandle(m_db) : nullptr;
    if (!source || m_inTransaction) {
        m_lastError = QStringLiteral("yalnız açık bir SQLite dosyası yedeklenir");
        return false;
    }
    if (QFileInfo::exists(filePath)) {
        m_lastError = QStringLiteral("file exists");
        return false;
    }
    sqlite3 *target = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(filePath).constData(), &target,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        // One step: the copy is one consistent snapshot of the file.
        sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main");
        if (backup) {
            rc = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
        } else {
            rc = sqlite3_errcode(target);
        }
    }
    if (rc == SQLITE_OK) {
        sqlite3_stmt *check = nullptr;
        rc = sqlite3_prepare_v2(target, "PRAGMA integrity_check", -1, &check, nullptr);
        if (rc == SQLITE_OK) {
            const bool ok =
                sqlite3_step(check) == SQLITE_ROW &&
                qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)), "ok") == 0;
            rc = ok ? SQLITE_OK : SQLITE_CORRUPT;
        }
        sqlite3_finalize(check);
    }
    if (rc != SQLITE_OK)
        m_lastError = QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(target);
    if (rc != SQLITE_OK)
        QFile::remove(filePath);
    return rc == SQLITE_OK;
}

bool Database::alive() {
    return isOpen() && (!isServer() || exec(QStringLiteral("SELECT 1")));
}

bool Database::guarded(const std::function<bool()> &step, const QSqlQuery *query) {
    if (!isOpen() || m_actionOver)
        return false;
    // Outside an action failure() tells of the last statement only.
    if (!m_inTransaction)
        m_failure = Failure::None;
    const auto error = [&] {
        return query ? query->lastError()
                     : QSqlError(QString(), m_lastError, QSqlError::StatementError, m_lastCode);
    };
    if (!isServer() || !m_inTransaction) {
        if (step())
            return true;
        statementFailed(error());
        return false;
    }
    if (!exec(QStringLiteral("SAVEPOINT koop_step")))
        return false;
    if (step())
        return exec(QStringLiteral("RELEASE SAVEPOINT koop_step"));
    const QSqlError failed = error();
    // The savepoint takes the statement back; when it cannot, the server has
    // lost the whole transaction and the action is over.
    if (exec(QStringLiteral("ROLLBACK TO SAVEPOINT koop_step")) &&
        exec(QStringLiteral("RELEASE SAVEPOINT koop_step")))
        statementFailed(failed);
    m_lastError = failed.text();
    return false;
}

} // namespace data
