// Counters, named values, balance buckets and integration rows on a real
// company; what is stored is read back with plain SQL.
#include "core/unitofwork.h"
#include "data/cashbox.h"
#include "support/fixture.h"

#include <QFile>
#include <cstring>
#include <thread>

namespace {

using data::Counters;

QString tail(const QString &code) {
    return code.right(5);
}

TEST(Counters, CarryAndWrapFromTheFastestDigit) {
    struct Case {
        std::array<qint32, 5> before, after;
    } cases[] = {
        {{65, 65, 65, 65, 65}, {66, 65, 65, 65, 65}}, {{90, 65, 65, 65, 65}, {65, 66, 65, 65, 65}},
        {{90, 90, 65, 65, 65}, {65, 65, 66, 65, 65}}, {{90, 90, 90, 90, 70}, {65, 65, 65, 65, 71}},
        {{90, 90, 90, 90, 90}, {65, 65, 65, 65, 65}}, // wraps after 26^5 codes
        {{65, 95, 65, 65, 65}, {66, 65, 66, 65, 65}}, // out of range further up still carries
    };
    for (const Case &c : cases) {
        Counters k{c.before};
        k.advance();
        EXPECT_EQ(k.sayac, c.after);
    }
}

TEST(Counters, CodeCarriesFirstCharacterMonthAndDayLetters) {
    Counters k{{66, 67, 68, 69, 70}};
    EXPECT_EQ(k.code(1, QDate(2026, 12, 31)), QString(QChar(1)) + "M_FEDCB");
    EXPECT_EQ(k.code(21, QDate(2027, 1, 1)), QString(QChar(21)) + "BAFEDCB");
    EXPECT_EQ(k.code(65, QDate(2026, 2, 27)), "AC[FEDCB");
    EXPECT_EQ(k.code(65, QDate(2026, 5, 28)), "AF\\FEDCB");
    EXPECT_EQ(k.code(65, QDate(2026, 5, 26)).mid(1, 2), "FZ");
}

class ServicesTest : public SessionTest {};

TEST_F(ServicesTest, ReferenceCodesStartAtAAndCarryAcrossCodes) {
    EXPECT_EQ(tail(data::nextReferenceCode(session.genel, messages, 1, today)), "AAAAB");
    EXPECT_EQ(tail(data::nextReferenceCode(session.genel, messages, 1, today)), "AAAAC");
    // Stored as 0 or garbage below "A": sayac1 counts as A, the others are set to A.
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "sayac1", {}, false, 90));
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "sayac2", {}, false, 0));
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "sayac3", {}, false, -7));
    EXPECT_EQ(tail(data::nextReferenceCode(session.genel, messages, 1, today)), "AAABA");
    EXPECT_EQ(value("SELECT value FROM genel WHERE ack='sayac3'").toInt(), 65);
    EXPECT_EQ(value("SELECT count(*) FROM genel WHERE ack LIKE 'sayac%'").toInt(), 5);
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(ServicesTest, ReferencesInOneActionDifferAndCountersLandAtCommit) {
    {
        UnitOfWork work(session);
        ASSERT_TRUE(work.active());
        QSet<QString> codes;
        for (int i = 0; i < 30; ++i)
            codes.insert(work.reference(21));
        EXPECT_EQ(codes.size(), 30);
        // Abandoned: nothing of it stays.
    }
    EXPECT_EQ(value("SELECT count(*) FROM genel WHERE ack LIKE 'sayac%'").toInt(), 0);
    {
        UnitOfWork work(session);
        for (int i = 0; i < 30; ++i)
            work.reference(1);
        ASSERT_TRUE(work.commit());
    }
    // 30 codes from AAAAA: sayac1 = A + 30 = 26 + 4 -> "E" with one carry.
    EXPECT_EQ(value("SELECT value FROM genel WHERE ack='sayac1'").toInt(), 69);
    EXPECT_EQ(value("SELECT value FROM genel WHERE ack='sayac2'").toInt(), 66);
    EXPECT_EQ(tail(session.lastReference), "AAABE");
}

TEST_F(ServicesTest, SetNamedValueAddsThenChangesOneRow) {
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "unvan", "Koop 'A' %", true, 7));
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "unvan", "Yeşilçam", false, 8));
    const auto r = rows("SELECT tanim, \"check\", value FROM genel WHERE ack='unvan'");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(joined(r[0]), "Yeşilçam|0|8");
    EXPECT_EQ(data::namedText(session.genel, "unvan"), "Yeşilçam");
    EXPECT_EQ(data::namedNumber(session.genel, "yok"), 0);
    // A name that cannot be stored is left out; the row is stored without it.
    EXPECT_TRUE(data::setNamedValue(session.genel, messages, QString(QChar(0xD800)), "", false, 1));
    EXPECT_EQ(value("SELECT count(*) FROM genel WHERE ack IS NULL").toInt(), 1);
    EXPECT_EQ(texts(), QStringList{});
}

