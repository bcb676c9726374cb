#include "support/tempcompany.h"

#include "data/koopschema.h"
#include "startup/base/messages.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

TempCompany::TempCompany(const QString &company, bool create) : m_company(company) {
    QDir().mkpath(folder());
    if (!create)
        return;
    QString error;
    EXPECT_TRUE(data::createSuiteDatabase(file(QStringLiteral("xdata.dat")), &error))
        << error.toStdString();
    RecordingMessages messages;
    EXPECT_TRUE(data::createKoopDatabase(file(QStringLiteral("dalun.dat")), messages));
    writeRegistry(binDir(), dataPath());
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

QString binDir() {
    return QStringLiteral(KOOP_BIN_DIR "/");
}

ProcessResult runProgram(const QString &program, const QStringList &args,
                         const QString &registryFile, const QString &answers,
                         const QString &workingDir) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KOOP_MESSAGES"), QStringLiteral("log"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KOOP_ANSWERS"), answers);
    if (!registryFile.isEmpty())
        env.insert(QStringLiteral("KOOP_REGISTRY"), registryFile);
    // A screen that opens closes again at once: nobody is there to close it.
    env.insert(QStringLiteral("KOOP_OPEN_ONLY"), QStringLiteral("1"));
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
        if (line.startsWith(QStringLiteral("Korvane")))
            r.messages << line;
    return r;
}
