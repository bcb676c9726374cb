// The board's reports on a temporary company: the dunning list and its
// letters, the statements of many members in one run, the year's charts,
// and their screens.
#include "actions/reports/arrears.h"
#include "actions/reports/bulkstatements.h"
#include "actions/statement/statementaction.h"
#include "base/daynumber.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/pdftext.h"
#include "printing/printcontext.h"
#include "screens/reports/ihtar.h"
#include "screens/reports/pano.h"
#include "screens/reports/topeks.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

// At 10.06.2024, no surcharge: "A1" owes January's 100 (five months);
// "A2" May's 100 (one month) and 40 of April's (two); "A3" paid up; "A4", kind 2,
// owes from January as well; "A5" owes nothing at all.
class Reports : public SessionTest {
  protected:
    Reports() {
        session.tlonda = 2;
        today = QDate(2024, 6, 10);
        addSettings(0, 0);
        EXPECT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
        addCard(u"A1"_s, u"Ali Kaya"_s);
        addCard(u"A2"_s, u"Bülent Şen"_s);
        addCard(u"A3"_s, u"Cem Öz"_s);
        addCard(u"A4"_s, u"Diğer Kart"_s, u"120"_s, 2);
        addCard(u"A5"_s, u"Emel Işık"_s);
        addLedgerItem(u"A1"_s, {2024, 1, 1}, {2024, 1, 15}, 0, 4, "100", u"Ocak"_s);
        addLedgerItem(u"A2"_s, {2024, 1, 1}, {2024, 4, 1}, 0, 4, "100", u"Nisan"_s);
        addLedgerItem(u"A2"_s, {2024, 1, 1}, {2024, 4, 20}, 1, 1, "60", u"Tahsilat"_s, u"7"_s);
        addLedgerItem(u"A2"_s, {2024, 1, 1}, {2024, 5, 15}, 0, 4, "100", u"Mayıs"_s);
        addLedgerItem(u"A3"_s, {2024, 1, 1}, {2024, 1, 15}, 0, 4, "100", u"Ocak"_s);
        addLedgerItem(u"A3"_s, {2024, 1, 1}, {2024, 2, 1}, 1, 1, "100", u"Tahsilat"_s, u"8"_s);
        addLedgerItem(u"A4"_s, {2024, 1, 1}, {2024, 1, 15}, 0, 4, "100", u"Ocak"_s);
    }

    QStringList arrearsCodes(const QStringList &args) {
        const ProcessResult r =
            runProgram("koop-cli", QStringList{"arrears", company.folder(), "--date", "10.06.2024",
                                               "--format", "json"} +
                                       args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        QStringList codes;
        for (const QJsonValue row :
             QJsonDocument::fromJson(r.out.toUtf8()).object()["rows"].toArray())
            codes << row.toObject()["kod"].toString() + u' ' + row.toObject()["eski"].toString() +
                         u' ' + row.toObject()["kalan"].toString();
        return codes;
    }
};

TEST_F(Reports, ArrearsListExactlyTheMembersOwingSoLong) {
    // Open principal older than the months; a balance above the amount;
    // either when both are given. Kind 2 is no member to dun.
    EXPECT_EQ(arrearsCodes({"--months", "3"}), QStringList{u"A1 100.00 100.00"_s});
    EXPECT_EQ(arrearsCodes({"--months", "2"}),
              (QStringList{u"A1 100.00 100.00"_s, u"A2 40.00 140.00"_s}));
    EXPECT_EQ(arrearsCodes({"--min", "120"}), QStringList{u"A2 0.00 140.00"_s});
    EXPECT_EQ(arrearsCodes({"--months", "3", "--min", "120"}),
              (QStringList{u"A1 100.00 100.00"_s, u"A2 0.00 140.00"_s}));
    EXPECT_EQ(arrearsCodes({"--months", "12"}), QStringList());
    EXPECT_EQ(arrearsCodes({}), QStringList{u"A1 100.00 100.00"_s}); // three months

    // A letter a page, from the company's own template; the list on paper.
    QFile own(session.companyFile(u"ihtar.txt"_s));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("Sayın {isim}, {tarih} günü {borc} {tlnick} borcunuz var; {aylar} aydan eski "
              "{eski}. {bilinmeyen}\n");
    own.close();
    QTemporaryDir dir;
    const QString letters = dir.filePath(u"ihtar.pdf"_s);
    const QString list = dir.filePath(u"liste.pdf"_s);
    ProcessResult r =
        runProgram("koop-cli", {"arrears", company.folder(), "--date", "10.06.2024", "--months",
                                "2", "--letters", letters, "--print", list, "--mode", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList pages = pdfLayoutText(letters).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].simplified().contains(
        u"Sayın Ali Kaya, 10.06.2024 günü 100.00 borcunuz var; 2 aydan eski 100.00. {bilinmeyen}"_s))
        << pages[0].toStdString();
    EXPECT_TRUE(pages[1].contains(u"Bülent Şen"_s));
    EXPECT_TRUE(pdfLayoutText(list).simplified().remove(u' ').contains(u"TOPLAM:"_s));

    // A template that is no UTF-8 text is refused, and no letters are written.
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("Say\xfdn {isim}\n");
    own.close();
    QFile::remove(letters);
    r = runProgram("koop-cli",
                   {"arrears", company.folder(), "--date", "10.06.2024", "--letters", letters});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.messages.join('\n').contains(u"UTF-8"_s));
    EXPECT_FALSE(QFile::exists(letters));
    // Nobody owes for a year: said, and no letters.
    r = runProgram("koop-cli", {"arrears", company.folder(), "--date", "10.06.2024", "--months",
                                "12", "--letters", letters});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.messages.join('\n').contains(u"İhtar yazılacak üye yok"_s));
    EXPECT_FALSE(QFile::exists(letters));
    for (const QStringList &bad : {QStringList{"--months", "0"}, QStringList{"--min", "abc"},
                                   QStringList{"--format", "xlsx"}, QStringList{"--mode", "2"}}) {
        r = runProgram("koop-cli",
                       QStringList{"arrears", company.folder(), "--date", "10.06.2024"} + bad);
        EXPECT_NE(r.exitCode, 0) << bad.join(' ').toStdString();
    }
}

