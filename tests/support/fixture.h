#pragma once

#include "base/daynumber.h"
#include "core/companyfolder.h"
#include "data/koopdata.h"
#include "support/tempcompany.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

// Ends a session's hold on its files, so another reader, a copy or a byte
// written by hand sees every row in them.
inline void closeFiles(Session &s) {
    for (data::TableCursor *c : {&s.carkart, &s.carhar, &s.stkkart, &s.stkhar, &s.ftu, &s.ent,
                                 &s.kasa, &s.genel, &s.fiat, &s.ayar})
        data::RsClose(*c);
    s.koop.close();
    s.data.close();
}

// A session opened on a temporary company, as start-up opens it, with the
// messages recorded and the date fixed.
class SessionTest : public ::testing::Test {
  protected:
    SessionTest() : session(messages) {
        session.today = [this] { return today; };
        EXPECT_TRUE(startup::openCompanyFolder(session, company.folder()));
    }

    // Adds a member card with the given code, accounting code and kind.
    void addCard(const QString &kod, const QString &name = QStringLiteral("Ayşe Yılmaz"),
                 const QString &muhasebe = QStringLiteral("120.01.001"), int asd = 0) {
        ASSERT_TRUE(data::RsAddNew(session.carkart));
        data::FieldSet(session.carkart, "kod", kod);
        data::FieldSet(session.carkart, "isim1", name);
        data::FieldSet(session.carkart, "asd", asd);
        data::FieldSet(session.carkart, "muhasebe", muhasebe);
        ASSERT_TRUE(data::RsUpdate(session.carkart));
    }

    // The settings row: the last receipt number and the monthly surcharge rate.
    void addSettings(int fisno, double faiz = 0) {
        ASSERT_TRUE(data::RsAddNew(session.ayar));
        data::FieldSet(session.ayar, "fisno", fisno);
        data::FieldSet(session.ayar, "faiz", faiz);
        ASSERT_TRUE(data::RsUpdate(session.ayar));
    }
    // One ledger row as the accounting suite leaves it: dates as day numbers,
    // the amount in ten-thousandths.
    void addLedgerItem(const QString &kod, const QDate &tarih, const QDate &vade, int ba, int islem,
                       const char *amount, const QString &ack, const QString &evrak = {},
                       const QString &kod1 = {}) {
        QSqlQuery q(session.data.sql());
        q.prepare("INSERT INTO carhar (kod, tarih, islem, evrak, vade, ba, tutar, ack, kod1) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const QVariant &v :
             {QVariant(kod), QVariant(qlonglong(dayNumber(tarih))), QVariant(islem),
              QVariant(evrak), QVariant(qlonglong(dayNumber(vade))), QVariant(ba),
              QVariant(qlonglong(Money::parse(amount)->units())), QVariant(ack), QVariant(kod1)})
            q.addBindValue(v);
        ASSERT_TRUE(q.exec());
    }
    // Cash box 1's account code, where the suite keeps it in the day file.
    void writeCashBoxCode() {
        QFile f(session.companyFile("kasa1.dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(16, ' ') + QByteArray("100.01.001      "));
    }

    // The rows of a query on xdata.dat, through a connection of the test's own
    // (to the file, or to its schema on the server).
    std::vector<QSqlRecord> rows(const QString &sql, const QString &file = "xdata.dat") {
        std::vector<QSqlRecord> out;
        {
            QSqlDatabase db = company.connect("check", file);
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
            while (q.next())
                out.push_back(q.record());
        }
        QSqlDatabase::removeDatabase("check");
        return out;
    }
    QVariant value(const QString &sql, const QString &file = "xdata.dat") {
        const auto r = rows(sql, file);
        return r.empty() ? QVariant() : r.front().value(0);
    }
    int count(const char *table) {
        return value(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
    }
    // A row's values joined by "|", NULL shown as such.
    static QString joined(const QSqlRecord &r) {
        QStringList out;
        for (int i = 0; i < r.count(); ++i)
            out << (r.isNull(i) ? QStringLiteral("NULL") : r.value(i).toString());
        return out.join(u'|');
    }
    QStringList texts() const {
        QStringList out;
        for (const auto &b : messages.boxes)
            out << b.text;
        return out;
    }

    TempCompany company;
    RecordingMessages messages;
    Session session;
    QDate today{2026, 3, 15};
};