TEST_F(ServicesTest, BalanceBucketsMoveByTheDifference) {
    addCard("0346");
    const Money m10 = Money::fromWhole(10), m4 = Money::fromWhole(4);
    struct Step {
        int bucket;
        Money oldDebit, oldCredit;
        const char *side;
        Money amount;
        const char *debitField;
        int64_t debit, credit; // whole TL after the step
    } steps[] = {
        {0, {}, {}, "B", m10, "borc1", 10, 0}, {0, {}, {}, "b", m4, "borc1", 14, 0},
        {0, {}, {}, "A", m4, "borc1", 14, 4},  {0, {}, {}, "x", m4, "borc1", 14, 8},
        {0, m10, {}, "B", m4, "borc1", 8, 8}, // a changed posting: 10 became 4
        {0, {}, m4, "A", m10, "borc1", 8, 14}, {2, {}, {}, "B", m10, "borc3", 10, 0},
    };
    for (const Step &s : steps) {
        ASSERT_TRUE(data::updateBalanceBucket(session.carkart, "0346", s.bucket, s.oldDebit,
                                              s.oldCredit, s.side, s.amount));
        const QString credit = QString(s.debitField).replace("borc", "alacak");
        EXPECT_EQ(value(QString("SELECT %1 FROM carkart").arg(s.debitField)).toLongLong(),
                  s.debit * Money::Scale);
        EXPECT_EQ(value(QString("SELECT %1 FROM carkart").arg(credit)).toLongLong(),
                  s.credit * Money::Scale);
    }
    // An unknown bucket stores the card unchanged; an unknown member is false.
    EXPECT_TRUE(data::updateBalanceBucket(session.carkart, "0346", 3, {}, {}, "B", m10));
    EXPECT_EQ(value("SELECT borc1 FROM carkart").toLongLong(), 8 * Money::Scale);
    EXPECT_FALSE(data::updateBalanceBucket(session.carkart, "9999", 0, {}, {}, "B", m10));
    bool overflow = false;
    EXPECT_FALSE(data::updateBalanceBucket(session.carkart, "0346", 0, {}, {}, "B",
                                           Money::fromUnits(INT64_MAX), &overflow));
    EXPECT_TRUE(overflow);
    EXPECT_EQ(value("SELECT borc1 FROM carkart").toLongLong(), 8 * Money::Scale);
}

TEST_F(ServicesTest, IntegrationRowsFollowTheReferenceAndAccountRules) {
    const auto write = [&](const QString &refer, const QString &muhkod, const QString &ack) {
        return data::writeIntegrationRow(session.ent, messages,
                                         {QDate(2026, 3, 1), muhkod, "B", Money::fromWhole(5), ack,
                                          0, 3, QDate(2026, 3, 31), refer});
    };
    EXPECT_FALSE(write("ABCD", "120.01", "x"));
    EXPECT_EQ(texts(), QStringList{"Entegrasyon Referans Kodu Eksik.."});
    messages.boxes.clear();
    EXPECT_FALSE(write("ABCDEFGH", "   12", "x")); // no account code: skipped silently
    EXPECT_FALSE(write("ABCDEFGH", "", "x"));
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_TRUE(write("ABCDE", "120", QString(40, u'ş')));
    EXPECT_TRUE(write("ABCDEFGH", "120.01.0346", "abc"));
    const auto r = rows("SELECT tarih, refer, enttar, muhkod, ba, tutar, ack, mik, yer FROM ent "
                        "ORDER BY id");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].value("ack").toString(), QString(35, u'ş'));
    // 01.03.2026 and 31.03.2026 as day numbers; the text padded to 35.
    EXPECT_EQ(joined(r[1]),
              "46082|ABCDEFGH|46112|120.01.0346|B|50000|abc" + QString(32, u' ') + "|0|3");
}

TEST_F(ServicesTest, SettingsRowAndReceiptNumber) {
    EXPECT_FALSE(data::readSettings(session.ayar));
    EXPECT_FALSE(data::storeReceiptNumber(session.ayar, 5));
    ASSERT_TRUE(data::RsAddNew(session.ayar));
    data::FieldSet(session.ayar, "ack2", "Yakıt");
    data::FieldSet(session.ayar, "faiz", 2.5);
    data::FieldSet(session.ayar, "fisno", 41);
    ASSERT_TRUE(data::RsUpdate(session.ayar));
    const auto s = data::readSettings(session.ayar);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->ack[1], "Yakıt");
    EXPECT_EQ(s->ack[0], "");
    EXPECT_EQ(s->faiz, 2.5);
    EXPECT_EQ(s->fisno, 41);
    EXPECT_TRUE(data::storeReceiptNumber(session.ayar, 42));
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 42);
}

