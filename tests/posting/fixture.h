#pragma once

#include "data/koopdata.h"
#include "startup/companyfolder.h"
#include "support/tempcompany.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

// A session opened on a temporary company, as start-up opens it, with the
// messages recorded and the date fixed.
class SessionTest : public ::testing::Test {
  protected:
    SessionTest() : session(messages) {
        session.today = [this] { return today; };
        EXPECT_TRUE(startup::openCompanyFolder(session, company.folder()));
    }

    // Adds a member card with the given code and accounting code.
    void addCard(const QString &kod, const QString &name = QStringLiteral("Ayşe Yılmaz"),
                 const QString &muhasebe = QStringLiteral("120.01.001")) {
        ASSERT_TRUE(data::RsAddNew(session.carkart));
        data::FieldSet(session.carkart, "kod", kod);
        data::FieldSet(session.carkart, "isim1", name);
        data::FieldSet(session.carkart, "asd", 0);
        data::FieldSet(session.carkart, "muhasebe", muhasebe);
        ASSERT_TRUE(data::RsUpdate(session.carkart));
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
