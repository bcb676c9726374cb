// "Üye Kartları" (uye) and its action on a temporary company: a code is
// unique and a card with rows keeps its code and its place; the screen from
// the keyboard; a card added on the command line in the lists and the lookup.
#include "actions/members/memberaction.h"
#include "controls/dclist.h"
#include "controls/pencere.h"
#include "controls/xtext.h"
#include "data/prices.h"
#include "gui/screencontext.h"
#include "screens/members/uye.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

using namespace Qt::StringLiterals;

class MemberCards : public SessionTest {
  protected:
    MemberCards() { session.pictures = false; }
    members::Card card(const QString &kod, const QString &name) {
        members::Card c;
        c.set(u"kod"_s, kod);
        c.set(u"isim1"_s, name);
        c.set(u"asd"_s, u"0"_s);
        return c;
    }
    QString stored(const QString &kod) {
        const auto r = rows("SELECT kod, isim1, coalesce(grp, ''), asd, coalesce(borc1, 0) FROM "
                            "carkart WHERE kod = '" +
                            kod + "'");
        return r.size() == 1 ? joined(r[0]) : QString::number(r.size()) + " rows";
    }
    printing::PrintContext print{session};
    ScreenContext desk{session};
};

TEST_F(MemberCards, ACodeIsUniqueAndACardWithRowsKeepsItsCodeAndItsPlace) {
    ASSERT_TRUE(members::add(session, card(u"0100"_s, u"Şükrü Öztürk"_s)));
    EXPECT_EQ(stored(u"0100"_s), u"0100|Şükrü Öztürk||0|0"_s);

    // Whatever a field would not take stores nothing and says why.
    const struct {
        const char *field;
        QString value;
        QString refusal;
    } bad[] = {
        {"kod", u"0100"_s, u"Bu kodla bir kart zaten var: 0100"_s},
        {"kod", QString(), u"Kod boş olamaz."_s},
        {"kod", u" 0101"_s, u"Kod boşlukla başlayamaz ya da bitemez: ' 0101'"_s},
        {"isim1", QString(51, u'ş'), u"isim1 en çok 50 karakter alır: "_s},
        {"asd", u"3"_s, u"asd 0 (üye), 1 (satıcı) ya da 2 (diğer) olmalı: 3"_s},
        {"grp", QString(QChar(0xD800)), u"grp geçersiz karakter içeriyor."_s},
    };
    for (const auto &b : bad) {
        members::Card c = card(u"0101"_s, u"Ali"_s);
        c.set(QString::fromLatin1(b.field), b.value);
        messages.boxes.clear();
        EXPECT_FALSE(members::add(session, c)) << b.field;
        EXPECT_TRUE(messages.lastText().startsWith(b.refusal)) << messages.lastText().toStdString();
    }
    EXPECT_EQ(count("carkart"), 1);

    // A change stores what the clerk changed, over what another desk did.
    const members::Card loaded = *members::read(session, u"0100"_s);
    data::FieldSet(session.carkart, "grp", u"B"_s);
    ASSERT_TRUE(data::RsEdit(session.carkart));
    data::FieldSet(session.carkart, "grp", u"B"_s);
    ASSERT_TRUE(data::RsUpdate(session.carkart));
    members::Card edited = loaded;
    edited.set(u"isim1"_s, u"Şükrü Ali Öztürk"_s);
    ASSERT_TRUE(members::change(session, loaded, edited));
    EXPECT_EQ(stored(u"0100"_s), u"0100|Şükrü Ali Öztürk|B|0|0"_s);

    // A card without rows takes a new code, and its dues prices go with it.
    ASSERT_TRUE(data::storePrices(session.fiat, u"0100"_s, {Money::fromWhole(150)}));
    members::Card moved = *members::read(session, u"0100"_s);
    moved.set(u"kod"_s, u"0102"_s);
    ASSERT_TRUE(members::change(session, *members::read(session, u"0100"_s), moved));
    EXPECT_EQ(stored(u"0102"_s), u"0102|Şükrü Ali Öztürk|B|0|0"_s);
    EXPECT_EQ(value("SELECT cari FROM fiat", "dalun.dat").toString(), u"0102"_s);

    // With a row in the ledger the code and the card stay.
    addLedgerItem(u"0102"_s, today, today, 0, 4, "100", u"Aidat"_s);
    moved.set(u"kod"_s, u"0103"_s);
    EXPECT_FALSE(members::change(session, *members::read(session, u"0102"_s), moved));
    EXPECT_EQ(messages.lastText(), u"0102 kodu değiştirilemez: kartın 1 hareketi var."_s);
    EXPECT_FALSE(members::remove(session, u"0102"_s));
    EXPECT_EQ(messages.lastText(), u"0102 kodlu kart silinemez: kartın 1 hareketi var."_s);
    EXPECT_EQ(stored(u"0102"_s), u"0102|Şükrü Ali Öztürk|B|0|0"_s);

    // Without any, the card goes, and its prices with it.
    ASSERT_TRUE(members::add(session, card(u"0104"_s, u"Deniz Ak"_s)));
    ASSERT_TRUE(data::storePrices(session.fiat, u"0104"_s, {Money::fromWhole(90)}));
    ASSERT_TRUE(members::remove(session, u"0104"_s));
    EXPECT_EQ(stored(u"0104"_s), u"0 rows"_s);
    EXPECT_EQ(value("SELECT count(*) FROM fiat WHERE cari = '0104'", "dalun.dat").toInt(), 0);
}