TEST_F(ServicesTest, CashBoxFileKeepsAccountCodeAndDayTotals) {
    const QString file = session.companyFile(cashbox::fileName("1"));
    EXPECT_EQ(cashbox::fileName(" 01 "), "kasa1.dat");
    EXPECT_EQ(cashbox::accountCode(file), "");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(16, '\0') + QByteArray("100.01.001      ")); // 10 characters + 6 blanks
    f.close();
    EXPECT_EQ(cashbox::accountCode(file), "100.01.001");
    EXPECT_EQ(cashbox::dayRecord(QDate(2026, 1, 1)), 3);
    EXPECT_EQ(cashbox::dayRecord(QDate(2026, 12, 31)), 374);
    ASSERT_TRUE(cashbox::addToDayTotal(file, QDate(2026, 3, 15), 12.5));
    ASSERT_TRUE(cashbox::addToDayTotal(file, QDate(2026, 3, 15), 0.25));
    EXPECT_EQ(cashbox::dayTotal(file, QDate(2026, 3, 15)), 12.75);
    EXPECT_EQ(cashbox::dayTotal(file, QDate(2026, 3, 16)), 0.0);
    EXPECT_EQ(QFileInfo(file).size(), (cashbox::dayRecord(QDate(2026, 3, 15)) - 1) * 16 + 8);
    EXPECT_EQ(cashbox::accountCode(file), "100.01.001");

    // A day file that only ever took day totals has no code: empty, not
    // sixteen zero bytes that would reach the integration rows.
    const QString fresh = session.companyFile(cashbox::fileName("2"));
    ASSERT_TRUE(cashbox::addToDayTotal(fresh, QDate(2026, 3, 15), 1));
    EXPECT_EQ(cashbox::accountCode(fresh), "");
}

TEST_F(ServicesTest, TwoDesksAddingToOneDayLoseNothing) {
    const QString file = session.companyFile("kasa1.dat");
    const auto desk = [&] {
        for (int i = 0; i < 200; ++i)
            ASSERT_TRUE(cashbox::addToDayTotal(file, QDate(2026, 6, 30), 0.5));
    };
    std::thread a(desk), b(desk);
    a.join();
    b.join();
    EXPECT_EQ(cashbox::dayTotal(file, QDate(2026, 6, 30)), 200.0);
}

// What a desk stopped at any moment leaves in the day file's journal, and
// what the next settling makes of it: a change whose collection is stored is
// applied exactly once, one whose collection is not is dropped, one that
// cannot be told waits.
TEST_F(ServicesTest, DayTotalJournalLeftBehindIsSettledExactlyOnce) {
    const QString file = session.companyFile("kasa1.dat");
    const QDate day(2026, 3, 15);
    const int record = cashbox::dayRecord(day);
    const auto bits = [](double v) {
        quint64 b;
        std::memcpy(&b, &v, sizeof b);
        return QByteArray::number(b, 16);
    };
    const auto p = [&](const char *refer, double amount) {
        return "P " + QByteArray(refer).toHex() + ' ' + QByteArray::number(record) + ' ' +
               bits(amount) + '\n';
    };
    const QByteArray a =
        "A " + QByteArray::number(record) + ' ' + bits(100) + ' ' + bits(250) + '\n';
    struct Case {
        const char *what;
        double before;
        QByteArray journal;
        double after;
        bool journalStays;
    } cases[] = {
        {"stored, not yet added", 100, p("STORED", 150), 250, false},
        {"not stored", 100, p("GONE", 150), 100, false},
        {"cannot be told", 100, p("UNKNOWN", 150), 100, true},
        {"stopped before the record", 100, a, 250, false},
        {"stopped after the record", 250, a, 250, false},
        {"two stored on one day", 100, p("STORED", 150) + p("STORED", 0.5), 250.5, false},
        {"a line cut short", 100, "P 53544f", 100, false},
    };
    const cashbox::Stored stored = [](const QString &refer) -> std::optional<bool> {
        if (refer == "UNKNOWN")
            return std::nullopt;
        return refer == "STORED";
    };
    for (const Case &c : cases) {
        QFile::remove(file);
        QFile::remove(cashbox::journalFile(file));
        ASSERT_TRUE(cashbox::addToDayTotal(file, day, c.before));
        QFile journal(cashbox::journalFile(file));
        ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
        journal.write(c.journal);
        journal.close();
        int settled = 0;
        QString error;
        EXPECT_TRUE(cashbox::settleJournal(file, stored, &settled, &error)) << c.what;
        EXPECT_EQ(cashbox::dayTotal(file, day), c.after) << c.what;
        EXPECT_EQ(QFile::exists(cashbox::journalFile(file)), c.journalStays) << c.what;
        // Settled once more, nothing moves.
        EXPECT_TRUE(cashbox::settleJournal(file, stored, &settled, &error)) << c.what;
        EXPECT_EQ(cashbox::dayTotal(file, day), c.after) << c.what;
    }
}

} // namespace
