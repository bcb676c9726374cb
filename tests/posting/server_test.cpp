// Writing actions of a company kept on a PostgreSQL server (the server run
// of this executable only): the company's write lock, the counter rows under
// a row lock, and a server that goes away in the middle of an action.
#include "core/unitofwork.h"
#include "posting/posting.h"
#include "support/fixture.h"

#include <QSqlError>

namespace {

class ServerActions : public SessionTest {
  protected:
    void SetUp() override {
        if (!company.onServer())
            GTEST_SKIP() << "not the server run";
        ASSERT_TRUE(session.data.isServer());
        addCard("0001");
        other = company.connect("other", "xdata.dat");
    }
    void TearDown() override {
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
    }
    // Runs a statement of the other desk; its first value.
    QVariant ask(const QString &sql) {
        QSqlQuery q(other);
        EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
        return q.next() ? q.value(0) : QVariant();
    }
    QSqlDatabase other;
};

TEST_F(ServerActions, ActionHoldsTheCompanyLockAndTheCounterRowsUntilItEnds) {
    // Counters that exist, so there are rows to lock.
    {
        UnitOfWork first(session);
        ASSERT_TRUE(first.active());
        first.reference(21);
        EXPECT_TRUE(first.commit());
    }
    const QString tryLock = "SELECT pg_try_advisory_xact_lock(hashtextextended('korvane:' || "
                            "current_schema(), 0))";
    const QString tryRows = "SELECT count(*) FROM (SELECT id FROM genel WHERE ack LIKE 'sayac%' "
                            "FOR UPDATE SKIP LOCKED) free";
    ASSERT_TRUE(ask("BEGIN").isNull());
    EXPECT_TRUE(ask(tryLock).toBool());
    ASSERT_TRUE(ask("ROLLBACK").isNull());
    {
        UnitOfWork work(session);
        ASSERT_TRUE(work.active());
        ask("BEGIN");
        EXPECT_FALSE(ask(tryLock).toBool()); // another desk's action waits
        EXPECT_EQ(ask(tryRows).toInt(), 5);  // the counters are still free to take
        ask("ROLLBACK");
        const QString code = work.reference(21);
        ask("BEGIN");
        EXPECT_EQ(ask(tryRows).toInt(), 0); // now held by the action
        ask("ROLLBACK");
        ASSERT_TRUE(work.commit());
        EXPECT_EQ(code.right(5), "AAAAC");
    }
    ask("BEGIN");
    EXPECT_TRUE(ask(tryLock).toBool());
    EXPECT_EQ(ask(tryRows).toInt(), 5);
    ask("ROLLBACK");
}

TEST_F(ServerActions, LostServerInTheMiddleStoresNothingAndSaysSo) {
    const qint64 before = ask("SELECT count(*) FROM carhar").toLongLong();
    UnitOfWork work(session);
    ASSERT_TRUE(work.active());
    const QString refer = work.reference(21);
    ASSERT_TRUE(posting::PostDebt(work, refer, false, "0001", Money::fromWhole(10), "Aidat",
                                  ledger::Debt, "1", QDate(2026, 3, 1)));
    QSqlQuery pid(session.data.sql());
    ASSERT_TRUE(pid.exec("SELECT pg_backend_pid()") && pid.next());
    const qint64 desk = pid.value(0).toLongLong();
    pid.finish();
    // The connection of the desk ends as when the server restarts.
    EXPECT_TRUE(ask(QString("SELECT pg_terminate_backend(%1)").arg(desk)).toBool());
    messages.boxes.clear();
    EXPECT_FALSE(work.commit());
    EXPECT_EQ(texts(), QStringList{"Veritabanı bağlantısı koptu.\nKayıtlar saklanamadı; bu "
                                   "işlemden hiçbir kayıt yazılmadı."});
    EXPECT_EQ(ask("SELECT count(*) FROM carhar").toLongLong(), before);
    EXPECT_EQ(ask("SELECT value FROM genel WHERE ack = 'sayac1'"), QVariant());
    EXPECT_EQ(ask("SELECT borc1 FROM carkart").toLongLong(), 0);

    // The next action of that desk does not start, and says why.
    messages.boxes.clear();
    UnitOfWork next(session);
    EXPECT_FALSE(next.active());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_TRUE(messages.boxes[0].text.startsWith("Veritabanı sunucusuna ulaşılamıyor:\n"));
    EXPECT_TRUE(messages.boxes[0].text.endsWith("\nİşlem yapılmadı."));
}

// The server's own failures in the middle of a long action, as its triggers
// raise them: the action is over at the first, nothing of it stays, and the
// clerk is told once what it was.
TEST_F(ServerActions, ServerFailureInTheMiddleOfALongActionLeavesNothing) {
    ask("CREATE SEQUENCE rows_seen");
    const struct {
        const char *errcode;
        const char *says;
    } cases[] = {
        {"disk_full", "Disk dolu: şirket dosyalarına yazılamıyor."},
        {"io_error", "Disk hatası: şirket dosyaları okunamadı ya da yazılamadı."},
        {"lock_not_available", "Şirket dosyaları şu an başka bir masada kullanılıyor."},
        {"data_corrupted", "Şirket dosyası bozuk ya da bir veritabanı değil."},
    };
    for (const auto &c : cases) {
        ask(QString("CREATE OR REPLACE FUNCTION fail() RETURNS trigger LANGUAGE plpgsql AS $$ "
                    "BEGIN IF nextval('rows_seen') %% 6000 = 5000 THEN RAISE EXCEPTION 'yok' "
                    "USING ERRCODE = '%1'; END IF; RETURN NEW; END $$")
                .arg(c.errcode)
                .replace("%%", "%"));
        ask("CREATE OR REPLACE TRIGGER fail BEFORE INSERT ON carhar FOR EACH ROW EXECUTE "
            "FUNCTION fail()");
        ask("SELECT setval('rows_seen', 1)");
        const qint64 before = ask("SELECT count(*) FROM carhar").toLongLong();
        messages.boxes.clear();
        UnitOfWork work(session);
        ASSERT_TRUE(work.active());
        for (int i = 0; i < 6000; ++i)
            (void)posting::PostDebt(work, work.reference(1), false, "0001", Money::fromWhole(10),
                                    "Aidat", ledger::Debt, "1", QDate(2026, 3, 1));
        EXPECT_FALSE(work.commit()) << c.errcode;
        EXPECT_EQ(texts(), QStringList{QString::fromUtf8(c.says) +
                                       "\nKayıtlar saklanamadı; bu işlemden hiçbir kayıt "
                                       "yazılmadı."})
            << c.errcode;
        EXPECT_EQ(ask("SELECT count(*) FROM carhar").toLongLong(), before) << c.errcode;
        EXPECT_EQ(ask("SELECT borc1 FROM carkart").toLongLong(), 0) << c.errcode;
    }
}

} // namespace
