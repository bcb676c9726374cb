// The flat table operations the screens use, on a fresh company's xdata.dat.
#include "data/xbase.h"
#include "startup/base/daynumber.h"
#include "support/tempcompany.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

using namespace data;

QString text(const TableCursor &c, const char *field) {
    return FieldGet(c, QString::fromUtf8(field)).toString();
}

class Cursors : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(company.open(db, u"xdata.dat"_s));
        ASSERT_TRUE(RsOpen(db, members, u"carkart"_s));
        ASSERT_TRUE(RsOpen(db, moves, u"carhar"_s));
    }
    void addMember(const QString &kod, const QString &isim = QString()) {
        ASSERT_TRUE(RsAddNew(members));
        FieldSet(members, u"kod"_s, kod);
        if (!isim.isNull())
            FieldSet(members, u"isim1"_s, isim);
        ASSERT_TRUE(RsUpdate(members)) << kod.toStdString();
    }
    void addMove(const QVariant &kod, const QString &evrak, const QDate &vade) {
        ASSERT_TRUE(RsAddNew(moves));
        FieldSet(moves, u"kod"_s, kod);
        FieldSet(moves, u"evrak"_s, evrak);
        FieldSet(moves, u"vade"_s, vade);
        ASSERT_TRUE(RsUpdate(moves));
    }
    // Every record from the first on, as RsMoveNext visits them.
    static QStringList walk(TableCursor &c, const char *field) {
        QStringList seen;
        if (!RsMoveFirst(c))
            return seen;
        do
            seen << text(c, field);
        while (RsMoveNext(c));
        return seen;
    }
    int count(const QString &table) {
        QueryCursor q;
        EXPECT_TRUE(QdOpen(db, q, u"SELECT count(*) FROM "_s + table));
        return q.field(0).toInt();
    }

    TempCompany company;
    Database db;
    TableCursor members, moves;
};

TEST_F(Cursors, MovesFollowEntryOrderThenIndexOrder) {
    EXPECT_FALSE(RsMoveFirst(members)); // empty table
    EXPECT_FALSE(RsMoveLast(members));
    EXPECT_FALSE(RsMoveNext(members));
    const QStringList entered = {"B2", "10", "a", "9", "A", u"Ç"_s};
    for (const QString &kod : entered)
        addMember(kod);
    EXPECT_EQ(walk(members, "kod"), entered);
    EXPECT_TRUE(RsEof(members));

    ASSERT_TRUE(RsSetIndex(members, u"kod"_s));
    EXPECT_EQ(walk(members, "kod"), QStringList({"10", "9", "A", "B2", "a", u"Ç"_s}));
    ASSERT_TRUE(RsMoveLast(members));
    EXPECT_EQ(text(members, "kod"), u"Ç"_s);
    EXPECT_FALSE(RsMoveNext(members));
    EXPECT_FALSE(RsSetIndex(members, u"isim1"_s));
}

// The index is on kod and vade: one member's rows in due-date order, equal
// keys in entry order, rows without a member first.
TEST_F(Cursors, CompoundIndexOrdersByDueDateThenEntry) {
    const QDate d(2024, 5, 1);
    addMove("K2", "e1", d);
    addMove("K1", "e2", d);
    addMove(QVariant(), "e3", d);
    addMove("K1", "e4", d);
    addMove("K1", "ocak", QDate(2024, 1, 1));
    ASSERT_TRUE(RsSeek(moves, u"kodvade"_s, "K1"));
    EXPECT_EQ(text(moves, "evrak"), u"ocak"_s);
    EXPECT_EQ(walk(moves, "evrak"), QStringList({"e3", "ocak", "e2", "e4", "e1"}));
}

