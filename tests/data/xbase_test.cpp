// The flat table operations the screens use, on a fresh company's xdata.dat.
#include "base/daynumber.h"
#include "data/ledger.h"
#include "data/xbase.h"
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
    // A new row with the given fields; the rest left unset.
    static void add(TableCursor &c, std::initializer_list<std::pair<QString, QVariant>> fields) {
        ASSERT_TRUE(RsAddNew(c));
        for (const auto &[name, value] : fields)
            FieldSet(c, name, value);
        ASSERT_TRUE(RsUpdate(c)) << fields.begin()->second.toString().toStdString();
    }
    void addMember(const QString &kod, const QString &isim = QString()) {
        add(members, {{u"kod"_s, kod}, {u"isim1"_s, isim.isNull() ? QVariant() : isim}});
    }
    void addMove(const QVariant &kod, const QString &evrak, const QDate &vade) {
        add(moves, {{u"kod"_s, kod}, {u"evrak"_s, evrak}, {u"vade"_s, vade}});
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
    const Money borc = *Money::parse("1234.5678");
    add(members, {{u"kod"_s, u"001"_s},
                  {u"borc1"_s, QVariant::fromValue(borc)},
                  {u"alacak1"_s, u"-0.01"_s},
                  {u"asd"_s, 7}});
    addMove("001", "e1", QDate(2024, 3, 1));
    TableCursor genel;
    ASSERT_TRUE(RsOpen(db, genel, u"genel"_s));
    for (const auto &[ack, check] : {std::pair{"evet", true}, std::pair{"hayir", false}})
        add(genel, {{u"ack"_s, ack}, {u"check"_s, check}, {u"value"_s, 2000000000}});
    ASSERT_TRUE(RsMoveFirst(members));
    ASSERT_TRUE(RsMoveFirst(moves));
    ASSERT_TRUE(RsMoveFirst(genel));

    // Fields never set read as the clerk expects, never as Null; a true
    // check box reads -1.
    const std::tuple<TableCursor *, const char *, QVariant> fields[] = {
        {&members, "borc1", QVariant::fromValue(borc)},
        {&members, "alacak1", QVariant::fromValue(*Money::parse("-0.01"))},
        {&members, "asd", 7},
        {&moves, "vade", QDate(2024, 3, 1)},
        {&members, "isim1", QString()},
        {&members, "borc2", 0},
        {&moves, "tarih", QString()},
        {&moves, "tutar", 0},
        {&moves, "kur", 0},
        {&genel, "check", -1},
        {&genel, "value", 2000000000},
    };
    for (const auto &[cursor, field, expected] : fields) {
        const QVariant read = FieldGet(*cursor, QString::fromUtf8(field));
        EXPECT_EQ(read.metaType(), expected.metaType()) << field;
        EXPECT_EQ(read, expected) << field;
    }
    ASSERT_TRUE(RsMoveNext(genel));
    EXPECT_EQ(FieldGet(genel, u"check"_s), QVariant(0));
    EXPECT_EQ(nullReplacement(tMemo), QVariant(0));
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

    // Broken text is not written over the stored value; the rest of the row is.
    ASSERT_TRUE(RsSeek(members, u"kod"_s, "001"));
    ASSERT_TRUE(RsEdit(members));
    FieldSet(members, u"isim1"_s, u"x"_s + QChar(0xDC00));
    FieldSet(members, u"isim2"_s, u"İkinci"_s);
    EXPECT_TRUE(RsUpdate(members));
    ASSERT_TRUE(RsSeek(members, u"kod"_s, "001"));
    EXPECT_EQ(text(members, "isim1"), u"Yeni"_s);
    EXPECT_EQ(text(members, "isim2"), u"İkinci"_s);

    EXPECT_FALSE(RsSeek(members, u"kod"_s, "003"));
    EXPECT_FALSE(RsEdit(members));
}

