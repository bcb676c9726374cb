#pragma once

#include "support/qtprint.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A company folder of its own for each test: DataPath/<company>/ with the
// suite's xdata.dat and the program's dalun.dat, and a registry file that
// points the program there.
class TempCompany {
  public:
    explicit TempCompany(const QString &company = QStringLiteral("01"), bool create = true);

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
};

// The folder of koop and koop-cli, with a trailing "/".
QString binDir();

struct ProcessResult {
    int exitCode = -1;
    QString out;
    QStringList messages; // the `title|icon|text` lines of the log message service
    QString err;
};

// Runs one of our executables with the log message service and the given
// registry file; `answers` feeds KOOP_ANSWERS.
ProcessResult runProgram(const QString &program, const QStringList &args,
                         const QString &registryFile = QString(),
                         const QString &answers = QString(), const QString &workingDir = QString());
