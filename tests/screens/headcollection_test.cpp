// Collection by dues head (ytahsil) on a temporary company: the balances it
// reads per head, the rows one collection leaves, the screen from the
// keyboard, and its command lines.
#include "actions/headcollection/headcollectionaction.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/pdftext.h"
#include "screens/collection/makbuziptal.h"
#include "screens/headcollection/ytahsil.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using namespace Qt::StringLiterals;

Money tl(const char *text) {
    return *Money::parse(QString::fromLatin1(text));
}

class HeadCollection : public SessionTest {
  protected:
    HeadCollection() {
        session.tlonda = 2;
        session.pictures = false;
        today = QDate(2024, 2, 15);
        addCard(u"0346"_s, u"Ayşe Yılmaz"_s);
        // Head 2: 300 owed, 100 paid by the end of February; March is later.
        addItem({2024, 1, 1}, 0, "300", u"2"_s);
        addItem({2024, 2, 10}, 1, "100", u"2"_s);
        addItem({2024, 2, 29}, 0, "10", u"01"_s);
        addItem({2024, 3, 1}, 0, "50", u"2"_s);
        // Not a dues head: a plain collection, and sub-accounts 0 and 7.
        addItem({2024, 1, 5}, 1, "40", QString());
        addItem({2024, 1, 5}, 0, "70", u"7"_s);
        addItem({2024, 1, 5}, 0, "80", u"0"_s);
    }
    void addItem(const QDate &date, int ba, const char *amount, const QString &kod1) {
        addLedgerItem(u"0346"_s, date, date, ba, ba ? 1 : 4, amount, u"x"_s, {}, kod1);
    }
    void addCaptions(int fisno = 41) {
        data::Settings s;
        s.ack = {u"Aidat"_s, u"Yakıt"_s, u"Su"_s, u"Otopark"_s, u"Demirbaş"_s};
        s.fisno = fisno;
        ASSERT_TRUE(data::storeSettings(session.ayar, s));
    }
    headcollection::Collection collection(const char *h1, const char *h4) {
        headcollection::Collection c{.kod = u"0346"_s,
                                     .name = u"Ayşe Yılmaz"_s,
                                     .date = today,
                                     .receiptNo = 42,
                                     .captions = headcollection::open(session).captions,
                                     .amounts = {}};
        c.amounts[0] = tl(h1);
        c.amounts[3] = tl(h4);
        return c;
    }
    printing::PrintContext print{session};
    ScreenContext desk{session};
};

TEST_F(HeadCollection, BalancesCountEachHeadUpToTheEndOfTheMonth) {
    const auto at = [&](int y, int m, int d) {
        return headcollection::balances(session, u" 0346 "_s, QDate(y, m, d)).value();
    };
    const headcollection::HeadAmounts feb = at(2024, 2, 15);
    EXPECT_EQ(feb, (headcollection::HeadAmounts{tl("10"), tl("200"), {}, {}, {}}));
    EXPECT_EQ(headcollection::total(feb), tl("210"));
    EXPECT_EQ(at(2024, 3, 1)[1], tl("250"));
    // 28 February 2023 ends February 2023: nothing was owed yet.
    EXPECT_EQ(at(2023, 2, 15), headcollection::HeadAmounts{});
    EXPECT_EQ(headcollection::balances(session, u"0'3%"_s, today).value(),
              headcollection::HeadAmounts{});
}

TEST_F(HeadCollection, OneCashRowForThePaymentAndOneCreditPerHead) {
    addCaptions();
    writeCashBoxCode();
    // Twice: the receipt number stays, since only the cash desk advances it.
    ASSERT_TRUE(headcollection::post(session, collection("50", "25")));
    ASSERT_TRUE(headcollection::post(session, collection("0", "10.5")));
    QStringList cash;
    for (const auto &r : rows("SELECT carkod, evrak, ack, ba, tutar, kasa, tarih, kod1 FROM kasa "
                              "ORDER BY id"))
        cash << joined(r);
    EXPECT_EQ(cash, (QStringList{"0346|42|Ayşe Yılmaz Tahsilat|0|750000|1|45337|",
                                 "0346|42|Ayşe Yılmaz Tahsilat|0|105000|1|45337|"}));
    QStringList ledger;
    for (const auto &r :
         rows("SELECT kod, islem, evrak, ba, tutar, ack, kod1, doviz, kasa, "
              "CASE WHEN vade = tarih THEN 1 END FROM carhar WHERE evrak = '42' ORDER BY id"))
        ledger << joined(r);
    EXPECT_EQ(ledger, (QStringList{"0346|1|42|1|500000|Aidat Tahsilatı|1|0|1|1",
                                   "0346|1|42|1|250000|Otopark Tahsilatı|4|0|1|1",
                                   "0346|1|42|1|105000|Otopark Tahsilatı|4|0|1|1"}));
    EXPECT_EQ(value("SELECT count(DISTINCT refer) FROM (SELECT refer FROM kasa UNION ALL "
                    "SELECT refer FROM carhar WHERE evrak = '42') AS r")
                  .toInt(),
              5);
    EXPECT_EQ(count("ent"), 0);
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 41);
    EXPECT_EQ(value("SELECT borc1 FROM carkart").toLongLong(), 0);
    // The cash-box day file is the cash desk's alone.
    QFile day(session.companyFile("kasa1.dat"));
    EXPECT_EQ(day.size(), 32);
}