TEST_F(MemberCards, TheScreenFromTheKeyboard) {
    addCard(u"0001"_s, u"Ayşe Yılmaz"_s);
    addLedgerItem(u"0001"_s, today, today, 0, 4, "100", u"Aidat"_s);
    uye w(desk, print);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *kod = part<xtext>(w, "kod");
    auto *name = part<xtext>(w, "isim1");
    auto *list = part<dclist>(w, "liste");
    EXPECT_EQ(list->ListCount(), 1);

    // A code typed and left brings its card up; its code is locked by its row.
    kod->setFocus();
    QTest::keyClicks(kod, "0001");
    QTest::keyClick(kod, Qt::Key_Return);
    EXPECT_EQ(name->Text(), u"Ayşe Yılmaz"_s);
    EXPECT_TRUE(name->hasFocus());
    EXPECT_EQ(part<QLabel>(w, "durum")->text(),
              u"Kartın 1 hareketi var: kodu değiştirilemez, kart silinemez."_s);
    name->setTextValue(u"Ayşe Kaya"_s);
    part<QComboBox>(w, "asd")->setCurrentIndex(2);
    QTest::keyClick(name, Qt::Key_F5);
    EXPECT_EQ(stored(u"0001"_s), u"0001|Ayşe Kaya||2|0"_s);
    EXPECT_TRUE(messages.boxes.empty()) << texts().join(';').toStdString();

    // F3: a new card, in the list at once.
    QTest::keyClick(name, Qt::Key_F3);
    EXPECT_TRUE(kod->hasFocus());
    EXPECT_EQ(name->Text(), QString());
    QTest::keyClicks(kod, "0002");
    QTest::keyClick(kod, Qt::Key_Return);
    EXPECT_EQ(part<QLabel>(w, "durum")->text(), u"Yeni kart: 0002"_s);
    QTest::keyClicks(name, "Deniz Ak");
    QTest::keyClick(name, Qt::Key_F5);
    EXPECT_EQ(stored(u"0002"_s), u"0002|Deniz Ak||0|0"_s);
    EXPECT_EQ(list->ListCount(), 2);

    // F8 asks first, "Hayır" by default; a card with rows is not deleted.
    QTest::keyClick(name, Qt::Key_F8);
    EXPECT_EQ(messages.lastText(), u"0002 kodlu kart silinsin mi?"_s);
    EXPECT_EQ(count("carkart"), 2);
    messages.answers = {true};
    QTest::keyClick(name, Qt::Key_F8);
    EXPECT_EQ(count("carkart"), 1);
    EXPECT_EQ(list->ListCount(), 1);
    w.bringUp(u"0001"_s);
    messages.answers = {true};
    QTest::keyClick(name, Qt::Key_F8);
    EXPECT_EQ(messages.lastText(), u"0001 kodlu kart silinemez: kartın 1 hareketi var."_s);
    EXPECT_EQ(count("carkart"), 1);
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

// A card added on the command line is a member like any other: the lookup
// window finds it by name, the general list and the labels list it.
TEST_F(MemberCards, ACardAddedOnTheCommandLineIsInEveryListAndTheLookup) {
    closeFiles(session);
    const QString dir = company.folder();
    ProcessResult r = runProgram("koop-cli", {"member", dir, "add", "0350", "--isim1", "Işıl Çınar",
                                              "--adr1", "Gül Sok. 5", "--grp", "A"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runProgram("koop-cli", {"member", dir, "show", "0350", "--format", "json"});
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8())["isim1"].toString(), u"Işıl Çınar"_s);
    r = runProgram("koop-cli", {"general-list", dir, "--date", "31.12.2026", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"Işıl Çınar"_s)) << r.out.toStdString();
    const QString labels = company.root() + "/etiket.txt";
    r = runProgram("koop-cli", {"labels", dir, "--out", labels});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), u"1"_s);

    ASSERT_TRUE(startup::openCompanyFolder(session, dir));
    QString chosen;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<pencere *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        window->ComboBox1()->setCurrentIndex(1); // by name
        window->TextBox1()->insert(u"ışıl"_s);
        ASSERT_EQ(window->dclist1()->ListCount(), 1);
        window->dclist1()->setFocus();
        window->dclist1()->ChngSat(0);
        QTest::keyClick(window->dclist1(), Qt::Key_Return);
    });
    chosen = pencere::choose(desk, nullptr);
    EXPECT_EQ(chosen, u"0350"_s);
}

} // namespace
