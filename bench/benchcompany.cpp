#include "bench/benchcompany.h"

#include "data/koopschema.h"
#include "startup/companyfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <cstdio>
#include <cstdlib>

QString memberCode(int i) {
    return QString::number(i).rightJustified(5, u'0');
}

BenchCompany::BenchCompany(int members) : m_dir(QDir::currentPath() + "/bench-XXXXXX") {
    QDir().mkpath(m_dir.path() + "/01");
    QString error;
    m_server = data::parseConnectionInfo(qEnvironmentVariable("KOOP_BENCH_PG"));
    if (m_server) {
        static int companies = 0;
        const QString prefix =
            QStringLiteral("bench%1_%2_").arg(QCoreApplication::applicationPid()).arg(++companies);
        m_server->dataSchema = prefix + QStringLiteral("xdata");
        m_server->koopSchema = prefix + QStringLiteral("dalun");
        data::Database xdata, dalun;
        if (!data::writeServerAddress(file("korvane.dat"), *m_server) ||
            !xdata.openServer(*m_server, m_server->dataSchema, true) ||
            !data::createSuiteTables(xdata, &error) ||
            !dalun.openServer(*m_server, m_server->koopSchema, true) ||
            !data::createKoopTables(dalun, m_messages)) {
            std::fprintf(stderr, "server company: %s %s\n", qPrintable(error),
                         qPrintable(xdata.lastError() + dalun.lastError()));
            std::exit(1);
        }
    } else if (!data::createSuiteDatabase(file("xdata.dat"), &error) ||
               !data::createKoopDatabase(file("dalun.dat"), m_messages)) {
        std::fprintf(stderr, "company: %s\n", qPrintable(error));
        std::exit(1);
    }
    m_session = std::make_unique<Session>(m_messages);
    Session &s = *m_session;
    if (!startup::openCompanyFolder(s, m_dir.path() + QStringLiteral("/01")))
        std::exit(1);
    s.data.beginWrite();
    QSqlQuery q(s.data.sql());
    q.prepare("INSERT INTO carkart (kod, isim1, asd, muhasebe, borc1, alacak1) "
              "VALUES (?, ?, 0, ?, 0, 0)");
    for (int i = 1; i <= members; ++i) {
        q.addBindValue(memberCode(i));
        q.addBindValue(QStringLiteral("Üye %1 Çağlar").arg(i));
        q.addBindValue(QStringLiteral("120.01.") + memberCode(i));
        q.exec();
    }
    q.finish();
    s.data.commit();
}

BenchCompany::~BenchCompany() {
    const bool onServer = m_session && m_session->data.isServer();
    if (onServer) {
        for (const QString &schema : {m_server->dataSchema, m_server->koopSchema})
            m_session->data.exec(
                QStringLiteral("DROP SCHEMA IF EXISTS \"%1\" CASCADE").arg(schema));
    }
}
