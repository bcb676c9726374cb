// A member's statement over a ledger written straight into the stored layout,
// as the accounting suite would leave it: the collection desk (tah2) from the
// keyboard, with its reprint selection and a cash collection over it; what the
// statement action reads; and the command line's statement.
#include "actions/generallist/generallistaction.h"
#include "actions/statement/statementaction.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/collection/iptaller.h"
#include "screens/collection/kastah.h"
#include "screens/collection/makbuziptal.h"
#include "screens/kit/statementgrid.h"
#include "screens/statement/tah2.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

using namespace Qt::StringLiterals;

// Two months' dues and a cash collection of 150 with receipt 42.
class MemberStatement : public SessionTest {
  protected:
    MemberStatement() {
        session.tlonda = 2;
        session.pictures = false;
        addCard(u"0346"_s, u"Ayşe Yılmaz"_s);
        today = QDate(2024, 5, 10);
        addLedgerItem(u"0346"_s, {2024, 1, 15}, {2024, 1, 15}, 0, 4, "100", u"Ocak"_s);
        addLedgerItem(u"0346"_s, {2024, 2, 15}, {2024, 2, 15}, 0, 4, "100", u"Şubat"_s);
        addLedgerItem(u"0346"_s, {2024, 3, 20}, {2024, 3, 20}, 1, 1, "150", u"Tahsilat"_s, u"42"_s);
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
    static QString cell(const std::optional<Money> &m) { return m ? plainAmount(*m, 2) : "-"; }
    static QStringList column(const tah2 &w, int col) {
        QStringList out;
        for (int r = 0; r < part<dclist>(w, "liste")->ListCount(); ++r)
            out << part<dclist>(w, "liste")->Caption(r, col).toString();
        return out;
    }
    printing::PrintContext print{session};
    ScreenContext desk{session};
};

TEST_F(MemberStatement, EnteringTheGridShowsTheStatementUpToTheDate) {
    addSettings(41, 2.0);
    tah2 w(desk, print);
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

TEST_F(MemberStatement, CursorOnACollectionSelectsItsReceiptForACopy) {
    addSettings(41, 2.0);
    tah2 w(desk, print);
    openStatement(w, u"0346"_s);
    part<dclist>(w, "liste")->ChngSat(2);
    EXPECT_TRUE(part<QPushButton>(w, "kopya")->isEnabled());
    ASSERT_TRUE(w.selectedReceipt());
    EXPECT_EQ(w.selectedReceipt()->receiptNo, u"42"_s);
    EXPECT_EQ(w.selectedReceipt()->amount, Money::fromWhole(150));
    EXPECT_EQ(w.selectedReceipt()->description, u"Tahsilat"_s);
    EXPECT_EQ(w.selectedReceipt()->date, u"20.03.2024"_s);
    part<dclist>(w, "liste")->ChngSat(0);
    EXPECT_FALSE(part<QPushButton>(w, "kopya")->isEnabled());
    EXPECT_FALSE(w.selectedReceipt());
}

TEST_F(MemberStatement, WithoutDecimalsCellsAndACopyRoundTheComputedAmount) {
    session.tlonda = 0;
    addLedgerItem(u"0346"_s, {2024, 4, 2}, {2024, 4, 2}, 1, 1, "100.75", u"Kuruşlu"_s, u"43"_s);
    tah2 w(desk, print);
    openStatement(w, u"0346"_s);
    EXPECT_EQ(part<dclist>(w, "liste")->Caption(3, screenkit::Odeme).toString(), u"101"_s);
    part<dclist>(w, "liste")->ChngSat(3);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *cash = qobject_cast<kastah *>(QApplication::activeModalWidget());
        ASSERT_NE(cash, nullptr);
        shown = cash->findChild<QLabel *>(u"toplam"_s)->text();
        cash->findChild<QPushButton *>(u"vazgec"_s)->click();
    });
    w.copyReceipt();
    EXPECT_EQ(shown, u"101"_s);
}

TEST_F(MemberStatement, F5TakesACollectionThatTheStatementThenShows) {
    addSettings(41, 2.0);
    tah2 w(desk, print);
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
    EXPECT_EQ(part<xtext>(w, "fisno")->Value().toInt(), 43); // the next receipt's

    // Another member typed, the grid not entered: the cash screen takes his
    // balance, not the one the grid still shows.
    addCard(u"0347"_s, u"Cemil Taş"_s);
    addLedgerItem(u"0347"_s, {2024, 5, 1}, {2024, 5, 1}, 0, 4, "30", u"Mayıs"_s);
    part<xtext>(w, "kod")->setFocus();
    part<xtext>(w, "kod")->setTextValue(u"0347"_s);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *cash = qobject_cast<kastah *>(QApplication::activeModalWidget());
        ASSERT_NE(cash, nullptr);
        shown = cash->findChild<QLabel *>(u"bakiye"_s)->text();
        cash->reject();
    });
    part<QPushButton>(w, "tahsilat")->click();
    EXPECT_EQ(shown, u"30.00"_s);
}

