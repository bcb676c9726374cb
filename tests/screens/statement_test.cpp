// Statements of members whose ledgers are written straight into the stored
// layout, as the accounting suite would leave them.
#include "posting/fixture.h"
#include "screens/statement/statementaction.h"
#include "startup/base/daynumber.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class StatementTest : public SessionTest {
  protected:
    StatementTest() {
        session.tlonda = 2;
        addCard("0346", "Ayşe Yılmaz");
    }
    // One carhar row: dates as day numbers, the amount in ten-thousandths.
    void item(const QString &kod, const QDate &tarih, const QDate &vade, int ba, int islem,
              const char *amount, const QString &ack, const QString &evrak = {}) {
        QSqlDatabase db = session.data.sql();
        QSqlQuery q(db);
        q.prepare("INSERT INTO carhar (kod, tarih, islem, evrak, vade, ba, tutar, ack) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        for (const QVariant &v :
             {QVariant(kod), QVariant(qlonglong(dayNumber(tarih))), QVariant(islem),
              QVariant(evrak), QVariant(qlonglong(dayNumber(vade))), QVariant(ba),
              QVariant(qlonglong(Money::parse(amount)->units())), QVariant(ack)})
            q.addBindValue(v);
        ASSERT_TRUE(q.exec());
    }
    void workedLedger() {
        item("0346", {2024, 1, 15}, {2024, 1, 15}, 0, 4, "100", "Ocak");
        item("0346", {2024, 2, 15}, {2024, 2, 15}, 0, 4, "100", "Şubat");
        item("0346", {2024, 3, 20}, {2024, 3, 20}, 1, 1, "150", "Tahsilat", "42");
    }
    void settings(double faiz) {
        ASSERT_TRUE(data::RsAddNew(session.ayar));
        data::FieldSet(session.ayar, "faiz", faiz);
        ASSERT_TRUE(data::RsUpdate(session.ayar));
    }
    static QString cell(const std::optional<Money> &m) { return m ? plainAmount(*m, 2) : "-"; }
};

TEST_F(StatementTest, WorkedStatementRowByRow) {
    workedLedger();
    // Entered after the base date: left out although due earlier.
    item("0346", {2024, 6, 1}, {2024, 1, 1}, 0, 4, "999", "Sonra girilen");
    const auto st = statement::compute(session, "0346", {2024, 5, 10}, 2.0, 0);
    ASSERT_TRUE(st);
    QStringList rows;
    for (const auto &r : st->rows)
        rows << QStringList{r.ack,         cell(r.devir), cell(r.faiz),          cell(r.borc),
                            cell(r.odeme), cell(r.kalan), cell(r.openPrincipal), r.evrak}
                    .join(' ');
    EXPECT_EQ(rows, (QStringList{"Ocak 0.00 0.00 100.00 0.00 100.00 100.00 ",
                                 "Şubat 100.00 2.00 100.00 0.00 202.00 200.00 ",
                                 "Tahsilat 202.00 4.00 0.00 150.00 56.00 56.00 42",
                                 "****Son Bakiye**** 56.00 2.24 - - 58.24 - "}));
    EXPECT_EQ(st->rows[2].surchargeCleared, Money::fromWhole(6));
    EXPECT_EQ(plainAmount(st->finalBalance, 2), "58.24");
    EXPECT_EQ(plainAmount(st->totalSurcharge, 2), "8.24");
}

TEST_F(StatementTest, CommandLineGivesTheSameStatementAsJsonAndCsv) {
    workedLedger();
    settings(2.0);
    data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2);
    ProcessResult r = runProgram("koop-cli", {"statement", company.folder(), "0346", "--date",
                                              "10.05.2024", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(doc["kod"].toString(), "0346");
    EXPECT_EQ(doc["tarih"].toString(), "10.05.2024");
    EXPECT_EQ(doc["bakiye"].toString(), "58.24");
    const QJsonArray rows = doc["rows"].toArray();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[2].toObject()["evrak"].toString(), "42");
    EXPECT_EQ(rows[1].toObject()["faiz"].toString(), "2.00");
    EXPECT_EQ(rows[3].toObject()["borc"].toString(), "");
    EXPECT_EQ(rows[3].toObject()["kalan"].toString(), "58.24");

    r = runProgram("koop-cli", {"statement", company.folder(), "0346", "--date", "10.05.2024",
                                "--format", "csv"});
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Açıklama,Vade,Devir,G.Zammı,Borç,Ödenen,Kalan,Anapara,Evrak");
    EXPECT_EQ(lines[3], "Tahsilat,20.03.2024,202.00,4.00,0.00,150.00,56.00,56.00,42");
    EXPECT_EQ(lines[4], "****Son Bakiye****,,56.00,2.24,,,58.24,,");

    r = runProgram("koop-cli", {"statement", company.folder(), "0346", "--date", "10.05.2024"});
    EXPECT_TRUE(r.out.contains("58.24")) << r.out.toStdString();
}

TEST_F(StatementTest, BadInputGivesItsMessage) {
    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    } cases[] = {
        {{"0346", "--date", "31.02.2024"}, 1, "Korvane|warning|Hatalı İşlem Tarihi..."},
        {{"0'3%", "--date", "10.05.2024"}, 1, "Korvane|warning|Bu kodla bir üye kartı yok: 0'3%"},
        {{"0346", "--date", "10.05.2024"}, 0, "Korvane|warning|Ayarlar Yapılmamış..."},
    };
    for (const Case &c : cases) {
        const ProcessResult r =
            runProgram("koop-cli", QStringList{"statement", company.folder()} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.contains(c.message)) << r.messages.join(';').toStdString();
    }
}

TEST_F(StatementTest, EmptyLedgerIsOneClosingRow) {
    const auto st = statement::compute(session, "0346", {2024, 5, 10}, 2.0, 0);
    ASSERT_TRUE(st);
    ASSERT_EQ(st->rows.size(), 1u);
    EXPECT_FALSE(st->rows[0].kalan);
    EXPECT_EQ(st->finalBalance, Money());
    EXPECT_FALSE(statement::compute(session, "0346", QDate(), 2.0, 0));
    EXPECT_EQ(texts(), QStringList{"Hatalı İşlem Tarihi..."});
}

} // namespace
