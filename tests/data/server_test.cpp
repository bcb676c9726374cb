// Companies kept on a PostgreSQL server: the [sunucu] section, the tables as
// the server declares them, and Turkish order and search that agree with the
// SQLite files row for row.
#include "data/koopschema.h"
#include "data/membersearch.h"
#include "data/xbase.h"
#include "support/tempcompany.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace Qt::StringLiterals;
using namespace data;

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Host, port, database, user and the two schemas, or "none".
QString fields(const std::optional<ServerAddress> &a) {
    if (!a)
        return u"none"_s;
    return QStringList{a->host,      QString::number(a->port), a->database, a->user, a->dataSchema,
                       a->koopSchema}
        .join(u'|');
}

TEST(ServerAddress, ReadFromTheSunucuSectionWithDefaults) {
    const struct {
        const char *name, *ini, *address;
    } cases[] = {
        {"no section", "[gorunum]\nimagepath=image\\soft\\\n", "none"},
        {"empty section", "[sunucu]\nport=5433\n", "none"},
        {"full", "[SUNUCU]\nHost=db.koop\nport=6543\ndatabase=kooperatif\nuser=masa1\n",
         "db.koop|6543|kooperatif|masa1|xdata|dalun"},
        {"bad port", "[sunucu]\nhost=db\nport=70000\n", "db|5432|||xdata|dalun"},
        {"own schemas", "[sunucu]\ndatabase=k\nxdata=muhasebe\ndalun=aidat\n",
         "|5432|k||muhasebe|aidat"},
    };
    QTemporaryDir dir;
    const QString file = dir.filePath(u"korvane.dat"_s);
    for (const auto &c : cases) {
        writeFile(file, c.ini);
        EXPECT_EQ(fields(readServerAddress(file)), QString::fromUtf8(c.address)) << c.name;
    }
}

TEST(ServerAddress, WrittenBesideTheOtherSettingsAndReadBack) {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"korvane.dat"_s);
    writeFile(file, "[gorunum]\nimagepath=resim\\\n");
    ASSERT_TRUE(writeServerAddress(
        file, {u"10.0.0.5"_s, 5544, u"koop"_s, u"veznedar"_s, u"x1"_s, u"d1"_s}));
    const std::optional<ServerAddress> b = readServerAddress(file);
    EXPECT_EQ(fields(b), u"10.0.0.5|5544|koop|veznedar|x1|d1"_s);
    EXPECT_EQ(b.value_or(ServerAddress()).display(), u"10.0.0.5:5544/koop"_s);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("imagepath=resim\\"));
}

TEST(ServerAddress, UnreachableServerIsReportedNotCreated) {
    Database db;
    // Port 1 on the local machine: nothing listens there.
    EXPECT_FALSE(db.openServer({u"127.0.0.1"_s, 1, u"koop"_s, u"koop"_s}, u"xdata"_s, true));
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(db.lastError().isEmpty());
}

// The server run only: a company on the server next to the same data in
// SQLite files.
class OnServer : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!company.onServer())
            GTEST_SKIP() << "not the server run";
        ASSERT_TRUE(company.open(server, u"xdata.dat"_s));
        ASSERT_TRUE(server.isServer());
        ASSERT_TRUE(createSuiteDatabase(dir.filePath(u"xdata.dat"_s), nullptr));
        ASSERT_TRUE(files.open(dir.filePath(u"xdata.dat"_s)));
    }
    // The first column of a query's rows.
    static QStringList column(Database &db, const QString &sql, const QVariantList &binds = {}) {
        QSqlQuery q(db.sql());
        q.prepare(sql);
        for (const QVariant &b : binds)
            q.addBindValue(b);
        EXPECT_TRUE(q.exec()) << sql.toStdString();
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    TempCompany company;
    QTemporaryDir dir;
    Database server, files;
};

TEST_F(OnServer, TablesHaveTheStoredLayoutsTypes) {
    const QString columnSql =
        u"SELECT column_name || ' ' || data_type || coalesce('(' || "
        "character_maximum_length || ')', '') || CASE is_nullable WHEN 'NO' THEN ' NOT NULL' "
        "ELSE '' END FROM information_schema.columns WHERE table_schema = current_schema() "
        "AND table_name = ? ORDER BY ordinal_position"_s;
    EXPECT_EQ(column(server, columnSql, {u"genel"_s}),
              QStringList({"id bigint NOT NULL", "ack character varying(20)",
                           "tanim character varying(60)", "check integer", "value integer"}));
    const QStringList carhar = column(server, columnSql, {u"carhar"_s});
    for (const char *c : {"tarih integer", "tutar bigint", "kur double precision",
                          "refer character varying(8)", "kasa integer"})
        EXPECT_TRUE(carhar.contains(QString::fromUtf8(c))) << c;
    EXPECT_EQ(carhar.size(), 21);
    Database dalun;
    ASSERT_TRUE(company.open(dalun, u"dalun.dat"_s));
    EXPECT_EQ(column(dalun, columnSql, {u"fiat"_s}).mid(1, 2),
              QStringList({"cari character varying(8) NOT NULL", "fiat1 bigint"}));

    // The indexes beside the primary key: name, uniqueness and columns.
    const QString indexSql =
        u"SELECT indexname || CASE WHEN indexdef LIKE 'CREATE UNIQUE%' THEN ' unique ' ELSE ' ' "
        "END || substring(indexdef from '\\(.*\\)$') FROM pg_indexes WHERE schemaname = "
        "current_schema() AND tablename = ? AND indexname <> tablename || '_pkey'"_s;
    EXPECT_EQ(column(server, indexSql, {u"carhar"_s}), QStringList({"kodvade (kod, vade)"}));
    EXPECT_EQ(column(server, indexSql, {u"carkart"_s}), QStringList({"kod unique (kod)"}));
}

