// Several desks on one company, and a desk killed in the middle of an action.
#include "support/fixture.h"

#include <QProcess>
#include <QSet>

namespace {

class DesksTest : public SessionTest {
  protected:
    // Everything an action could have touched, as one comparable text.
    QString state() {
        QStringList out;
        for (const char *sql :
             {"SELECT count(*), coalesce(sum(tutar),0) FROM carhar", "SELECT count(*) FROM ent",
              "SELECT borc1, alacak1 FROM carkart", "SELECT ack, value FROM genel ORDER BY ack"})
            for (const QSqlRecord &r : rows(sql))
                for (int i = 0; i < r.count(); ++i)
                    out << r.value(i).toString();
        return out.join('|');
    }
};

TEST_F(DesksTest, FourDesksDrawingAtOnceNeverShareACode) {
    constexpr int Desks = 4, Each = 500;
    std::vector<std::unique_ptr<QProcess>> desks;
    for (int i = 0; i < Desks; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(binDir() + "koop-cli",
                 {"refcode", company.folder(), "--count", QString::number(Each), "--first", "65"});
        desks.push_back(std::move(p));
    }
    QSet<QString> codes;
    int lines = 0;
    for (auto &p : desks) {
        ASSERT_TRUE(p->waitForFinished(300000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        for (const QString &code :
             QString::fromUtf8(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            codes.insert(code);
            ++lines;
        }
    }
    EXPECT_EQ(lines, Desks * Each);
    EXPECT_EQ(codes.size(), Desks * Each);
    // The counters stand where 2,000 codes from a fresh company leave them.
    data::Counters expected;
    for (int i = 0; i < Desks * Each; ++i)
        expected.advance();
    data::Counters stored = data::Counters::load(session.genel);
    EXPECT_EQ(stored.sayac, expected.sayac);
}

TEST_F(DesksTest, KilledMidActionLeavesTheCompanyAsBefore) {
    addCard("0001");
    const QString before = state();
    QProcess child;
    child.start(binDir() + "koop-test-bigaction", {company.folder(), "1000000"});
    ASSERT_TRUE(child.waitForStarted());
    QByteArray out;
    while (!out.contains("yaziliyor") && child.waitForReadyRead(120000))
        out += child.readAllStandardOutput();
    ASSERT_TRUE(out.contains("yaziliyor")) << child.readAllStandardError().toStdString();
    child.kill(); // SIGKILL: no chance to clean up
    child.waitForFinished();
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(state(), before);
    if (!company.onServer()) {
        EXPECT_EQ(value("PRAGMA integrity_check").toString(), "ok");
    }
}

} // namespace