TEST_F(HeadCollection, ScreenShowsTheHeadsAndPostsAfterTheWarning) {
    addCaptions();
    ytahsil w(desk, print);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(part<QLabel>(w, "makbuzNo")->text(), u"42"_s);
    EXPECT_EQ(part<xtext>(w, "tarih")->Text(), u"15.02.2024"_s);

    xtext *kod = part<xtext>(w, "kod");
    kod->setFocus();
    QTest::keyClicks(kod, u"0'3%"_s);
    QTest::keyClick(kod, Qt::Key_Return);
    EXPECT_EQ(kod->Text(), QString()); // no card: the code is emptied
    // ...and no cash is taken for nobody.
    QTest::keyClicks(part<xtext>(w, "tutar1"), u"5"_s);
    QTest::mouseClick(part<QPushButton>(w, "tamam"), Qt::LeftButton);
    EXPECT_EQ(texts(), QStringList{u"Cari Hesabı Bulunamadı"_s});
    EXPECT_EQ(count("kasa"), 0);
    messages.boxes.clear();
    part<xtext>(w, "tutar1")->setTextValue(QString());
    kod->setFocus();
    QTest::keyClicks(kod, u" 0346"_s);
    QTest::keyClick(kod, Qt::Key_Return);
    EXPECT_EQ(kod->Text(), u"0346"_s);
    EXPECT_EQ(part<QLabel>(w, "isim1")->text(), u"Ayşe Yılmaz"_s);
    EXPECT_EQ(part<QLabel>(w, "bakiye2")->text(), u"200.00"_s);
    EXPECT_EQ(part<QLabel>(w, "bakiye3")->text(), QString());
    EXPECT_EQ(part<QLabel>(w, "bakiyeToplam")->text(), u"210.00"_s);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // past the date
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // head 1 stays empty
    ASSERT_EQ(QApplication::focusWidget(), part<xtext>(w, "tutar2"));
    QTest::keyClicks(part<xtext>(w, "tutar2"), u"250"_s);
    EXPECT_EQ(part<QLabel>(w, "toplam")->text(), u"250.00"_s);

    // Enter on the focused "Tamam", as down the fields.
    messages.answers = {true, false};
    part<QPushButton>(w, "tamam")->setFocus();
    QTest::keyClick(part<QPushButton>(w, "tamam"), Qt::Key_Return);
    ASSERT_EQ(messages.boxes.size(), 3u) << texts().join(';').toStdString();
    EXPECT_EQ(messages.boxes[0].title, u"korvane"_s);
    EXPECT_EQ(messages.boxes[0].text, u"Yakıt borcundan daha büyük tahsilat yapılıyor"_s);
    EXPECT_EQ(messages.boxes[1].title, u"korvane"_s);
    EXPECT_EQ(messages.boxes[1].text, u"Kayıt Yapılacak Eminmisiniz"_s);
    EXPECT_EQ(messages.boxes[2].text, u"Makbuz Yazıcıya Yazdırılsın ?"_s);
    EXPECT_EQ(value("SELECT tutar FROM kasa").toLongLong(), 2500000);
    EXPECT_EQ(value("SELECT kod1 FROM carhar WHERE islem = 1 AND evrak = '42'").toString(), "2");

    // The member stays with the new balances; the amounts are gone, so a
    // second key press posts nothing again.
    EXPECT_EQ(kod->Text(), u"0346"_s);
    EXPECT_EQ(part<QLabel>(w, "bakiye2")->text(), u"-50.00"_s);
    EXPECT_EQ(part<xtext>(w, "tutar2")->Text(), QString());
    EXPECT_EQ(part<QLabel>(w, "toplam")->text(), QString());
    // (Only the warning of a head now below 0: nothing is asked or posted.)
    QTest::keyClick(part<QPushButton>(w, "tamam"), Qt::Key_Space);
    EXPECT_EQ(texts().size(), 4);
    EXPECT_EQ(messages.lastText(), u"Yakıt borcundan daha büyük tahsilat yapılıyor"_s);
    EXPECT_EQ(count("kasa"), 1);

    // Its receipt voided from here by number: the heads' balances come back.
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<makbuziptal *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        opened = true;
        auto *number = dialog->findChild<xtext *>(u"makbuzNo"_s);
        QTest::keyClicks(number, u"42"_s);
        EXPECT_EQ(dialog->findChild<QLabel *>(u"tutar"_s)->text(), u"250.00"_s);
        QTest::keyClicks(dialog->findChild<xtext *>(u"neden"_s), u"Yanlis kalem"_s);
        messages.answers = {true};
        dialog->findChild<QPushButton *>(u"iptalEt"_s)->click();
    });
    part<QPushButton>(w, "iptal")->click();
    ASSERT_TRUE(opened);
    EXPECT_EQ(messages.lastText(), u"42 numaralı makbuz iptal edildi."_s);
    EXPECT_EQ(part<QLabel>(w, "bakiye2")->text(), u"200.00"_s);
    QApplication::setActiveWindow(&w);

    // An emptied code lets go of the member and its balances.
    kod->setFocus();
    kod->selectAll();
    QTest::keyClick(kod, Qt::Key_Delete);
    QTest::keyClick(kod, Qt::Key_Return);
    EXPECT_EQ(part<QLabel>(w, "isim1")->text(), QString());
    EXPECT_EQ(part<QLabel>(w, "bakiye2")->text(), QString());
}

