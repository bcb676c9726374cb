#include "data/database.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <sqlite3.h>

namespace data {
namespace {

constexpr int kBusyTimeoutMs = 15000;

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

sqlite3 *sqliteHandle(QSqlDatabase &db) {
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

} // namespace

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

Database::Database()
    : m_connection(QStringLiteral("koop-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

Database::~Database() {
    close();
}

bool Database::isOpen() const {
    return m_db.isValid() && m_db.isOpen();
}

bool Database::connect(const QString &filePath) {
    close();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db.setDatabaseName(filePath);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!m_db.open()) {
        m_lastError = m_db.lastError().text();
        close();
        return false;
    }
    m_path = filePath;
    // A damaged file opens but fails its first read; WAL needs a real database too.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !probe.next()) {
        m_lastError = probe.lastError().text();
        probe.finish();
        close();
        return false;
    }
    probe.finish();
    if (!exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !exec(QStringLiteral("PRAGMA synchronous=FULL")) ||
        !exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs)) ||
        !registerTurkishFunctions(m_db)) {
        close();
        return false;
    }
    return true;
}

bool Database::open(const QString &filePath) {
    const QFileInfo info(filePath);
    if (!info.exists() || !info.isFile() || !info.isReadable()) {
        m_lastError = QStringLiteral("no such file");
        return false;
    }
    return connect(filePath);
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
    return connect(filePath);
}

void Database::close() {
    if (m_db.isValid()) {
        if (m_inTransaction)
            rollback();
        m_db.close();
    }
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

bool Database::exec(const QString &statement) {
    if (!isOpen())
        return false;
    QSqlQuery q(m_db);
    if (!q.exec(statement)) {
        m_lastError = q.lastError().text();
        return false;
    }
    return true;
}

bool Database::beginWrite() {
    if (m_inTransaction)
        return false;
    // The busy timeout already waits inside SQLite; keep trying a while longer
    // so an action never half-runs because another desk held the lock.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            m_inTransaction = true;
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

bool Database::commit() {
    if (!m_inTransaction)
        return false;
    const bool ok = exec(QStringLiteral("COMMIT"));
    if (ok)
        m_inTransaction = false;
    return ok;
}

bool Database::rollback() {
    if (!m_inTransaction)
        return false;
    m_inTransaction = false;
    return exec(QStringLiteral("ROLLBACK"));
}

} // namespace data