TEST_F(MemberStatement, F9VoidsTheSelectedReceiptAndTheGridShowsItsReversal) {
    addSettings(41, 2.0);
    tah2 w(desk, print);
    openStatement(w, u"0346"_s);
    QTimer::singleShot(0, [&] {
        auto *cash = qobject_cast<kastah *>(QApplication::activeModalWidget());
        ASSERT_NE(cash, nullptr);
        QTest::keyClicks(cash->findChild<xtext *>(u"tutar"_s), u"58"_s);
        cash->findChild<QPushButton *>(u"tamam"_s)->click();
    });
    QTest::keyClick(part<dclist>(w, "liste"), Qt::Key_F5);
    ASSERT_EQ(w.finalBalance(), *Money::parse(u"0.24"_s));

    auto *grid = part<dclist>(w, "liste");
    grid->ChngSat(3);
    ASSERT_TRUE(part<QPushButton>(w, "iptal")->isEnabled());
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<makbuziptal *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        opened = true;
        EXPECT_EQ(dialog->findChild<QLabel *>(u"makbuzNo"_s)->text(), u"42"_s);
        // Without a reason it is refused and stays open.
        messages.answers = {true, true};
        dialog->findChild<QPushButton *>(u"iptalEt"_s)->click();
        EXPECT_EQ(messages.lastText(), u"İptal nedeni yazılmamış."_s);
        QTest::keyClicks(dialog->findChild<xtext *>(u"neden"_s), u"Tutar hatali"_s);
        dialog->findChild<QPushButton *>(u"iptalEt"_s)->click();
    });
    QTest::keyClick(grid, Qt::Key_F9);
    ASSERT_TRUE(opened);
    EXPECT_EQ(messages.lastText(), u"42 numaralı makbuz iptal edildi."_s);
    // The collection and its reversal (on one day the debit side first, as
    // the statement orders a day), the balance where it was before.
    EXPECT_EQ(column(w, screenkit::Ack).mid(3, 2),
              (QStringList{u"42 Nolu Makbuz İptali"_s, u"AİDAT TAHSİLATI"_s}));
    EXPECT_EQ(column(w, screenkit::Odeme).mid(3, 2), (QStringList{u"-58.00"_s, u"58.00"_s}));
    EXPECT_EQ(w.finalBalance(), *Money::parse(u"58.24"_s));

    // The list of voids, from the first of the month to today.
    QTimer::singleShot(0, [&] {
        auto *list = qobject_cast<iptaller *>(QApplication::activeModalWidget());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->findChild<dclist *>(u"liste"_s)->ListCount(), 1);
        EXPECT_EQ(list->findChild<QLabel *>(u"toplam"_s)->text(), u"1 makbuz, toplam 58.00"_s);
        list->reject();
    });
    part<QPushButton>(w, "iptaller")->click();
}