TEST_F(Reports, LetterFieldsAreFilledOnceAndUnknownOnesKept) {
    arrears::Row row;
    row.card.kod = u"0042"_s;
    row.card.isim1 = u"{kod} Yılmaz"_s; // a value is never read as a field
    row.card.adr1 = u"Gül Sok. 3"_s;
    row.card.adr3 = u"İzmir"_s;
    row.figures.kalan = Money::fromWhole(1250);
    row.figures.yas[4] = Money::fromWhole(1000);
    const arrears::Criteria c{QDate(2024, 6, 10), 3, std::nullopt};
    EXPECT_EQ(arrears::letterText(u"{isim}|{adres}|{borc} {tlnick}|{yas1}|{yas5}|{x}|{"_s, row, c,
                                  u"Koop"_s, 2, u"TL"_s),
              u"{kod} Yılmaz|Gül Sok. 3\nİzmir|1,250.00 TL|0.00|1,000.00|{x}|{"_s);
}

TEST_F(Reports, StatementsInOneRunEndAsEachMembersOwn) {
    QTemporaryDir dir;
    const QString one = dir.filePath(u"ekstre.pdf"_s);
    ProcessResult r = runProgram(
        "koop-cli", {"statements", company.folder(), "--date", "10.06.2024", "--out", one});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Members only, a page each, every page ending with the member's balance.
    const QStringList pages = pdfLayoutText(one).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 4);
    const QStringList names{u"Ali Kaya"_s, u"Bülent Şen"_s, u"Cem Öz"_s, u"Emel Işık"_s};
    const QStringList codes{u"A1"_s, u"A2"_s, u"A3"_s, u"A5"_s};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(codes[i].toStdString());
        EXPECT_TRUE(pages[i].contains(names[i]));
        const auto st = statement::compute(session, codes[i], today, 0, 0);
        QString closing;
        for (const QString &line : pages[i].split(u'\n'))
            if (line.contains(u"****Son Bakiye****"_s))
                closing = line.simplified();
        EXPECT_TRUE(st->finalBalance == Money()
                        ? closing == u"****Son Bakiye****"_s
                        : closing.endsWith(formatAmount(st->finalBalance, 2)))
            << closing.toStdString();
    }

    // A PDF each in a folder, for a code range and a least balance.
    const QString folder = dir.filePath(u"tek tek"_s);
    r = runProgram("koop-cli", {"statements", company.folder(), "--date", "10.06.2024", "--codes",
                                "A1-A4", "--min-balance", "50", "--out", folder});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{u"A1.pdf"_s, u"A2.pdf"_s}));

    // Nobody owes that much: said, and no file.
    const QString none = dir.filePath(u"yok.pdf"_s);
    r = runProgram("koop-cli", {"statements", company.folder(), "--date", "10.06.2024",
                                "--min-balance", "5000", "--out", none});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.messages.join('\n').contains(u"Seçime uyan ekstre yok"_s));
    EXPECT_FALSE(QFile::exists(none));
    EXPECT_EQ(bulkstatements::fileNameOf(u"../Ş 1/x"_s), u"_.._Ş_1_x.pdf"_s);
}

} // namespace

