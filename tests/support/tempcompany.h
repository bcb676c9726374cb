#pragma once

#include "data/database.h"
#include "support/qtprint.h"

#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

// The server KOOP_TEST_PG names ("host=... port=... user=... dbname=..."),
// when it names one.
std::optional<data::ServerAddress> testServer();
// Drops the server's two schemas of a company, with all they hold.
void dropSchemas(const data::ServerAddress &server);
// True in the server run of a test executable (given --server): the
// companies the tests make then keep their databases on the test server.
bool serverRun();

// A company folder of its own for each test: DataPath/<company>/ with the
// suite's xdata.dat and the program's dalun.dat, and a registry file that
// points the program there. In the server run the two databases are a pair
// of fresh schemas on the test server instead, named in korvane.dat, and
// dropped again at the end.
class TempCompany {
  public:
    explicit TempCompany(const QString &company = QStringLiteral("01"), bool create = true);
    ~TempCompany();
    TempCompany(const TempCompany &) = delete;
    TempCompany &operator=(const TempCompany &) = delete;

    bool onServer() const { return m_server.has_value(); }
    const std::optional<data::ServerAddress> &server() const { return m_server; }
    // Opens "xdata.dat" or "dalun.dat" of the company, wherever it is kept.
    bool open(data::Database &db, const QString &name) const;
    // A plain Qt connection to the same, for checking what was stored.
    QSqlDatabase connect(const QString &connection, const QString &name) const;

    QString root() const { return m_dir.path(); }
    QString dataPath() const { return m_dir.path() + QStringLiteral("/data/"); }
    QString folder() const { return dataPath() + m_company; }
    QString file(const QString &name) const { return folder() + u'/' + name; }
    QString company() const { return m_company; }
    QString registryFile() const { return m_dir.path() + QStringLiteral("/registry.ini"); }
    // Writes PrgPath and DataPath (the program folder: the built binaries).
    void writeRegistry(const QString &prgPath, const QString &dataPath) const;

  private:
    QTemporaryDir m_dir;
    QString m_company;
    std::optional<data::ServerAddress> m_server;
};

// The first column of a query on a company's SQLite file, read as another
// program reads it: read-only, through a connection of its own.
QStringList fileColumn(const QString &file, const QString &sql);

// The folder of koop and koop-cli, with a trailing "/".
QString binDir();

struct ProcessResult {
    int exitCode = -1;
    QString out;
    QStringList messages; // the `title|icon|text` lines of the log message service
    QString err;
};

// Runs one of our executables with the log message service and the given
// registry file; `answers` feeds KOOP_ANSWERS. `environment` changes the
// rest: "NAME=value", or "NAME" to take a variable away.
ProcessResult runProgram(const QString &program, const QStringList &args,
                         const QString &registryFile = QString(),
                         const QString &answers = QString(), const QString &workingDir = QString(),
                         const QStringList &environment = {});
