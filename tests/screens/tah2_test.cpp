// The collection desk from the keyboard: a member's statement, the reprint
// selection, a cash collection over it and the statement seen again.
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "posting/fixture.h"
#include "screens/collection/kastah.h"
#include "screens/kit/statementgrid.h"
#include "screens/statement/tah2.h"
#include "startup/base/daynumber.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

using namespace Qt::StringLiterals;

class Tah2 : public SessionTest {
  protected:
    Tah2() {
        session.tlonda = 2;
        session.pictures = false;
        addCard(u"0346"_s, u"Ayşe Yılmaz"_s);
        today = QDate(2024, 5, 10);
        item({2024, 1, 15}, 0, 4, "100", u"Ocak"_s);
        item({2024, 2, 15}, 0, 4, "100", u"Şubat"_s);
        item({2024, 3, 20}, 1, 1, "150", u"Tahsilat"_s, u"42"_s);
    }
    void item(const QDate &date, int ba, int islem, const char *amount, const QString &ack,
              const QString &evrak = {}) {
        QSqlQuery q(session.data.sql());
        q.prepare("INSERT INTO carhar (kod, tarih, islem, evrak, vade, ba, tutar, ack) "
                  "VALUES ('0346', ?, ?, ?, ?, ?, ?, ?)");
        for (const QVariant &v :
             {QVariant(qlonglong(dayNumber(date))), QVariant(islem), QVariant(evrak),
              QVariant(qlonglong(dayNumber(date))), QVariant(ba),
              QVariant(qlonglong(Money::parse(amount)->units())), QVariant(ack)})
            q.addBindValue(v);
        ASSERT_TRUE(q.exec());
    }
    void settings(double faiz, int fisno) {
        ASSERT_TRUE(data::RsAddNew(session.ayar));
        data::FieldSet(session.ayar, "faiz", faiz);
        data::FieldSet(session.ayar, "fisno", fisno);
        ASSERT_TRUE(data::RsUpdate(session.ayar));
    }
    // Types the code and enters the grid, as the clerk does.
    void openStatement(tah2 &w, const QString &kod) {
        w.show();
        // Focus events need the active window.
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        part<xtext>(w, "kod")->setFocus();
        QTest::keyClicks(part<xtext>(w, "kod"), kod);
        part<dclist>(w, "liste")->setFocus();
    }
    static QStringList column(const tah2 &w, int col) {
        QStringList out;
        for (int r = 0; r < part<dclist>(w, "liste")->ListCount(); ++r)
            out << part<dclist>(w, "liste")->Caption(r, col).toString();
        return out;
    }
};

TEST_F(Tah2, EnteringTheGridShowsTheStatementUpToTheDate) {
    settings(2.0, 41);
    tah2 w(session);
    EXPECT_EQ(part<xtext>(w, "tarih")->Text(), u"10.05.2024"_s);
    EXPECT_EQ(part<xtext>(w, "fisno")->Value().toInt(), 42);
    EXPECT_FALSE(part<dclist>(w, "liste")->isEnabled());
    openStatement(w, u"0346"_s);
    EXPECT_TRUE(part<QLabel>(w, "unvan")->text().startsWith(u"Ayşe Yılmaz"_s));
    EXPECT_EQ(column(w, screenkit::Ack),
              (QStringList{"Ocak", "Şubat", "Tahsilat", "****Son Bakiye****"}));
    EXPECT_EQ(w.finalBalance(), *Money::parse(u"58.24"_s));
    EXPECT_EQ(part<dclist>(w, "liste")->CurSat(), 3); // the closing row in view

    // Another date: entering the grid again recomputes.
    part<xtext>(w, "tarih")->setFocus();
    part<xtext>(w, "tarih")->setTextValue(u"20.03.2024"_s);
    part<dclist>(w, "liste")->setFocus();
    EXPECT_EQ(w.finalBalance(), *Money::parse(u"56.00"_s));
}