namespace {

TEST_F(Reports, DashboardFiguresAreTheLedgersAndTheChartsAreDrawn) {
    // Two collections and a void on 3 June, paying out 20 on 5 June.
    QSqlQuery q(session.data.sql());
    for (const auto &[day, ba, amount] : std::vector<std::tuple<int, int, qint64>>{
             {3, 0, 2500000}, {3, 0, -500000}, {3, 0, 100000}, {5, 1, 200000}}) {
        q.prepare("INSERT INTO kasa (carkod, ba, tutar, kasa, tarih) VALUES ('A1', ?, ?, 1, ?)");
        q.addBindValue(ba);
        q.addBindValue(amount);
        q.addBindValue(qlonglong(dayNumber(QDate(2024, 6, day))));
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }
    QTemporaryDir dir;
    const QString png = dir.filePath(u"pano.png"_s);
    const ProcessResult r =
        runProgram("koop-cli", {"dashboard", company.folder(), "--year", "2024", "--month", "6",
                                "--out", png, "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();

    // Month by month what the ledger holds, every kind of card.
    QStringList months, ledger;
    for (const QJsonValue m : doc["aylar"].toArray())
        months << m.toObject()["tahakkuk"].toString() + u'/' + m.toObject()["tahsilat"].toString();
    for (int m = 1; m <= 12; ++m) {
        const auto sum = [&](int ba) {
            const auto row = rows(u"SELECT COALESCE(SUM(tutar), 0) FROM carhar WHERE ba = %1 AND "
                                  "islem <> 16 AND vade >= %2 AND vade < %3"_s.arg(ba)
                                      .arg(dayNumber(QDate(2024, m, 1)))
                                      .arg(dayNumber(QDate(2024, m, 1).addMonths(1))));
            return plainAmount(Money::fromUnits(row.front().value(0).toLongLong()), 2);
        };
        ledger << sum(0) + u'/' + sum(1);
    }
    EXPECT_EQ(months, ledger);
    EXPECT_EQ(ledger[0], u"300.00/0.00"_s);
    EXPECT_EQ(doc["tahakkuk"].toString(), u"500.00"_s);
    EXPECT_EQ(doc["tahsilat"].toString(), u"160.00"_s);
    EXPECT_EQ(doc["oran"].toString(), u"32.0"_s);
    // The ten largest balances, the kind-2 card among them.
    QStringList top;
    for (const QJsonValue d : doc["ilkon"].toArray())
        top << d.toObject()["kod"].toString() + u' ' + d.toObject()["kalan"].toString();
    EXPECT_EQ(top, (QStringList{u"A2 140.00"_s, u"A1 100.00"_s, u"A4 100.00"_s}));
    // A past year is seen at its last day: every open debt 181–365 days old.
    EXPECT_EQ(doc["tarih"].toString(), u"31.12.2024"_s);
    EXPECT_EQ(doc["yas4"].toString(), u"340.00"_s);
    // A value for each day of the month.
    const QJsonArray cash = doc["kasa"].toArray();
    ASSERT_EQ(cash.size(), 30);
    EXPECT_EQ(cash[2].toObject()["tutar"].toString(), u"210.00"_s);
    EXPECT_EQ(cash[4].toObject()["tutar"].toString(), u"-20.00"_s);

    const QImage image(png);
    EXPECT_EQ(image.width(), 1800);
    // A year without a month is wrong on the command line.
    EXPECT_EQ(runProgram("koop-cli", {"dashboard", company.folder(), "--year", "24"}).exitCode, 2);
    EXPECT_EQ(runProgram("koop-cli", {"dashboard", company.folder(), "--year", "2024", "--out",
                                      dir.filePath(u"x.svg"_s)})
                  .exitCode,
              2);
}

} // namespace

namespace {

TEST_F(Reports, ScreensFromTheKeyboard) {
    printing::PrintContext print(session);
    ScreenContext desk(session);
    {
        pano w(desk, print);
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(part<xtext>(w, "yil"), Qt::Key_F5);
        for (int i = 1; i <= 5; ++i)
            EXPECT_NE(w.findChild<QWidget *>(u"grafik%1"_s.arg(i)), nullptr) << i;
        EXPECT_TRUE(part<QLabel>(w, "ozet")->text().contains(u"Kart sayısı: 5"_s));
        EXPECT_EQ(w.currentChart(), -1);
        w.findChild<QWidget *>(u"grafik3"_s)->setFocus();
        EXPECT_EQ(w.currentChart(), 2); // F8 and Ctrl+S act on it
    }
    {
        ihtar w(desk, print);
        w.show();
        QTest::keyClick(part<xtext>(w, "aylar"), Qt::Key_F5);
        dclist *list = part<dclist>(w, "liste");
        ASSERT_EQ(list->ListCount(), 2); // A1, then the totals
        EXPECT_EQ(list->Caption(0, 0).toString(), u"A1"_s);
        EXPECT_EQ(list->Caption(1, 1).toString(), u"T O P L A M"_s);
        EXPECT_EQ(list->Caption(1, 8).toString(), u"100.00"_s); // Kalan
    }
    {
        topeks w(desk, print);
        QTemporaryDir dir;
        const QString out = dir.filePath(u"hepsi.pdf"_s);
        w.yazdir(out);
        EXPECT_EQ(pdfLayoutText(out).split(u'\f', Qt::SkipEmptyParts).size(), 4);
        EXPECT_EQ(part<QLabel>(w, "durum")->text(), u"4 üyeden 4 ekstre yazıldı."_s);
    }
}

} // namespace
