// koop-cli init --server: the company folder names the server, the tables are
// on it, and a start-up on that folder opens them. Runs when KOOP_TEST_PG
// names a server.
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
        spec = QStringLiteral("%1:%2/%3?user=%4&xdata=%5x&dalun=%5d")
                   .arg(server->host)
                   .arg(server->port)
                   .arg(server->database, server->user, prefix);
    }
    void TearDown() override {
        if (!server)
            return;
        data::Database db;
        data::ServerAddress a = *server;
        ASSERT_TRUE(db.openServer(a, QStringLiteral("public"), false));
        QSqlQuery q(db.sql());
        for (const char *s : {"x", "d"})
            q.exec("DROP SCHEMA IF EXISTS \"" + prefix + s + "\" CASCADE");
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
    QString prefix, spec;
    TempCompany co{"unused", false};
};

TEST_F(ServerInit, MakesTheTablesOnTheServerAndTheFolderNamesIt) {
    const QString folder = co.root() + "/firmalar/01";
    const ProcessResult r = runProgram("koop-cli", {"init", "--server", spec, folder});
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
    ASSERT_EQ(runProgram("koop-cli", {"init", "--server", spec, co.root() + "/a"}).exitCode, 0);
    const ProcessResult again =
        runProgram("koop-cli", {"init", "--server", spec, co.root() + "/b"});
    EXPECT_EQ(again.exitCode, 1);
    ASSERT_EQ(again.messages.size(), 1);
    EXPECT_TRUE(again.messages[0].contains("Bu sunucuda zaten bir şirket var, dokunulmadı:"));
    EXPECT_FALSE(QDir(co.root() + "/b").exists("korvane.dat"));
    EXPECT_EQ(tables(prefix + "d"), (QStringList{"ayar", "borc", "fiat"}));
}

TEST_F(ServerInit, MalformedOrUnreachableServerCreatesNothing) {
    for (const QString &bad : {QString("sunucu"), QString("h:70000/db"), QString("h/db?sifre=1"),
                               QString("h/db?xdata=a&dalun=a")}) {
        const ProcessResult r = runProgram("koop-cli", {"init", "--server", bad, co.root() + "/c"});
        EXPECT_EQ(r.exitCode, 2) << bad.toStdString();
    }
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

} // namespace