TEST_F(Tah2, CursorOnACollectionSelectsItsReceiptForACopy) {
    settings(2.0, 41);
    tah2 w(session);
    openStatement(w, u"0346"_s);
    part<dclist>(w, "liste")->ChngSat(2);
    EXPECT_TRUE(part<QPushButton>(w, "kopya")->isEnabled());
    EXPECT_EQ(session.reprint.receiptNo, u"42"_s);
    EXPECT_EQ(session.reprint.amount, Money::fromWhole(150));
    EXPECT_EQ(session.reprint.description, u"Tahsilat"_s);
    EXPECT_EQ(session.reprint.date, u"20.03.2024"_s);
    part<dclist>(w, "liste")->ChngSat(0);
    EXPECT_FALSE(part<QPushButton>(w, "kopya")->isEnabled());
    EXPECT_EQ(session.reprint.receiptNo, QString());
    EXPECT_EQ(session.reprint.amount, Money());
}

TEST_F(Tah2, F5TakesACollectionThatTheStatementThenShows) {
    settings(2.0, 41);
    tah2 w(session);
    openStatement(w, u"0346"_s);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto *cash = qobject_cast<kastah *>(QApplication::activeModalWidget());
        ASSERT_NE(cash, nullptr);
        opened = true;
        EXPECT_FALSE(cash->copyMode());
        EXPECT_EQ(cash->findChild<QLabel *>(u"bakiye"_s)->text(), u"58.24"_s);
        auto *amount = cash->findChild<xtext *>(u"tutar"_s);
        amount->setFocus();
        QTest::keyClicks(amount, u"58"_s);
        cash->findChild<QPushButton *>(u"tamam"_s)->click();
    });
    QTest::keyClick(part<dclist>(w, "liste"), Qt::Key_F5);
    ASSERT_TRUE(opened);
    EXPECT_EQ(value("SELECT count(*) FROM kasa WHERE carkod='0346' AND evrak='42'").toInt(), 1);

    QApplication::setActiveWindow(&w);
    part<xtext>(w, "kod")->setFocus();
    part<dclist>(w, "liste")->setFocus();
    EXPECT_EQ(column(w, screenkit::Ack).size(), 5);
    EXPECT_EQ(w.finalBalance(), *Money::parse(u"0.24"_s));
}

TEST_F(Tah2, BadDateOrUnknownMemberComputesNothing) {
    settings(2.0, 41);
    tah2 w(session);
    openStatement(w, u"0346"_s);
    part<xtext>(w, "tarih")->setFocus();
    part<xtext>(w, "tarih")->setTextValue(u"31.02.2024"_s);
    part<dclist>(w, "liste")->setFocus();
    EXPECT_EQ(messages.lastText(), u"Hatalı İşlem Tarihi..."_s);
    EXPECT_EQ(column(w, screenkit::Ack).size(), 4); // unchanged

    part<xtext>(w, "kod")->setFocus();
    part<xtext>(w, "kod")->setTextValue(u"9999"_s);
    EXPECT_FALSE(part<dclist>(w, "liste")->isEnabled());
    EXPECT_TRUE(part<QLabel>(w, "unvan")->text().isEmpty());
    w.collect(); // no card: nothing opens
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Tah2, NoSettingsRowSaysSoAndChargesNoSurcharge) {
    tah2 w(session);
    EXPECT_EQ(messages.lastText(), u"Ayarlar Yapılmamış..."_s);
    openStatement(w, u"0346"_s);
    EXPECT_EQ(w.finalBalance(), Money::fromWhole(50));
}

TEST_F(Tah2, RightClickAsksBeforePrintingFromThatRow) {
    settings(2.0, 41);
    tah2 w(session);
    openStatement(w, u"0346"_s);
    messages.answers = {false};
    emit part<dclist>(w, "liste")->MouseDown(2, 0, 1);
    ASSERT_FALSE(messages.boxes.empty());
    EXPECT_EQ(messages.boxes.back().title, u"korvane"_s);
    EXPECT_EQ(messages.boxes.back().text, u"Bulunduğunuz Satırdan itibaren yazdırılsın?"_s);
}

} // namespace