TEST_F(HeadCollection, WithoutSettingsTheReceiptNumberIsZero) {
    ytahsil w(desk, print);
    EXPECT_EQ(texts(), QStringList{u"Ayarlar Yapılmamış..."_s});
    EXPECT_EQ(part<QLabel>(w, "makbuzNo")->text(), u"0"_s);
}

TEST_F(HeadCollection, CommandLines) {
    addCaptions();
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlnick", "TL", false, 0));
    ProcessResult r = runProgram("koop-cli", {"head-balances", company.folder(), "0346", "--date",
                                              "15.02.2024", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(doc["isim1"].toString(), u"Ayşe Yılmaz"_s);
    EXPECT_EQ(doc["toplam"].toString(), u"210.00"_s);
    EXPECT_EQ(doc["heads"].toArray()[1].toObject(),
              (QJsonObject{{"no", 2}, {"ack", u"Yakıt"_s}, {"bakiye", u"200.00"_s}}));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"makbuz.pdf"_s);
    r = runProgram("koop-cli", {"collect-heads", company.folder(), "0346", "--date", "15.02.2024",
                                "--amounts", "10,,,25,0", "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, u"42\n"_s);
    EXPECT_EQ(r.messages, QStringList{u"korvane|warning|Otopark borcundan daha büyük tahsilat "
                                      "yapılıyor"_s});
    // The heads paid in the description's place, the total, and what is
    // left of the statement's balance at the date (450 charged less 140 paid
    // by 15.02, no surcharge), as the desk's receipt says it.
    const QString text = pdfLayoutText(pdf);
    for (const char *shown : {"Aidat", "10.00", "Otopark", "25.00", "35.00", "275.00"})
        EXPECT_EQ(text.count(QString::fromUtf8(shown)), 2) << shown << text.toStdString();

    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    } bad[] = {
        {{"0346", "--date", "15.02.2024", "--amounts", "0,0,0,0,0"}, 1, "sıfırdan büyük"},
        {{"0346", "--date", "15.02.2024", "--amounts", "5,5"}, 1, "beş tutar"},
        {{"0346", "--date", "15.02.2024", "--amounts", "-5,0,0,0,0"}, 1, "beş tutar"},
        {{"0346", "--date", "15.02.2024", "--amounts", "1.234,0,0,0,0"}, 1, "beş tutar"},
        {{"0346", "--date", "15.02.2024", "--amounts", "10000000000,0,0,0,0"}, 1, "beş tutar"},
        {{"0'3%", "--date", "15.02.2024", "--amounts", "5,0,0,0,0"}, 1, "üye kartı yok"},
        {{"0346", "--date", "31.02.2024", "--amounts", "5,0,0,0,0"}, 2, "--date GG.AA.YYYY"},
        {{"0346", "--amounts", "5,0,0,0,0"}, 2, "Kullanım"},
    };
    for (const Case &c : bad) {
        r = runProgram("koop-cli", QStringList{"collect-heads", company.folder()} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
    EXPECT_EQ(count("kasa"), 1);
}

} // namespace
