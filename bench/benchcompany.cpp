#include "bench/benchcompany.h"

#include "base/daynumber.h"
#include "core/companyfolder.h"
#include "data/koopschema.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <cstdio>
#include <cstdlib>

double bareDebtRows(Session &s, int rows, int members, bool integration) {
    return seconds([&] {
        must(s.data.beginWrite(), "begin");
        QSqlQuery carhar(s.data.sql()), ent(s.data.sql());
        carhar.prepare("INSERT INTO carhar (kod, tarih, islem, evrak, vade, ba, tutar, ack, pls, "
                       "dtip, kod1, doviz, kur, kapanan, puan, refer, krefer, sube, para, kasa) "
                       "VALUES (?, ?, 4, '', ?, 0, ?, ?, '', 0, '1', ?, 0, 0, 0, ?, '', 0, 0, 0)");
        ent.prepare("INSERT INTO ent (tarih, refer, enttar, muhkod, ba, tutar, ack, mik, yer) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, 0, 1)");
        const qlonglong day = 46023, units = 8502500;
        for (int i = 0; i < rows; ++i) {
            const QString kod = memberCode(i % members + 1);
            const QString refer = QStringLiteral("ABCD%1").arg(i, 4, 36, QLatin1Char('0'));
            for (const QVariant &v :
                 {QVariant(kod), QVariant(day), QVariant(day), QVariant(units),
                  QVariant(QStringLiteral("Ocak 2026 Aidat")), QVariant(850.25), QVariant(refer)})
                carhar.addBindValue(v);
            carhar.exec();
            if (!integration)
                continue;
            for (const char *side : {"B", "A"}) {
                for (const QVariant &v :
                     {QVariant(day), QVariant(refer), QVariant(day), QVariant("120.01." + kod),
                      QVariant(QString::fromLatin1(side)), QVariant(units),
                      QVariant(QStringLiteral("Aidat").leftJustified(35))})
                    ent.addBindValue(v);
                ent.exec();
            }
        }
        carhar.finish();
        ent.finish();
        must(s.data.commit(), "commit");
    });
}

void fillStatementLedger(Session &s, int members, int items) {
    must(s.data.beginWrite(), "begin");
    QSqlQuery q(s.data.sql());
    q.prepare("INSERT INTO carhar (kod, tarih, islem, evrak, vade, ba, tutar, ack) "
              "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    const qlonglong start = dayNumber(QDate(2020, 1, 1));
    for (int m = 1; m <= members; ++m) {
        const QString kod = memberCode(m);
        for (int i = 0; i < items; ++i) {
            const bool credit = i % 3 == 2;
            const qlonglong day = start + i * 5;
            for (const QVariant &v :
                 {QVariant(kod), QVariant(day), QVariant(credit ? 1 : 4),
                  QVariant(credit ? QString::number(i) : QString()), QVariant(day),
                  QVariant(credit ? 1 : 0), QVariant(qlonglong(credit ? 1500000 : 850000)),
                  QVariant(QStringLiteral("Aidat"))})
                q.addBindValue(v);
            q.exec();
        }
    }
    q.finish();
    must(s.data.commit(), "commit");
}

qint64 bareLedgerReads(Session &s, int members, const QDate &upTo) {
    qint64 rows = 0;
    for (int m = 1; m <= members; ++m) {
        QSqlQuery q(s.data.sql());
        q.setForwardOnly(true);
        q.prepare("SELECT ack, vade, tutar, ba, islem, evrak, tarih FROM carhar WHERE kod = ? "
                  "AND tarih <= ? ORDER BY vade, ba, islem, id");
        q.addBindValue(memberCode(m));
        q.addBindValue(qlonglong(dayNumber(upTo)));
        q.exec();
        while (q.next()) {
            for (int c = 0; c < 7; ++c)
                (void)q.value(c);
            ++rows;
        }
    }
    return rows;
}

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
    must(s.data.beginWrite(), "begin");
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
    must(s.data.commit(), "commit");
}

BenchCompany::~BenchCompany() {
    const bool onServer = m_session && m_session->data.isServer();
    if (onServer) {
        for (const QString &schema : {m_server->dataSchema, m_server->koopSchema})
            if (!m_session->data.exec(
                    QStringLiteral("DROP SCHEMA IF EXISTS \"%1\" CASCADE").arg(schema)))
                std::fprintf(stderr, "bench: schema %s left behind\n", qPrintable(schema));
    }
}

void must(bool ok, const char *what) {
    if (ok)
        return;
    std::fprintf(stderr, "bench: %s failed\n", what);
    std::exit(1);
}