TEST_F(MemberStatement, BadDateOrUnknownMemberComputesNothing) {
    addSettings(41, 2.0);
    tah2 w(desk, print);
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

TEST_F(MemberStatement, NoSettingsRowSaysSoAndChargesNoSurcharge) {
    tah2 w(desk, print);
    EXPECT_EQ(messages.lastText(), u"Ayarlar Yapılmamış..."_s);
    // Printing before any statement still offers the printer setup.
    bool setupShown = false;
    QTimer::singleShot(0, [&] {
        QWidget *setup = QApplication::activeModalWidget();
        setupShown = setup && setup->inherits("yzcsetup");
        if (setup)
            setup->close();
    });
    part<QPushButton>(w, "yazdir")->click();
    EXPECT_TRUE(setupShown);
    openStatement(w, u"0346"_s);
    EXPECT_EQ(w.finalBalance(), Money::fromWhole(50));
}

TEST_F(MemberStatement, RightClickAsksBeforePrintingFromThatRow) {
    addSettings(41, 2.0);
    tah2 w(desk, print);
    openStatement(w, u"0346"_s);
    messages.answers = {false};
    emit part<dclist>(w, "liste")->MouseDown(2, 0, 1);
    ASSERT_FALSE(messages.boxes.empty());
    EXPECT_EQ(messages.boxes.back().title, u"korvane"_s);
    EXPECT_EQ(messages.boxes.back().text, u"Bulunduğunuz Satırdan itibaren yazdırılsın?"_s);
}

// The figures are the engine's (tests/surcharge WorkedStatementCellByCell); here
// that the stored ledger reaches it: text, receipt, amounts, sides and dates.
TEST_F(MemberStatement, StoredLedgerReachesTheEngine) {
    // Entered after the base date: left out although due earlier.
    addLedgerItem("0346", {2024, 6, 1}, {2024, 1, 1}, 0, 4, "999", "Sonra girilen");
    const auto st = statement::compute(session, "0346", {2024, 5, 10}, 2.0, 0);
    ASSERT_TRUE(st);
    QStringList rows;
    for (const auto &r : st->rows)
        rows << QStringList{r.ack, cell(r.borc), cell(r.odeme), cell(r.kalan), r.evrak}.join(' ');
    EXPECT_EQ(rows,
              (QStringList{"Ocak 100.00 0.00 100.00 ", "Şubat 100.00 0.00 202.00 ",
                           "Tahsilat 0.00 150.00 56.00 42", "****Son Bakiye**** - - 58.24 "}));
}

TEST_F(MemberStatement, CommandLineGivesTheSameStatementAsJsonAndCsv) {
    addSettings(41, 2.0);
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    ProcessResult r = runProgram("koop-cli", {"statement", company.folder(), "0346", "--date",
                                              "10.05.2024", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(doc["kod"].toString(), "0346");
    EXPECT_EQ(doc["tarih"].toString(), "10.05.2024");
    EXPECT_EQ(doc["bakiye"].toString(), "58.24");
    const QJsonArray rows = doc["rows"].toArray();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[2].toObject()["evrak"].toString(), "42");
    EXPECT_EQ(rows[1].toObject()["faiz"].toString(), "2.00");
    EXPECT_EQ(rows[3].toObject()["borc"].toString(), "");
    EXPECT_EQ(rows[3].toObject()["kalan"].toString(), "58.24");

    r = runProgram("koop-cli", {"statement", company.folder(), "0346", "--date", "10.05.2024",
                                "--format", "csv"});
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Açıklama,Vade,Devir,G.Zammı,Borç,Ödenen,Kalan,Anapara,Evrak");
    EXPECT_EQ(lines[3], "Tahsilat,20.03.2024,202.00,4.00,0.00,150.00,56.00,56.00,42");
    EXPECT_EQ(lines[4], "****Son Bakiye****,,56.00,2.24,,,58.24,,");

    r = runProgram("koop-cli", {"statement", company.folder(), "0346", "--date", "10.05.2024"});
    EXPECT_TRUE(r.out.contains("58.24")) << r.out.toStdString();
}

TEST_F(MemberStatement, BadInputGivesItsMessage) {
    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    } cases[] = {
        {{"0346", "--date", "31.02.2024"}, 1, "Korvane|warning|Hatalı İşlem Tarihi..."},
        {{"0'3%", "--date", "10.05.2024"}, 1, "Korvane|warning|Bu kodla bir üye kartı yok: 0'3%"},
        {{"0346", "--date", "10.05.2024"}, 0, "Korvane|warning|Ayarlar Yapılmamış..."},
    };
    for (const Case &c : cases) {
        const ProcessResult r =
            runProgram("koop-cli", QStringList{"statement", company.folder()} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.contains(c.message)) << r.messages.join(';').toStdString();
    }
}

// Rows the suite wrote whose sum leaves the range of an amount: the
// statement, the general list and the command line say so and show no
// figure, instead of a wrapped one.
TEST_F(MemberStatement, ASumBeyondTheRangeOfAnAmountIsRefusedNotWrapped) {
    addCard(u"0347"_s, u"Dev Borç"_s);
    for (int i = 0; i < 2; ++i)
        addLedgerItem(u"0347"_s, {2024, 1, 15}, {2024, 1, 15}, 0, 4, "900000000000000", u"Dev"_s);
    messages.boxes.clear();
    EXPECT_FALSE(statement::compute(session, u"0347"_s, {2024, 5, 10}, 0, 0));
    EXPECT_FALSE(generallist::build(session, u"0346"_s, u"0347"_s, {2024, 5, 10}, 0, {}));
    EXPECT_EQ(texts(), QStringList(2, u"0347 hesabının ekstresi hesaplanamadı: toplamı, bir "
                                      "tutarın sınırını (922,337,203,685,477.5807) aşıyor.\n"
                                      "Hareketlerdeki tutarları denetleyin."_s));
    const ProcessResult r =
        runProgram("koop-cli", {"statement", company.folder(), "0347", "--date", "10.05.2024"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.out.contains(u"-"_s)) << r.out.toStdString();
}

} // namespace
