// "Yönetim Ayar" (koopayar) on a temporary company: the first save on a new
// database, leaving without writing, and the command line's settings.
#include "actions/collection/collectionaction.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/settings/koopayar.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

class SettingsScreen : public SessionTest {
  protected:
    SettingsScreen() { session.pictures = false; }
    void open(koopayar &w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    void type(koopayar &w, int field, const QString &text) {
        xtext *f = part<xtext>(w, QStringLiteral("alan%1").arg(field).toLatin1().constData());
        f->setFocus();
        QTest::keyClicks(f, text);
    }
    QString stored() {
        const auto r =
            rows("SELECT ack1, ack5, muh1, muh5, faiz, tolerans, fisno FROM ayar", "dalun.dat");
        return r.size() == 1 ? joined(r[0]) : QString::number(r.size()) + " rows";
    }
    printing::PrintContext print{session};
    ScreenContext desk{session};
};

TEST_F(SettingsScreen, FirstSaveAddsTheRowAndTheCashDeskProposesTheNextReceipt) {
    koopayar w(desk, print);
    open(w);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(part<xtext>(w, QStringLiteral("alan%1").arg(i).toLatin1().constData())->Text(),
                  QString())
            << i;
    type(w, 0, u"Aidat"_s);
    part<xtext>(w, "alan4")->setTextValue(u"Demirbaş"_s); // keyClicks types ASCII only
    type(w, 8, u"600.01"_s);
    type(w, 12, u"600.05"_s);
    type(w, 5, u"2.5"_s);
    type(w, 6, u"10"_s);
    type(w, 7, u"100"_s);
    type(w, 13, u"642.01"_s); // locked: nothing to store it in
    QTest::keyClick(part<xtext>(w, "alan7"), Qt::Key_F5);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(stored(), u"Aidat|Demirbaş|600.01|600.05|2.5|10|100"_s);
    EXPECT_EQ(collection::openCollection(session).receiptNo, 101);
    EXPECT_TRUE(messages.boxes.empty()) << texts().join(';').toStdString();
}

TEST_F(SettingsScreen, EscAndVazgecLeaveWithoutWriting) {
    addSettings(41);
    for (bool esc : {true, false}) {
        koopayar w(desk, print);
        open(w);
        EXPECT_EQ(part<xtext>(w, "alan7")->Value().toInt(), 41);
        type(w, 7, u"99"_s);
        if (esc)
            QTest::keyClick(part<xtext>(w, "alan7"), Qt::Key_Escape);
        else
            QTest::mouseClick(part<QPushButton>(w, "vazgec"), Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 41);
    }
}

TEST_F(SettingsScreen, CommandLineStoresWithTheFieldsLimits) {
    const QString folder = company.folder();
    ProcessResult r = runProgram("koop-cli", {"settings", folder, "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["kayitli"], false);

    struct Case {
        QString set;
        QString message;
    } bad[] = {
        {u"ack1="_s + QString(21, u'x'), u"ack1 en çok 20 karakter"_s},
        {u"muh2="_s + QString(16, u'1'), u"muh2 en çok 15 karakter"_s},
        {u"faiz=99.01"_s, u"faiz 0 ile 99"_s},
        {u"faiz=1.255"_s, u"faiz 0 ile 99"_s},
        {u"faiz=-1"_s, u"faiz 0 ile 99"_s},
        {u"tolerans=100000"_s, u"tolerans 0 ile 99999"_s},
        {u"fisno=1e3"_s, u"fisno 0 ile 9999999"_s},
        {u"fisno=10000000"_s, u"fisno 0 ile 9999999"_s},
        {u"oran=5"_s, u"Bilinmeyen ayar: oran"_s},
    };
    for (const Case &c : bad) {
        r = runProgram("koop-cli", {"settings", folder, "--set", "fisno=7", "--set", c.set});
        EXPECT_EQ(r.exitCode, 1) << c.set.toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << c.set.toStdString() << r.messages.join(';').toStdString();
    }
    EXPECT_EQ(stored(), u"0 rows"_s);
    r = runProgram("koop-cli", {"settings", folder, "--set", "=5"});
    EXPECT_EQ(r.exitCode, 2);

    r = runProgram("koop-cli", {"settings", folder, "--set", "ack5=Demirbaş", "--set", "faiz=99",
                                "--set", "fisno=100", "--set", "muh1=100'%"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(stored(), u"|Demirbaş|100'%||99|0|100"_s);
    EXPECT_TRUE(r.out.contains(u"Fiş No         : 100"_s)) << r.out.toStdString();
}

// Two desks: what the settings screen opened with is not written back over
// what happened meanwhile, and no receipt number is taken back.
TEST_F(SettingsScreen, SavesOnlyWhatTheClerkChangedAndNeverMovesTheReceiptNumberBack) {
    addSettings(41);
    addCard(u"0346"_s);
    const auto loaded = settingsform::load(session);
    ASSERT_TRUE(loaded);
    // Another desk takes a collection with receipt 42 and changes the rate.
    ASSERT_TRUE(collection::collect(session, collection::openCollection(session), u"0346"_s,
                                    u"Ayşe"_s, Money::fromWhole(10), u"AİDAT"_s)
                    .committed);
    const auto other = settingsform::load(session);
    data::Settings rate = *other;
    rate.faiz = 4;
    ASSERT_TRUE(settingsform::save(session, other, rate));

    data::Settings edited = *loaded;
    edited.ack[0] = u"Aidat"_s;
    edited.fisno = 100;
    messages.boxes.clear();
    EXPECT_FALSE(settingsform::save(session, loaded, edited));
    EXPECT_EQ(texts(), QStringList{u"Fiş No kaydedilmedi: bu arada başka bir masada makbuz verildi "
                                   "(son makbuz 42).\nDiğer ayarlar kaydedildi."_s});
    EXPECT_EQ(stored(), u"Aidat||||4|0|42"_s);

    const auto again = settingsform::load(session);
    edited = *again;
    for (const auto &[fisno, ok] : {std::pair{41, false}, std::pair{100, true}}) {
        edited.fisno = fisno;
        EXPECT_EQ(settingsform::save(session, again, edited), ok) << fisno;
    }
    EXPECT_EQ(collection::openCollection(session).receiptNo, 101);
    // The numbers passed over are recorded as never to be issued, so the
    // check finds every number from the first receipt to the last explained.
    std::vector<data::UnusedReceipts> unused;
    ASSERT_TRUE(data::readUnusedReceipts(session.koop, &unused));
    ASSERT_EQ(unused.size(), 1u);
    EXPECT_EQ(QString("%1-%2 %3").arg(unused[0].first).arg(unused[0].last).arg(unused[0].reason),
              u"43-100 Fiş No ayarlarda 42 iken 100 yapıldı"_s);
    ASSERT_TRUE(collection::collect(session, collection::openCollection(session), u"0346"_s,
                                    u"Ayşe"_s, Money::fromWhole(10), u"AİDAT"_s)
                    .committed);
    const ProcessResult r = runProgram("koop-cli", {"check", company.folder()});
    EXPECT_EQ(r.out, u"Sorun yok.\n"_s) << r.out.toStdString();
}

} // namespace
