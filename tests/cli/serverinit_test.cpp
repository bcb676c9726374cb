// koop-cli init --server: the company folder names the server, the tables are
// on it, and a start-up on that folder opens them. Runs when KOOP_TEST_PG
// names a server.
#include "data/schema.h"
#include "data/xbase.h"
#include "support/tempcompany.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class ServerInit : public ::testing::Test {
  protected:
    void SetUp() override {
        server = testServer();
        if (!server)
            GTEST_SKIP() << "KOOP_TEST_PG names no server";
        prefix = QStringLiteral("init%1_").arg(QCoreApplication::applicationPid());
        address = QStringLiteral("%1:%2/%3?user=%4&xdata=%5x&dalun=%5d")
                      .arg(server->host)
                      .arg(server->port)
                      .arg(server->database, server->user, prefix);
    }
    void TearDown() override {
        if (!server)
            return;
        data::ServerAddress a = *server;
        a.dataSchema = prefix + "x";
        a.koopSchema = prefix + "d";
        dropSchemas(a);
    }
    QStringList tables(const QString &schema) {
        data::Database db;
        QStringList out;
        if (!db.openServer(*server, schema, false))
            return out;
        QSqlQuery q(db.sql());
        q.exec("SELECT table_name FROM information_schema.tables WHERE table_schema = "
               "current_schema() ORDER BY table_name");
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    std::optional<data::ServerAddress> server;
    QString prefix, address;
    TempCompany co{"unused", false};
};

TEST_F(ServerInit, MakesTheTablesOnTheServerAndTheFolderNamesIt) {
    const QString folder = co.root() + "/firmalar/01";
    const ProcessResult r = runProgram("koop-cli", {"init", "--server", address, folder});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"korvane.dat"});
    const std::optional<data::ServerAddress> named =
        data::readServerAddress(folder + "/korvane.dat");
    ASSERT_TRUE(named);
    EXPECT_EQ(named->dataSchema, prefix + "x");
    EXPECT_EQ(named->koopSchema, prefix + "d");
    EXPECT_EQ(tables(prefix + "x"), (QStringList{"carhar", "carkart", "ent", "ftu", "genel", "kasa",
                                                 "stkhar", "stkkart"}));
    EXPECT_EQ(tables(prefix + "d"), (QStringList{"ayar", "borc", "fiat"}));

    // Desks started on the folder draw their codes from the server's counters.
    const ProcessResult codes = runProgram("koop-cli", {"refcode", folder, "--count", "3"});
    ASSERT_EQ(codes.exitCode, 0) << codes.err.toStdString();
    EXPECT_EQ(codes.out.split('\n', Qt::SkipEmptyParts).size(), 3);
    data::Database x;
    ASSERT_TRUE(x.openServer(*named, named->dataSchema, false));
    data::TableCursor genel;
    ASSERT_TRUE(data::RsOpen(x, genel, "genel"));
    ASSERT_TRUE(data::RsSeek(genel, "ack", "sayac1"));
    EXPECT_EQ(data::FieldGet(genel, "value").toInt(), 68);
}

TEST_F(ServerInit, ExistingCompanyOnTheServerIsLeftAlone) {
    ASSERT_EQ(runProgram("koop-cli", {"init", "--server", address, co.root() + "/a"}).exitCode, 0);
    const ProcessResult again =
        runProgram("koop-cli", {"init", "--server", address, co.root() + "/b"});
    EXPECT_EQ(again.exitCode, 1);
    ASSERT_EQ(again.messages.size(), 1);
    EXPECT_TRUE(again.messages[0].contains("Bu sunucuda zaten bir şirket var, dokunulmadı:"));
    EXPECT_FALSE(QDir(co.root() + "/b").exists("korvane.dat"));
    EXPECT_EQ(tables(prefix + "d"), (QStringList{"ayar", "borc", "fiat"}));
}

// A malformed address is refused with the command line (CliCommands).
TEST_F(ServerInit, UnreachableServerCreatesNothing) {
    const ProcessResult r =
        runProgram("koop-cli", {"init", "--server",
                                "127.0.0.1:1/koop?xdata=" + prefix + "x&dalun=" + prefix + "d",
                                co.root() + "/c"});
    EXPECT_EQ(r.exitCode, 1);
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].contains("Veritabanı sunucusuna bağlanılamadı: 127.0.0.1:1/koop"));
    EXPECT_FALSE(QDir(co.root() + "/c").exists());
    EXPECT_TRUE(tables(prefix + "x").isEmpty());
}

