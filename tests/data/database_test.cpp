// Connections, Turkish order and search, writing actions, and the tables the
// program creates for itself.
#include "data/koopschema.h"
#include "data/xbase.h"
#include "support/tempcompany.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

using namespace data;

void addMember(TableCursor &c, const QString &kod, const QString &isim) {
    ASSERT_TRUE(RsAddNew(c));
    FieldSet(c, u"kod"_s, kod);
    FieldSet(c, u"isim1"_s, isim);
    ASSERT_TRUE(RsUpdate(c));
}

class Connection : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(company.open(db, u"xdata.dat"_s));
        ASSERT_TRUE(RsOpen(db, members, u"carkart"_s));
    }
    TempCompany company;
    Database db;
    TableCursor members;
};

TEST_F(Connection, TurkishCollationOrdersNamesAsTheAlphabet) {
    const QStringList sorted = {"Agah",  "Ağca",  "Ahmet",   "Cem",  "Çelik", "Demir", "Ilgaz",
                                "Irmak", "Işık",  "İbrahim", "İnce", "Ozan",  "Ölmez", "Pala",
                                "Sarı",  "Şahin", "Tekin",   "Uçar", "Üstün", "Vural"};
    int n = 0;
    for (qsizetype i = sorted.size() - 1; i >= 0; i -= 2)
        addMember(members, QString::number(++n), sorted[i]);
    for (qsizetype i = sorted.size() - 2; i >= 0; i -= 2)
        addMember(members, QString::number(++n), sorted[i]);
    QueryCursor q;
    ASSERT_TRUE(QdOpen(db, q, u"SELECT isim1 FROM carkart ORDER BY isim1 COLLATE tr"_s));
    QStringList seen;
    do
        seen << q.field("isim1").toString();
    while (q.moveNext());
    EXPECT_EQ(seen, sorted);
}

TEST_F(Connection, LikeFoldsCaseTheTurkishWay) {
    // clang-format off
    struct Case {
        const char *value, *pattern;
        bool match;
    } cases[] = {
        {"İsmail", "i%", true}, {"ismail", "İ%", true}, {"Işık", "ı%", true},
        {"Işık", "i%", false}, {"Şahin", "ş%", true}, {"i", "I", false}, {"I", "i", false},
        {"AHMET", "ahmet", true}, {"Mehmet Çelik", "%ÇEL%", true}, {"Çelik", "%ik", true},
        {"Çelikler", "%ik", false}, {"abc", "a_c", true}, {"ac", "a_c", false},
        {"", "%", true}, {"x", "", false}, {"Ağaoğlu", "%OĞ%", true}, {"ÜSTÜN", "üs%", true},
        {"a%b", "a\\%b", true}, {"axb", "a\\%b", false}, {"a_B", "A\\_b", true},
        {"axb", "a\\_b", false}};
    // clang-format on
    const QString like = u"SELECT 1 WHERE "_s + db.turkishLikeCondition(u"CAST(? AS TEXT)"_s);
    for (const Case &c : cases) {
        QueryCursor q;
        ASSERT_TRUE(
            QdOpen(db, q, like, {QString::fromUtf8(c.value), QString::fromUtf8(c.pattern)}));
        EXPECT_EQ(!q.eof(), c.match) << c.value << " LIKE " << c.pattern;
    }
}

TEST_F(Connection, RolledBackWriteLeavesNothingCommittedOneIsSeenByAnotherDesk) {
    Database other;
    ASSERT_TRUE(company.open(other, u"xdata.dat"_s));
    TableCursor theirs;
    ASSERT_TRUE(RsOpen(other, theirs, u"carkart"_s));

    ASSERT_TRUE(db.beginWrite());
    EXPECT_TRUE(db.inTransaction());
    addMember(members, "001", "Geri");
    ASSERT_TRUE(db.rollback());
    EXPECT_FALSE(RsMoveFirst(members));

    ASSERT_TRUE(db.beginWrite());
    EXPECT_FALSE(db.beginWrite());
    addMember(members, "002", "Kalan");
    EXPECT_FALSE(RsMoveFirst(theirs)); // not posted yet
    ASSERT_TRUE(db.commit());
    EXPECT_FALSE(db.commit());
    ASSERT_TRUE(RsMoveFirst(theirs));
    EXPECT_EQ(FieldGet(theirs, u"kod"_s).toString(), u"002"_s);
    EXPECT_FALSE(RsMoveNext(theirs));
}