TEST_F(Cursors, FailedSeekLeavesNoRecordUntilTheNextHit) {
    for (const char *kod : {"001", "002", "003"})
        addMember(kod, u"Üye "_s + kod);
    ASSERT_TRUE(RsSeek(members, u"kod"_s, "002"));
    EXPECT_EQ(text(members, "isim1"), u"Üye 002"_s);
    ASSERT_TRUE(RsMoveNext(members)); // the seek chose the kod order
    EXPECT_EQ(text(members, "kod"), u"003"_s);

    EXPECT_FALSE(RsSeek(members, u"kod"_s, "999"));
    EXPECT_EQ(FieldGet(members, u"kod"_s), QVariant(1));
    EXPECT_FALSE(RsMoveFirst(members));
    EXPECT_FALSE(RsMoveLast(members));
    EXPECT_FALSE(RsMoveNext(members));
    EXPECT_FALSE(RsSeek(members, u"yok"_s, "001"));

    ASSERT_TRUE(RsSeek(members, u"kod"_s, "001"));
    EXPECT_TRUE(RsMoveLast(members));
    EXPECT_EQ(text(members, "kod"), u"003"_s);
    EXPECT_EQ(FieldGet(members, u"yokboyle"_s), QVariant(1));
}

TEST_F(Cursors, ValuesComeBackInTheProgramsTypes) {
    ASSERT_TRUE(RsAddNew(members));
    FieldSet(members, u"kod"_s, u"001"_s);
    FieldSet(members, u"borc1"_s, QVariant::fromValue(*Money::parse("1234.5678")));
    FieldSet(members, u"alacak1"_s, u"-0.01"_s);
    FieldSet(members, u"asd"_s, 7);
    ASSERT_TRUE(RsUpdate(members));
    addMove("001", "e1", QDate(2024, 3, 1));
    ASSERT_TRUE(RsMoveFirst(members));
    ASSERT_TRUE(RsMoveFirst(moves));

    const QVariant borc = FieldGet(members, u"borc1"_s);
    EXPECT_EQ(borc.metaType(), QMetaType::fromType<Money>());
    EXPECT_EQ(borc.value<Money>(), *Money::parse("1234.5678"));
    EXPECT_EQ(FieldGet(members, u"alacak1"_s).value<Money>(), *Money::parse("-0.01"));
    EXPECT_EQ(FieldGet(members, u"asd"_s), QVariant(7));
    EXPECT_EQ(FieldGet(moves, u"vade"_s), QVariant(QDate(2024, 3, 1)));
    // Fields never set read as the clerk expects, never as Null.
    EXPECT_EQ(FieldGet(members, u"isim1"_s), QVariant(QString()));
    EXPECT_EQ(FieldGet(members, u"borc2"_s), QVariant(0));
    EXPECT_EQ(FieldGet(moves, u"tarih"_s), QVariant(QString()));
    EXPECT_EQ(FieldGet(moves, u"tutar"_s), QVariant(0));
    EXPECT_EQ(FieldGet(moves, u"kur"_s), QVariant(0));
    EXPECT_EQ(nullReplacement(tMemo), QVariant(0));

    TableCursor genel;
    ASSERT_TRUE(RsOpen(db, genel, u"genel"_s));
    for (const auto &[ack, check] : {std::pair{"evet", true}, std::pair{"hayir", false}}) {
        ASSERT_TRUE(RsAddNew(genel));
        FieldSet(genel, u"ack"_s, ack);
        FieldSet(genel, u"check"_s, check);
        FieldSet(genel, u"value"_s, 2000000000);
        ASSERT_TRUE(RsUpdate(genel));
    }
    ASSERT_TRUE(RsSeek(genel, u"ack"_s, "evet"));
    EXPECT_EQ(FieldGet(genel, u"check"_s), QVariant(-1));
    EXPECT_EQ(FieldGet(genel, u"value"_s), QVariant(2000000000));
    ASSERT_TRUE(RsSeek(genel, u"ack"_s, "hayir"));
    EXPECT_EQ(FieldGet(genel, u"check"_s), QVariant(0));
}

TEST_F(Cursors, EditChangesTheCurrentRowOnly) {
    addMember("001", "Eski");
    addMember("002", "Diğer");
    ASSERT_TRUE(RsSeek(members, u"kod"_s, "001"));
    ASSERT_TRUE(RsEdit(members));
    FieldSet(members, u"isim1"_s, u"Yeni"_s);
    EXPECT_EQ(text(members, "isim1"), u"Yeni"_s);
    ASSERT_TRUE(RsUpdate(members));
    EXPECT_FALSE(RsUpdate(members)); // nothing is being edited any more
    EXPECT_EQ(walk(members, "isim1"), QStringList({"Yeni", u"Diğer"_s}));
    EXPECT_EQ(count("carkart"), 2);
    EXPECT_FALSE(RsSeek(members, u"kod"_s, "003"));
    EXPECT_FALSE(RsEdit(members));
}