// Every row of every table of a company, ids included, as one text.
QStringList dump(data::Database &db) {
    QStringList out;
    std::vector<const data::TableDef *> tables = data::schema::suiteTables();
    for (const data::TableDef *t : {&data::schema::ayar(), &data::schema::fiat()})
        tables.push_back(t);
    for (const data::TableDef *t : tables) {
        if (!db.hasTable(t->name))
            continue;
        data::TableCursor c;
        EXPECT_TRUE(data::RsOpen(db, c, t->name));
        for (bool ok = data::RsMoveFirst(c); ok; ok = data::RsMoveNext(c)) {
            QStringList row{t->name, QString::number(c.currentId())};
            for (const data::FieldDef &f : t->fields) {
                const QVariant v = data::FieldGet(c, f.name);
                row << (v.metaType() == QMetaType::fromType<Money>()
                            ? QString::number(v.value<Money>().units())
                            : v.toString());
            }
            out << row.join(u'|');
        }
    }
    return out;
}

TEST_F(ServerInit, CopyToServerMovesEveryRowAndTheDesksCarryOn) {
    TempCompany files("02");
    {
        data::Database x, d;
        ASSERT_TRUE(files.open(x, "xdata.dat"));
        ASSERT_TRUE(files.open(d, "dalun.dat"));
        data::TableCursor carkart, carhar, ayar;
        ASSERT_TRUE(data::RsOpen(x, carkart, "carkart"));
        ASSERT_TRUE(data::RsOpen(x, carhar, "carhar"));
        ASSERT_TRUE(data::RsOpen(d, ayar, "ayar"));
        const std::pair<const char *, const char *> cards[] = {
            {"0001", "İsmail Işık"}, {"0002", "Şule Çağlar"}, {"0'3%", "Tırnak"}};
        for (const auto &[kod, isim] : cards) {
            ASSERT_TRUE(data::RsAddNew(carkart));
            data::FieldSet(carkart, "kod", kod);
            data::FieldSet(carkart, "isim1", QString::fromUtf8(isim));
            data::FieldSet(carkart, "borc1", "1234.5678");
            ASSERT_TRUE(data::RsUpdate(carkart));
        }
        for (int month = 1; month <= 6; ++month) {
            ASSERT_TRUE(data::RsAddNew(carhar));
            data::FieldSet(carhar, "kod", month % 2 ? "0001" : "0002");
            data::FieldSet(carhar, "tarih", QDate(2025, month, 1));
            data::FieldSet(carhar, "vade", QDate(2025, month, 1));
            data::FieldSet(carhar, "islem", 4);
            data::FieldSet(carhar, "ba", month == 6 ? 1 : 0);
            data::FieldSet(carhar, "tutar", "850.25");
            data::FieldSet(carhar, "ack", QString("Aidat %1").arg(month));
            ASSERT_TRUE(data::RsUpdate(carhar));
        }
        ASSERT_TRUE(data::RsAddNew(ayar));
        data::FieldSet(ayar, "faiz", 2.5);
        data::FieldSet(ayar, "fisno", 41);
        ASSERT_TRUE(data::RsUpdate(ayar));
    }
    ASSERT_EQ(runProgram("koop-cli", {"refcode", files.folder(), "--count", "30"}).exitCode, 0);
    const QStringList statement = {"statement",  files.folder(), "0001", "--date",
                                   "15.03.2026", "--format",     "json"};
    const ProcessResult before = runProgram("koop-cli", statement);
    ASSERT_EQ(before.exitCode, 0);
    data::Database bx;
    ASSERT_TRUE(files.open(bx, "xdata.dat"));
    data::Database bd;
    ASSERT_TRUE(files.open(bd, "dalun.dat"));
    const QStringList rows = dump(bx) + dump(bd);
    bx.close();
    bd.close();

    const ProcessResult r = runProgram("koop-cli", {"copy-to-server", files.folder(), address});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::optional<data::ServerAddress> named =
        data::readServerAddress(files.file("korvane.dat"));
    ASSERT_TRUE(named);
    data::Database sx, sd;
    ASSERT_TRUE(sx.openServer(*named, named->dataSchema, false));
    ASSERT_TRUE(sd.openServer(*named, named->koopSchema, false));
    EXPECT_EQ(dump(sx) + dump(sd), rows);
    EXPECT_EQ(rows.size(), 3 + 6 + 5 + 1);
    EXPECT_EQ(runProgram("koop-cli", statement).out, before.out);

    // New rows and codes go on after the copied ones.
    const ProcessResult next = runProgram("koop-cli", {"refcode", files.folder(), "--first", "65"});
    ASSERT_EQ(next.exitCode, 0);
    EXPECT_TRUE(next.out.trimmed().endsWith("AAABF")) << next.out.toStdString();
    data::TableCursor carkart;
    ASSERT_TRUE(data::RsOpen(sx, carkart, "carkart"));
    ASSERT_TRUE(data::RsAddNew(carkart));
    data::FieldSet(carkart, "kod", "0004");
    ASSERT_TRUE(data::RsUpdate(carkart));
    ASSERT_TRUE(data::RsMoveLast(carkart));
    EXPECT_EQ(carkart.currentId(), 4);

    const ProcessResult again = runProgram("koop-cli", {"copy-to-server", files.folder(), address});
    EXPECT_EQ(again.exitCode, 1);
}

} // namespace