TEST(TableCreation, ATableAppearsWholeOrNotAtAll) {
    QTemporaryDir dir;
    Database db;
    ASSERT_TRUE(db.create(dir.filePath(u"deneme.dat"_s)));
    TableDef def{u"deneme"_s, {{u"kod"_s, tText, 10}, {u"tutar"_s, tCurrency}}, {}};
    // A second index of the same name fails after the table itself was made.
    def.indexes = {{u"ix"_s, {u"kod"_s}, true}, {u"ix"_s, {u"tutar"_s}}};
    EXPECT_FALSE(createTable(db, def));
    EXPECT_FALSE(db.hasTable(u"deneme"_s));
    def.indexes = {{u"ix"_s, {u"kod"_s}, true}};
    ASSERT_TRUE(createTable(db, def));
    EXPECT_EQ(db.sql().record(u"deneme"_s).count(), 3);
    EXPECT_FALSE(createTable(db, def));
}

TEST(KoopDatabase, CreatesEmptyTablesAndRefusesAnExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"dalun.dat"_s);
    RecordingMessages messages;
    ASSERT_TRUE(createKoopDatabase(path, messages));
    EXPECT_TRUE(messages.boxes.empty());
    {
        Database db;
        ASSERT_TRUE(db.open(path));
        for (const char *table : {"ayar", "fiat", "borc"}) {
            TableCursor c;
            ASSERT_TRUE(RsOpen(db, c, QString::fromUtf8(table))) << table;
            EXPECT_FALSE(RsMoveFirst(c)) << table;
        }
    }
    // An empty file, or one of another program, is neither opened nor rewritten.
    const QString missing = dir.filePath(u"yok/dalun.dat"_s), empty = dir.filePath(u"bos.dat"_s),
                  foreign = dir.filePath(u"yabanci.dat"_s);
    const QByteArray foreignBytes("Standard Jet DB\0\1\2", 18);
    QFile(empty).open(QIODevice::WriteOnly);
    {
        QFile f(foreign);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(foreignBytes);
    }
    for (const QString &p : {empty, foreign})
        EXPECT_FALSE(Database().open(p)) << p.toStdString();
    for (const QString &p : {path, missing, empty, foreign}) {
        messages.boxes.clear();
        EXPECT_FALSE(createKoopDatabase(p, messages));
        ASSERT_EQ(messages.boxes.size(), 1u);
        EXPECT_EQ(messages.boxes[0].icon, Messages::Icon::Warning);
        EXPECT_EQ(messages.boxes[0].title, u"Korvane"_s);
        EXPECT_EQ(messages.boxes[0].text, p + u"\nSql Dosyası Yaratılamadı."_s);
    }
    EXPECT_FALSE(QDir(dir.filePath(u"yok"_s)).exists());
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    QFile f(foreign);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), foreignBytes);
}

// Rows and queries that fail inside an action leave it going: the server
// aborts a transaction on the first error unless each step is fenced off.
TEST(KoopDatabase, PricesNeedOneRowPerMemberCodeFailuresLeaveTheActionGoing) {
    TempCompany company;
    Database db;
    ASSERT_TRUE(company.open(db, u"dalun.dat"_s));
    TableCursor fiat;
    ASSERT_TRUE(RsOpen(db, fiat, u"fiat"_s));
    const auto add = [&](const QVariant &cari) {
        EXPECT_TRUE(RsAddNew(fiat));
        if (cari.isValid())
            FieldSet(fiat, u"cari"_s, cari);
        FieldSet(fiat, u"fiat1"_s, u"150.25"_s);
        return RsUpdate(fiat);
    };
    ASSERT_TRUE(db.beginWrite());
    EXPECT_TRUE(add(u"0001"_s));
    EXPECT_FALSE(add(u"0001"_s));
    EXPECT_FALSE(add(QVariant()));
    EXPECT_TRUE(add(u""_s));
    EXPECT_FALSE(add(u""_s));
    QueryCursor q;
    EXPECT_FALSE(QdOpen(db, q, u"SELECT yok FROM fiat"_s));
    EXPECT_TRUE(q.failed());
    // The server refuses NUL in text.
    EXPECT_NE(QdOpen(db, q, u"SELECT 1 FROM fiat WHERE cari = ?"_s, {QString(u"a\0b"_s)}),
              db.isServer());
    EXPECT_TRUE(add(u"0002"_s));
    ASSERT_TRUE(db.commit());

    ASSERT_TRUE(QdOpen(db, q, u"SELECT count(*) FROM fiat"_s));
    EXPECT_EQ(q.number(0), 3);
    ASSERT_TRUE(RsSeek(fiat, u"cari"_s, "0001"));
    EXPECT_EQ(FieldGet(fiat, u"fiat1"_s).value<Money>(), *Money::parse("150.25"));
}

} // namespace
