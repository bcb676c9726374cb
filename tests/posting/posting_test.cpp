// Ledger, cash-box and integration rows as the posting code stores them,
// compared field by field with what the readers of the ledger rely on.
#include "core/unitofwork.h"
#include "data/cashbox.h"
#include "posting/cashcollection.h"
#include "posting/posting.h"
#include "support/fixture.h"

namespace {

using namespace Qt::StringLiterals;

class PostingTest : public SessionTest {
  protected:
    // Inserts into the table that meet the condition fail, as under a
    // suite's trigger that turns them down.
    void refuseInserts(const QString &table, const QString &when) {
        QSqlQuery q(session.data.sql());
        if (session.data.isServer()) {
            ASSERT_TRUE(q.exec(u"CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$"
                               "BEGIN IF %1 THEN RAISE EXCEPTION 'kapalı'; END IF; RETURN NEW; "
                               "END$$"_s.arg(when)));
            ASSERT_TRUE(q.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON %1 FOR EACH ROW "
                               "EXECUTE FUNCTION refuse()"_s.arg(table)));
        } else {
            ASSERT_TRUE(q.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON %1 WHEN %2 BEGIN "
                               "SELECT RAISE(ABORT, 'kapalı'); END"_s.arg(table, when)));
        }
    }
};

const QString CarharFields = "kod, tarih, islem, evrak, vade, ba, tutar, ack, pls, dtip, kod1, "
                             "doviz, kur, kapanan, puan, refer, krefer, sube, para, kasa";

// Debts and a collection: only the debts move the card's buckets.
TEST_F(PostingTest, LedgerRowsStoreEveryFieldAndOnlyDebtsRaiseTheBucket) {
    addCard("0346");
    UnitOfWork work(session);
    const QString r1 = work.reference(21), r2 = work.reference(21);
    // A tab and a backslash reach the table as typed, however the rows travel.
    ASSERT_TRUE(posting::PostDebt(work, r1, false, "0346", *Money::parse("12.5"), "Yakıt\t\\",
                                  ledger::Debt, "2", QDate(2026, 3, 1)));
    ASSERT_TRUE(posting::PostDebt(work, r2, false, "0346", *Money::parse("850"), "Aidat",
                                  ledger::Debt, "1", QDate(2026, 3, 1)));
    ASSERT_TRUE(work.commit());
    EXPECT_NE(r1, r2);
    const QString r3 = QString(QChar(1)) + "CFAAAAB";
    UnitOfWork collection(session);
    ASSERT_TRUE(posting::PostCollection(collection, r3, "0346", QDate(2026, 3, 15), "42",
                                        *Money::parse("100.75"), "AİDAT TAHSİLATI", "", 1));
    ASSERT_TRUE(collection.commit());
    const auto r = rows("SELECT " + CarharFields + " FROM carhar ORDER BY id");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(joined(r[0]),
              "0346|46082|4||46082|0|125000|Yakıt\t\\||0|2|12.5|0|0|0|" + r1 + "||0|0|0");
    EXPECT_EQ(joined(r[2]),
              "0346|46096|1|42|46096|1|1007500|AİDAT TAHSİLATI||0||0|0|0|0|" + r3 + "||0|0|1");
    EXPECT_EQ(joined(rows("SELECT borc1, alacak1 FROM carkart")[0]), "8625000|0");
    EXPECT_TRUE(messages.boxes.empty());
}

// Debts that fail among others of one action: each says so in its turn; the
// others keep their order, and reads inside the action see them and the
// card's new totals. The card's code carries a quote and a per cent sign.
TEST_F(PostingTest, FailedDebtRowsSaySoInTheirTurn) {
    addCard("0'1%");
    refuseInserts("carhar", "NEW.tutar = 20000");
    UnitOfWork work(session);
    const auto post = [&](int64_t units, const QString &ack) {
        return posting::PostDebt(work, work.reference(1), false, "0'1%", Money::fromUnits(units),
                                 ack, ledger::Debt, "1", today);
    };
    EXPECT_TRUE(post(Money::Scale, "Aidat"));
    // An amount the card's totals cannot hold: no row and no bucket change.
    EXPECT_FALSE(post(INT64_MAX, "x"));
    post(2 * Money::Scale, "Aidat"); // turned down by the table
    EXPECT_FALSE(data::writeIntegrationRow(
        session.ent, messages, {today, "600.01.01", "A", Money(), "x", 0, 1, today, "1234"}));
    // A description that is not valid UTF-16 is left out; the row is stored.
    EXPECT_TRUE(post(3 * Money::Scale, QString(QChar(0xDC00))));
    data::QueryCursor read;
    ASSERT_TRUE(data::QdOpen(session.data, read, "SELECT count(*) FROM carhar"));
    EXPECT_EQ(read.number(0), 2);
    ASSERT_TRUE(data::findMember(session.carkart, "0'1%"));
    EXPECT_EQ(data::toMoney(data::FieldGet(session.carkart, "borc1")), Money::fromWhole(6));
    ASSERT_TRUE(work.commit());
    EXPECT_EQ(texts(), (QStringList{"Cari Hesap Yazılamıyor.", "Cari Hesap Yazılamıyor.",
                                    "Entegrasyon Referans Kodu Eksik.."}));
    const auto r = rows("SELECT kod, tutar, ack FROM carhar ORDER BY id");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(joined(r[0]), "0'1%|10000|Aidat");
    EXPECT_EQ(joined(r[1]), "0'1%|30000|NULL");
    // The refused row's bucket step had run, as the old desks did.
    EXPECT_EQ(value("SELECT borc1 FROM carkart").toLongLong(), 6 * Money::Scale);
}

