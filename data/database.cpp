#include "data/database.h"

#include "base/inifile.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QThread>
#include <QUrl>
#include <QUuid>
#include <algorithm>
#include <bit>
#include <charconv>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace data {
namespace {

// How long one statement waits for a lock another desk holds (SQLite's busy
// timeout, the server's lock_timeout); a writing action waits for the write
// lock in turns of kLockTurnMs, kWriteWaitMs in all, before it asks.
constexpr int kBusyTimeoutMs = 5000;
constexpr int kLockTurnMs = 100;
constexpr qint64 kWriteWaitMs = 5000;
// Rows held back before they are sent on their own, and the bound values of
// one multi-row statement: big enough that round trips no longer count,
// small enough to keep the memory of a long action flat.
constexpr size_t kHeldRows = 4096;
constexpr qsizetype kValuesPerStatement = 12000;

const QString ServerSection = QStringLiteral("sunucu");

QString quotedIdentifier(const QString &identifier) {
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

int collateTr(void *arg, int lenA, const void *a, int lenB, const void *b) {
    auto *collator = static_cast<QCollator *>(arg);
    const QString sa = QString::fromUtf16(static_cast<const char16_t *>(a), lenA / 2);
    const QString sb = QString::fromUtf16(static_cast<const char16_t *>(b), lenB / 2);
    const int c = collator->compare(sa, sb);
    if (c != 0)
        return c;
    // Equal at every collation level: fall back to the code points so the order is total.
    return sa.compare(sb);
}

void destroyCollator(void *arg) {
    delete static_cast<QCollator *>(arg);
}

QString argText(sqlite3_value *v) {
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar escape;
    if (argc == 3) {
        const QString e = argText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    sqlite3_result_int(ctx, turkishLike(argText(argv[0]), argText(argv[1]), escape) ? 1 : 0);
}

// libpq's COPY calls, taken from the library the server driver has already
// loaded: linked into the programs, libpq and the Kerberos libraries behind it
// would load into every desk, server or not.
struct Libpq {
    decltype(&PQexec) exec = nullptr;
    decltype(&PQresultStatus) resultStatus = nullptr;
    decltype(&PQclear) clear = nullptr;
    decltype(&PQputCopyData) putCopyData = nullptr;
    decltype(&PQputCopyEnd) putCopyEnd = nullptr;
    decltype(&PQgetResult) getResult = nullptr;
    decltype(&PQerrorMessage) errorMessage = nullptr;
    decltype(&PQresultErrorField) resultErrorField = nullptr;
    decltype(&PQtransactionStatus) transactionStatus = nullptr;
    bool loaded = false;
};

const Libpq &libpq() {
    static const Libpq calls = [] {
        Libpq l;
        QLibrary lib(QStringLiteral("pq"), 5);
        if (!lib.load())
            return l;
        const auto take = [&lib](auto &fn, const char *name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(lib.resolve(name));
            return fn != nullptr;
        };
        l.loaded = take(l.exec, "PQexec") && take(l.resultStatus, "PQresultStatus") &&
                   take(l.clear, "PQclear") && take(l.putCopyData, "PQputCopyData") &&
                   take(l.putCopyEnd, "PQputCopyEnd") && take(l.getResult, "PQgetResult") &&
                   take(l.errorMessage, "PQerrorMessage") &&
                   take(l.resultErrorField, "PQresultErrorField") &&
                   take(l.transactionStatus, "PQtransactionStatus");
        return l;
    }();
    return calls;
}

PGconn *serverHandle(QSqlDatabase &db) {
    const QVariant v = db.driver()->handle();
    // The driver hands out libpq's connection under its struct's name.
    if (!v.isValid() ||
        (qstrcmp(v.typeName(), "PGconn*") != 0 && qstrcmp(v.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(v.constData());
}

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

sqlite3 *sqliteHandle(QSqlDatabase &db) {
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

} // namespace

Failure classifyFailure(Engine engine, const QString &nativeCode) {
    if (engine == Engine::SQLite) {
        bool ok = false;
        const int code = nativeCode.toInt(&ok);
        if (!ok)
            return Failure::DiskError;
        switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_PROTOCOL:
            return Failure::Busy;
        case SQLITE_FULL:
            return Failure::DiskFull;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
        case SQLITE_CANTOPEN:
            return Failure::NoPermission;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_FORMAT:
            return Failure::Damaged;
        case SQLITE_ERROR:
        case SQLITE_SCHEMA:
        case SQLITE_TOOBIG:
        case SQLITE_MISMATCH:
        case SQLITE_RANGE:
            return Failure::Refused;
        case SQLITE_CONSTRAINT:
            // Our own veto of a statement committing outside its action.
            return code == SQLITE_CONSTRAINT_COMMITHOOK ? Failure::Lost : Failure::Refused;
        default:
            return Failure::DiskError;
        }
    }
    // A server names the statement's fault in most classes (data, constraint,
    // syntax, a trigger's refusal): those refuse a row. These are the server's
    // own trouble.
    const QString c = nativeCode.trimmed();
    const auto in = [&c](const char *prefix) { return c.startsWith(QLatin1String(prefix)); };
    if (c.isEmpty() || in("08") || in("57P") || c == QLatin1String("25P02"))
        return Failure::Lost;
    if (c == QLatin1String("53100"))
        return Failure::DiskFull;
    if (c == QLatin1String("55P03") || c == QLatin1String("55006") || c == QLatin1String("53300") ||
        in("40"))
        return Failure::Busy;
    if (c == QLatin1String("42501") || c == QLatin1String("25006") || in("28"))
        return Failure::NoPermission;
    if (c == QLatin1String("XX001") || c == QLatin1String("XX002"))
        return Failure::Damaged;
    if (in("53") || in("58") || in("XX") || in("F0"))
        return Failure::DiskError;
    return Failure::Refused;
}

QString failureText(Failure failure) {
    switch (failure) {
    case Failure::Busy:
        return QStringLiteral("Şirket dosyaları şu an başka bir masada kullanılıyor.");
    case Failure::DiskFull:
        return QStringLiteral("Disk dolu: şirket dosyalarına yazılamıyor.");
    case Failure::DiskError:
        return QStringLiteral("Disk hatası: şirket dosyaları okunamadı ya da yazılamadı.");
    case Failure::NoPermission:
        return QStringLiteral("Şirket dosyalarına yazma izni yok.");
    case Failure::Damaged:
        return QStringLiteral("Şirket dosyası bozuk ya da bir veritabanı değil.");
    case Failure::Lost:
        return QStringLiteral("Veritabanı bağlantısı koptu.");
    case Failure::None:
    case Failure::Refused:
        break;
    }
    return QString();
}

QString turkishFold(const QString &text) {
    static const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    return tr.toLower(text);
}

bool turkishLike(const QString &pattern, const QString &value, QChar escape) {
    const QString p = turkishFold(pattern);
    const QString s = turkishFold(value);
    // Iterative matcher with one backtrack point for the last %; linear for
    // the patterns the screens build (prefix%, %infix%).
    qsizetype pi = 0, si = 0, starP = -1, starS = 0;
    while (si < s.size()) {
        if (pi < p.size()) {
            const QChar c = p.at(pi);
            if (!escape.isNull() && c == escape && pi + 1 < p.size()) {
                if (p.at(pi + 1) == s.at(si)) {
                    pi += 2;
                    ++si;
                    continue;
                }
            } else if (c == QLatin1Char('%')) {
                starP = pi++;
                starS = si;
                continue;
            } else if (c == QLatin1Char('_') || c == s.at(si)) {
                ++pi;
                ++si;
                continue;
            }
        }
        if (starP < 0)
            return false;
        pi = starP + 1;
        si = ++starS;
    }
    while (pi < p.size() && p.at(pi) == QLatin1Char('%'))
        ++pi;
    return pi == p.size();
}

bool registerTurkishFunctions(QSqlDatabase &db) {
    sqlite3 *h = sqliteHandle(db);
    if (!h)
        return false;
    auto *collator = new QCollator(QLocale(QLocale::Turkish, QLocale::Turkey));
    collator->setCaseSensitivity(Qt::CaseSensitive);
    if (sqlite3_create_collation_v2(h, "tr", SQLITE_UTF16, collator, collateTr, destroyCollator) !=
        SQLITE_OK) {
        delete collator;
        return false;
    }
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_function(h, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(h, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr) ==
               SQLITE_OK;
}

QString ServerAddress::display() const {
    return (host.isEmpty() ? QStringLiteral("localhost") : host) + u':' + QString::number(port) +
           u'/' + database;
}

std::optional<ServerAddress> readServerAddress(const QString &iniFile) {
    const auto value = [&](const char *key, const QString &fallback = QString()) {
        return ini::readValue(ServerSection, QLatin1String(key), fallback, iniFile).trimmed();
    };
    ServerAddress a;
    a.host = value("host");
    a.database = value("database");
    if (a.host.isEmpty() && a.database.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int port = value("port").toInt(&ok);
    if (ok && port > 0 && port < 65536)
        a.port = port;
    a.user = value("user");
    a.dataSchema = value("xdata", a.dataSchema);
    a.koopSchema = value("dalun", a.koopSchema);
    return a;
}

std::optional<ServerAddress> parseConnectionInfo(const QString &info) {
    if (info.trimmed().isEmpty())
        return std::nullopt;
    ServerAddress a;
    for (const QString &pair : info.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = pair.section(u'=', 0, 0);
        const QString value = pair.section(u'=', 1);
        if (key == u"host")
            a.host = value;
        else if (key == u"port")
            a.port = value.toInt();
        else if (key == u"user")
            a.user = value;
        else if (key == u"dbname")
            a.database = value;
    }
    return a;
}

bool writeServerAddress(const QString &iniFile, const ServerAddress &a) {
    const auto write = [&](const char *key, const QString &v) {
        return ini::writeValue(ServerSection, QLatin1String(key), iniFile, v);
    };
    return write("host", a.host) && write("port", QString::number(a.port)) &&
           write("database", a.database) && write("user", a.user) && write("xdata", a.dataSchema) &&
           write("dalun", a.koopSchema);
}

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
        m_db.close();
    }
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
    m_engine = Engine::SQLite;
    m_inTransaction = false;
    m_readOnly = false;
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