// kod holds 15 characters and isim1 50. The cut keeps a prefix of the text,
// never half a pair read back as U+FFFD; a lone half is not written at all.
TEST_F(Cursors, TextIsStoredLiterallyCutToSizeAndFoundAgain) {
    const QString drop = u"O'Neil\"; DROP TABLE carkart; --"_s, wide(10000, u'ş');
    const QString pair = QString(14, u'a') + u"\U0001F600"_s;
    const struct {
        QString kod, isim, storedKod, storedIsim;
    } cases[] = {
        {drop, drop, drop.left(15), drop.left(50)},
        {u"%_%'"_s, u"%_%'"_s, u"%_%'"_s, u"%_%'"_s},
        {wide, wide, wide.left(15), wide.left(50)},
        {pair, pair, QString(14, u'a'), pair},
        {u"002"_s, QString(QChar(0xD800)), u"002"_s, QString()},
        {u"003"_s, u"Emoji \U0001F600"_s, u"003"_s, u"Emoji \U0001F600"_s},
    };
    for (const auto &c : cases)
        addMember(c.kod, c.isim);
    EXPECT_EQ(count("carkart"), int(std::size(cases)));
    for (const auto &c : cases) {
        ASSERT_TRUE(RsSeek(members, u"kod"_s, c.storedKod)) << c.storedKod.toStdString();
        EXPECT_EQ(text(members, "kod"), c.storedKod);
        EXPECT_EQ(text(members, "isim1"), c.storedIsim) << c.storedKod.toStdString();
    }
}

// A ledger row is stored as the same values whichever way it goes: bound
// straight to a file, through the cursor's statement outside an action on a
// server, or held back as a line of COPY inside one.
TEST_F(Cursors, LedgerRowsStoreTheSameValuesInAndOutOfAnAction) {
    const QString tricky = u"Tab\there\\back\nline\r;'%"_s;
    const QString lone = u"Kırık "_s + QChar(0xD800);
    const std::vector<LedgerRow> rows = {
        {u"001"_s, QDate(2024, 3, 1), 4, QString(), 0, *Money::parse("850.25"), tricky, u"1"_s,
         *Money::parse("850.25"), u"ABCDEFGH"_s, 0, QString()},
        {QString(60, u'ş'), QDate(), 1, u"12"_s, 1, Money(), QString(60, u'ç'), QString(), Money(),
         u"ABCDEFGHIJ"_s, 3, u"XY"_s},
        {u"002"_s, QDate(2024, 3, 2), 1, lone, 1, Money::maxEntry(), lone, u"\\N"_s,
         *Money::parse("0.1"), QString(), 255, lone},
    };
    const auto stored = [&] {
        QSqlQuery q(db.sql());
        EXPECT_TRUE(q.exec(u"SELECT kod, tarih, islem, evrak, vade, ba, tutar, ack, pls, dtip, "
                           "kod1, doviz, kur, kapanan, puan, refer, krefer, sube, para, kasa "
                           "FROM carhar ORDER BY id"_s));
        QStringList out;
        while (q.next()) {
            QStringList row;
            for (int c = 0; c < 20; ++c)
                row << (q.isNull(c) ? u"<null>"_s : q.value(c).toString());
            out << row.join(u'|');
        }
        return out;
    };
    for (const LedgerRow &r : rows)
        ASSERT_TRUE(writeLedgerRow(moves, r));
    const QStringList outside = stored();
    ASSERT_EQ(outside.size(), 3);
    const QString day1 = QString::number(dayNumber(QDate(2024, 3, 1))),
                  day2 = QString::number(dayNumber(QDate(2024, 3, 2)));
    EXPECT_EQ(outside[0], u"001|"_s + day1 + u"|4||"_s + day1 + u"|0|8502500|"_s + tricky +
                              u"||0|1|850.25|0|0|0|ABCDEFGH||0|0|0"_s);
    EXPECT_EQ(outside[1], QString(15, u'ş') + u"|<null>|1|12|<null>|1|0|"_s + QString(50, u'ç') +
                              u"||0||0|0|0|0|ABCDEFGH|XY|0|0|3"_s);
    EXPECT_EQ(outside[2], u"002|"_s + day2 + u"|1|<null>|"_s + day2 + u"|1|"_s +
                              QString::number(Money::maxEntry().units()) +
                              u"|<null>||0|\\N|0.1|0|0|0||<null>|0|0|255"_s);

    ASSERT_TRUE(db.exec(u"DELETE FROM carhar"_s));
    ASSERT_TRUE(db.beginWrite());
    {
        const BatchedRows later(moves, [] { ADD_FAILURE() << "a row was refused"; });
        for (const LedgerRow &r : rows)
            ASSERT_TRUE(writeLedgerRow(moves, r));
    }
    ASSERT_TRUE(db.commit());
    EXPECT_EQ(stored(), outside);
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