TEST_F(Cursors, HostileTextIsStoredCutAndFoundAgain) {
    const QStringList hostile = {u"O'Neil\"; DROP TABLE carkart; --"_s, u"%_%'"_s,
                                 QString(10000, u'ş')};
    for (const QString &s : hostile)
        addMember(s, s);
    EXPECT_EQ(count("carkart"), 3);
    for (const QString &s : hostile) {
        ASSERT_TRUE(RsSeek(members, u"kod"_s, s.left(15))) << s.left(20).toStdString();
        EXPECT_EQ(text(members, "kod"), s.left(15));
        EXPECT_EQ(text(members, "isim1"), s.left(50));
    }
}

TEST_F(Cursors, BrokenTextIsNotWrittenTheRestOfTheRowIs) {
    addMember("001", "Ayşe");
    ASSERT_TRUE(RsAddNew(members));
    FieldSet(members, u"kod"_s, u"002"_s);
    FieldSet(members, u"isim1"_s, QString(QChar(0xD800)));
    EXPECT_TRUE(RsUpdate(members));
    ASSERT_TRUE(RsSeek(members, u"kod"_s, "002"));
    EXPECT_EQ(text(members, "isim1"), u""_s);

    ASSERT_TRUE(RsSeek(members, u"kod"_s, "001"));
    ASSERT_TRUE(RsEdit(members));
    FieldSet(members, u"isim1"_s, u"x"_s + QChar(0xDC00));
    FieldSet(members, u"isim2"_s, u"Yeni"_s);
    EXPECT_TRUE(RsUpdate(members));
    ASSERT_TRUE(RsSeek(members, u"kod"_s, "001"));
    EXPECT_EQ(text(members, "isim1"), u"Ayşe"_s);
    EXPECT_EQ(text(members, "isim2"), u"Yeni"_s);

    addMember("003", u"Emoji \U0001F600"_s); // a whole pair is fine
    ASSERT_TRUE(RsSeek(members, u"kod"_s, "003"));
    EXPECT_EQ(text(members, "isim1"), u"Emoji \U0001F600"_s);
}

// Expects the cut to keep a prefix of the text, not half a pair read back as U+FFFD.
TEST_F(Cursors, CutToSizeNeverSplitsACharacter) {
    const QString given = QString(14, u'a') + u"\U0001F600"_s;
    addMember(given);
    ASSERT_TRUE(RsMoveFirst(members));
    EXPECT_TRUE(given.startsWith(text(members, "kod"))) << text(members, "kod").toStdString();
}

TEST_F(Cursors, QueryBindsValuesLiterallyAndReportsBadSql) {
    addMember("001", u"a%b'c"_s);
    addMember("002", u"aXb'c"_s);
    addMember("003", u"a%b'c"_s);
    RecordingMessages messages;
    QueryCursor q;
    ASSERT_TRUE(QueryOpen(db, q, u"SELECT kod FROM carkart WHERE isim1 = ? ORDER BY kod"_s,
                          {u"a%b'c"_s}, messages));
    EXPECT_EQ(q.field("kod").toString(), u"001"_s);
    ASSERT_TRUE(q.moveNext());
    EXPECT_EQ(q.field(0).toString(), u"003"_s);
    EXPECT_FALSE(q.moveNext());
    EXPECT_TRUE(q.eof());

    EXPECT_FALSE(
        QueryOpen(db, q, u"SELECT kod FROM carkart WHERE kod = ?"_s, {u"999"_s}, messages));
    EXPECT_TRUE(messages.boxes.empty());

    for (const char *bad : {"SELEC kod FROM carkart", "SELECT kod FROM yoktablo"}) {
        messages.boxes.clear();
        EXPECT_FALSE(QueryOpen(db, q, QString::fromUtf8(bad), {}, messages)) << bad;
        ASSERT_EQ(messages.boxes.size(), 1u) << bad;
        EXPECT_EQ(messages.boxes[0].icon, Messages::Icon::Warning);
        EXPECT_EQ(messages.boxes[0].title, u"Korvane"_s);
        EXPECT_EQ(messages.boxes[0].text, u"Sql Rapor Yaratılamıyor"_s);
    }
}

} // namespace