TEST_F(OnServer, NamesAndCodesSortAndMatchAsInTheFiles) {
    const char *const names[] = {
        "Ilgaz", "ılık",  "İbrahim", "iğde",  "Işık", "ismail", "Çelik",      "cem",      "Şahin",
        "sarı",  "Ölmez", "ozan",    "Üstün", "uçar", "Ağca",   "agah",       "ağa oğlu", "AHMET",
        "Ahmet", "a_b",   "a%b",     "a\\b",  "Zeki", "zafer",  "İSMAİL IŞIK"};
    const char *const codes[] = {"0100", "010", "01", "1",  "10",  "A1",   "a1",  "B",  "b",
                                 "İ1",   "i1",  "I1", "ı1", "Ç1",  "C1",   "0'1", "1%", "1_",
                                 "1\\",  "01a", "9",  "90", "091", "0091", "Z"};
    for (Database *db : {&server, &files}) {
        TableCursor carkart;
        ASSERT_TRUE(RsOpen(*db, carkart, u"carkart"_s));
        for (size_t i = 0; i < std::size(names); ++i) {
            ASSERT_TRUE(RsAddNew(carkart));
            FieldSet(carkart, u"kod"_s, QString::fromUtf8(codes[i]));
            FieldSet(carkart, u"isim1"_s, QString::fromUtf8(names[i]));
            ASSERT_TRUE(RsUpdate(carkart));
        }
    }
    for (const QString &sql : {u"SELECT isim1 FROM carkart ORDER BY isim1 COLLATE tr, id"_s,
                               u"SELECT kod FROM carkart ORDER BY kod"_s,
                               u"SELECT kod FROM carkart WHERE kod > '01' ORDER BY kod"_s})
        EXPECT_EQ(column(server, sql), column(files, sql)) << sql.toStdString();

    // Walking a cursor by its index visits the same codes in the same order.
    const auto walk = [](Database &db) {
        TableCursor c;
        QStringList out;
        EXPECT_TRUE(RsOpen(db, c, u"carkart"_s));
        EXPECT_TRUE(RsSetIndex(c, u"kod"_s));
        for (bool ok = RsMoveFirst(c); ok; ok = RsMoveNext(c))
            out << FieldGet(c, u"kod"_s).toString();
        return out;
    };
    EXPECT_EQ(walk(server), walk(files));
    EXPECT_EQ(walk(server).size(), qsizetype(std::size(codes)));

    const auto found = [](Database &db, const QString &text, MemberOrder order, bool contains) {
        std::vector<MemberMatch> m;
        EXPECT_TRUE(searchMembers(db, text, order, contains, &m));
        QStringList out;
        for (const MemberMatch &x : m)
            out << x.kod;
        return out;
    };
    for (const char *text : {"i",  "I", "İ", "ı",  "IŞ", "işık", "a",  "ağ", "AĞ", "%",     "_",
                             "\\", "'", "1", "01", "ç",  "Ş",    "a_", "",   "oğ", "İSMAİL"}) {
        for (const MemberOrder order : {MemberOrder::ByName, MemberOrder::ByCode})
            for (const bool contains : {false, true})
                EXPECT_EQ(found(server, QString::fromUtf8(text), order, contains),
                          found(files, QString::fromUtf8(text), order, contains))
                    << text << (order == MemberOrder::ByName ? " by name" : " by code")
                    << (contains ? " contains" : " starts");
    }
    // Ilgaz, ılık and Işık, in that order; never İbrahim.
    EXPECT_EQ(found(server, u"ı"_s, MemberOrder::ByName, false),
              QStringList({"0100", "010", "10"}));
}

// A second desk starting on a brand-new server while the first is still
// making the schema waits for it, then finds the schema and its collation.
TEST_F(OnServer, SecondDeskWaitsForTheSchemaTheFirstIsMaking) {
    ServerAddress address = *company.server();
    const QString schema = address.koopSchema + u"_yeni"_s;
    const auto run = [&](const QString &sql) {
        QSqlQuery q(server.sql());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    };
    run(u"BEGIN"_s);
    run(u"SELECT pg_advisory_xact_lock(hashtextextended('korvane:%1', 0))"_s.arg(schema));
    run(u"CREATE SCHEMA "_s + schema);
    run(u"CREATE COLLATION "_s + schema + u".tr (provider = icu, locale = 'tr-TR')"_s);
    bool opened = false;
    QString error;
    std::thread second([&] {
        Database desk;
        opened = desk.openServer(address, schema, true);
        error = desk.lastError();
    });
    // Until the second desk waits on the first.
    for (int i = 0;
         i < 1000 && column(server, u"SELECT 1 FROM pg_locks WHERE NOT granted"_s).isEmpty(); ++i)
        QThread::msleep(10);
    run(u"COMMIT"_s);
    second.join();
    EXPECT_TRUE(opened) << error.toStdString();
    run(u"DROP SCHEMA "_s + schema + u" CASCADE"_s);
}

} // namespace