class CashCollectionTest : public PostingTest {
  protected:
    posting::CashCollection collection(const QString &kod) {
        posting::CashCollection c;
        c.kod = kod;
        c.name = "Büyükçağlar Öztürkoğlu Şebnem Gülsüm Ilgaz"; // 42 characters
        c.date = QDate(2026, 3, 15);
        c.receiptNo = 42;
        c.amount = *Money::parse("250.5");
        return c;
    }
    double dayTotal() {
        return cashbox::dayTotal(session.companyFile("kasa1.dat"), QDate(2026, 3, 15));
    }
};

TEST_F(CashCollectionTest, OneReferenceTiesEveryRowOfTheCollection) {
    addCard("0346", "Büyükçağlar Öztürkoğlu Şebnem Gülsüm Ilgaz", "120.01.0346");
    addSettings(41);
    writeCashBoxCode();
    const auto result = posting::postCashCollection(session, collection("0346"));
    ASSERT_TRUE(result.committed);
    EXPECT_TRUE(messages.boxes.empty()) << texts().join(';').toStdString();
    const QString refer = result.refer;
    EXPECT_EQ(refer, QString(QChar(1)) + "DOAAAAB");

    const auto kasa = rows("SELECT carkod, evrak, ack, pls, kod1, ba, tutar, kasa, tarih, sube, "
                           "kur, doviz, dtip, refer FROM kasa");
    ASSERT_EQ(kasa.size(), 1u);
    EXPECT_EQ(joined(kasa[0]),
              "0346|42|Büyükçağlar Öztürkoğlu Şebnem Gülsü|||0|2505000|1|46096|0|0|0|0|" + refer);
    EXPECT_EQ(value("SELECT refer FROM carhar").toString(), refer);
    const auto ent = rows("SELECT refer, enttar, tarih, yer, muhkod, ba, ack, tutar, mik FROM ent "
                          "ORDER BY id");
    ASSERT_EQ(ent.size(), 2u);
    EXPECT_EQ(joined(ent[0]),
              refer + "|46096|46096|5|120.01.0346|A|42 Mkb. ile Tahsilat|2505000|0");
    EXPECT_EQ(joined(ent[1]),
              refer + "|46096|46096|5|100.01.001|B|AİDAT TAHSİLATI Mkb. ile Tahsilat B|2505000|0");
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 42);
    EXPECT_EQ(dayTotal(), 250.5);
}

TEST_F(CashCollectionTest, NothingForNoAmountOnlyTheCashRowForAMissingCard) {
    addCard("0346");
    auto c = collection("0346");
    c.amount = Money();
    EXPECT_FALSE(posting::postCashCollection(session, c).committed);
    EXPECT_EQ(count("kasa"), 0);
    EXPECT_FALSE(QFile::exists(session.companyFile("kasa1.dat")));

    c = collection("9999");
    c.settingsExist = false;
    ASSERT_TRUE(posting::postCashCollection(session, c).committed);
    EXPECT_EQ(count("kasa"), 1);
    EXPECT_EQ(count("carhar") + count("ent"), 0);
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(dayTotal(), 250.5);
}

// The cash-box row turned down by the suite's table: no ledger or integration
// row either, yet the receipt number and the day total move as they always did.
TEST_F(CashCollectionTest, RefusedCashRowSaysSoAndStillCountsTheDay) {
    addCard("0346");
    addSettings(41);
    refuseInserts("kasa", "true");
    EXPECT_TRUE(posting::postCashCollection(session, collection("0346")).committed);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].icon, Messages::Icon::Question);
    EXPECT_EQ(messages.boxes[0].text, "Kasa Kayıtları İşlenemedi");
    for (const char *table : {"kasa", "carhar", "ent"})
        EXPECT_EQ(count(table), 0) << table;
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 42);
    EXPECT_EQ(dayTotal(), 250.5);
}

} // namespace
