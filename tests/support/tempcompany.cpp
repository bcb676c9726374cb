#include "support/tempcompany.h"

#include "base/messages.h"
#include "data/koopschema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <gtest/gtest.h>

namespace {

std::atomic<int> serverCompanies{0};

QString quotedName(const QString &name) {
    return u'"' + name + u'"';
}

// A plain Qt connection to the server's database, in no schema yet.
QSqlDatabase serverConnection(const QString &connection, const data::ServerAddress &server) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setUserName(server.user);
    EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    return db;
}

} // namespace

void dropSchemas(const data::ServerAddress &server) {
    const QString name = QStringLiteral("drop-") + server.dataSchema;
    {
        QSqlDatabase db = serverConnection(name, server);
        QSqlQuery q(db);
        q.exec(QStringLiteral("SET client_min_messages = warning"));
        for (const QString &schema : {server.dataSchema, server.koopSchema})
            EXPECT_TRUE(q.exec(QStringLiteral("DROP SCHEMA IF EXISTS ") + quotedName(schema) +
                               QStringLiteral(" CASCADE")))
                << q.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

std::optional<data::ServerAddress> testServer() {
    return data::parseConnectionInfo(qEnvironmentVariable("KOOP_TEST_PG"));
}

bool serverRun() {
    return qEnvironmentVariable("KOOP_TEST_ON_SERVER") == u"1";
}

TempCompany::TempCompany(const QString &company, bool create) : m_company(company) {
    QDir().mkpath(folder());
    if (!create)
        return;
    RecordingMessages messages;
    QString error;
    const std::optional<data::ServerAddress> server = serverRun() ? testServer() : std::nullopt;
    if (server) {
        // Schemas of their own: tests of several executables run at once.
        m_server = *server;
        const QString prefix = QStringLiteral("t%1_%2_")
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(serverCompanies.fetch_add(1));
        m_server->dataSchema = prefix + QStringLiteral("xdata");
        m_server->koopSchema = prefix + QStringLiteral("dalun");
        dropSchemas(*m_server); // left over by a killed run with the same process id
        EXPECT_TRUE(data::writeServerAddress(file(QStringLiteral("korvane.dat")), *m_server));
        data::Database xdata, dalun;
        EXPECT_TRUE(xdata.openServer(*m_server, m_server->dataSchema, true))
            << xdata.lastError().toStdString();
        EXPECT_TRUE(data::createSuiteTables(xdata, &error)) << error.toStdString();
        EXPECT_TRUE(dalun.openServer(*m_server, m_server->koopSchema, true))
            << dalun.lastError().toStdString();
        EXPECT_TRUE(data::createKoopTables(dalun, messages));
    } else {
        EXPECT_TRUE(data::createSuiteDatabase(file(QStringLiteral("xdata.dat")), &error))
            << error.toStdString();
        EXPECT_TRUE(data::createKoopDatabase(file(QStringLiteral("dalun.dat")), messages));
    }
    writeRegistry(binDir(), dataPath());
}

TempCompany::~TempCompany() {
    if (m_server)
        dropSchemas(*m_server);
}

bool TempCompany::open(data::Database &db, const QString &name) const {
    if (!m_server)
        return db.open(file(name));
    return db.openServer(*m_server,
                         name == u"dalun.dat" ? m_server->koopSchema : m_server->dataSchema, false);
}

QSqlDatabase TempCompany::connect(const QString &connection, const QString &name) const {
    if (!m_server) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file(name));
        EXPECT_TRUE(db.open());
        return db;
    }
    QSqlDatabase db = serverConnection(connection, *m_server);
    QSqlQuery q(db);
    EXPECT_TRUE(
        q.exec(QStringLiteral("SET search_path TO ") +
               quotedName(name == u"dalun.dat" ? m_server->koopSchema : m_server->dataSchema)));
    return db;
}
void TempCompany::writeRegistry(const QString &prgPath, const QString &dataPathValue) const {
    QFile f(registryFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[General]\n");
    if (!prgPath.isNull())
        f.write(("PrgPath=" + prgPath + "\n").toUtf8());
    if (!dataPathValue.isNull())
        f.write(("DataPath=" + dataPathValue + "\n").toUtf8());
}

QStringList fileColumn(const QString &file, const QString &sql) {
    static int connections = 0;
    const QString name = QStringLiteral("reader-") + QString::number(++connections);
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        EXPECT_TRUE(db.open()) << file.toStdString();
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        while (q.next())
            out << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

QString binDir() {
    return QStringLiteral(KOOP_BIN_DIR "/");
}

ProcessResult runProgram(const QString &program, const QStringList &args,
                         const QString &registryFile, const QString &answers,
                         const QString &workingDir, const QStringList &environment) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KOOP_MESSAGES"), QStringLiteral("log"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KOOP_ANSWERS"), answers);
    if (!registryFile.isEmpty())
        env.insert(QStringLiteral("KOOP_REGISTRY"), registryFile);
    // A screen that opens closes again at once: nobody is there to close it.
    env.insert(QStringLiteral("KOOP_OPEN_ONLY"), QStringLiteral("1"));
    for (const QString &change : environment) {
        const qsizetype eq = change.indexOf(u'=');
        if (eq < 0)
            env.remove(change);
        else
            env.insert(change.left(eq), change.mid(eq + 1));
    }
    p.setProcessEnvironment(env);
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.start(binDir() + program, args);
    ProcessResult r;
    // Generous: a sanitizer build on a busy machine writes the demo slowly.
    if (!p.waitForStarted(20000) || !p.waitForFinished(600000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("did not finish");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    for (const QString &line : r.err.split(u'\n'))
        if (line.startsWith(QStringLiteral("Korvane|"), Qt::CaseInsensitive))
            r.messages << line;
    return r;
}
