// The general debt/credit list (gbor) on a temporary company: the figures
// against each card's own statement, the printed list in both printer modes,
// the screen from the keyboard and the command line.
#include "actions/generallist/generallistaction.h"
#include "actions/generallist/generallistprint.h"
#include "actions/statement/statementaction.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/pdftext.h"
#include "printing/printcontext.h"
#include "printing/prnx.h"
#include "screens/generallist/gbor.h"
#include "screens/kit/statementgrid.h"
#include "support/fixture.h"
#include "support/golden.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

// Cards of every kind; "10", "2" and "3" owe January's and February's 100
// and paid 150 in March, which leaves 58.24 with the surcharge at 10.05.2024.
class GeneralList : public SessionTest {
  protected:
    GeneralList() {
        session.tlonda = 2;
        session.pictures = false;
        today = QDate(2024, 5, 10);
        addSettings(0, 2.0);
        addCard(u"1"_s, u"Boş Üye"_s);
        addCard(u"10"_s, u"Ali Kaya"_s);
        addCard(u"2"_s, u"Diğer Kart"_s, u"120"_s, 2);
        addCard(u"20"_s, u"Can Er"_s);
        addCard(u"3"_s, u"Satıcı"_s, u"320"_s, 1);
        for (const QString &kod : {u"10"_s, u"2"_s, u"3"_s}) {
            addLedgerItem(kod, {2024, 1, 15}, {2024, 1, 15}, 0, 4, "100", u"Ocak"_s);
            addLedgerItem(kod, {2024, 2, 15}, {2024, 2, 15}, 0, 4, "100", u"Şubat"_s);
            addLedgerItem(kod, {2024, 3, 20}, {2024, 3, 20}, 1, 1, "150", u"Tahsilat"_s, u"42"_s);
        }
    }
    static QString figures(const generallist::Figures &f) {
        return QStringList{plainAmount(f.borc, 2), plainAmount(f.odenen, 2),
                           plainAmount(f.gecikme, 2), plainAmount(f.kalan, 2)}
            .join(u' ');
    }
};

TEST_F(GeneralList, FiguresAreEachCardsStatementAndTheTotalsTheirSum) {
    const QDate base(2024, 5, 10);
    const struct {
        QString first, last;
        QDate date;
        QStringList rows; // "kod borc odenen gecikme kalan"
        int messages;
    } cases[] = {
        // Codes compare as text: "10" lies between "1" and "2".
        {u"1"_s,
         u"2"_s,
         base,
         {u"1 0.00 0.00 0.00 0.00"_s, u"10 200.00 150.00 8.24 58.24"_s,
          u"2 200.00 150.00 0.00 50.00"_s},
         0},
        // Every kind is listed; the seller (kind 1) is charged, kind 2 is not.
        {u""_s,
         u"9"_s,
         base,
         {u"1 0.00 0.00 0.00 0.00"_s, u"10 200.00 150.00 8.24 58.24"_s,
          u"2 200.00 150.00 0.00 50.00"_s, u"20 0.00 0.00 0.00 0.00"_s,
          u"3 200.00 150.00 8.24 58.24"_s},
         0},
        {u"3"_s, u"1"_s, base, {}, 0},      // reversed: the totals alone
        {u"1'%"_s, u"1'%"_s, base, {}, 0},  // quote and percent are plain text
        {u"\xD800"_s, u"9"_s, base, {}, 0}, // text no database can hold
        {u"10"_s,                           // no date: every card says so
         u"2"_s,
         QDate(),
         {u"10 0.00 0.00 0.00 0.00"_s, u"2 0.00 0.00 0.00 0.00"_s},
         2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.first + u'-' + c.last).toStdString());
        messages.boxes.clear();
        const auto list = generallist::build(session, c.first, c.last, c.date, 2.0);
        ASSERT_TRUE(list);
        QStringList rows;
        generallist::Figures sum;
        for (const generallist::Row &r : list->rows) {
            rows << r.kod + u' ' + figures(r.figures);
            sum.borc += r.figures.borc;
            sum.odenen += r.figures.odenen;
            sum.gecikme += r.figures.gecikme;
            sum.kalan += r.figures.kalan;
            if (!c.date.isValid())
                continue;
            // The balance is the closing Kalan of the card's own statement.
            const auto card = statement::member(session, r.kod);
            const auto st = statement::compute(session, r.kod, c.date, 2.0, card->asd);
            EXPECT_EQ(r.figures.kalan, st->finalBalance) << r.kod.toStdString();
            // The ages share out the principal left open at the last item.
            Money aged, open;
            for (const Money &a : r.figures.yas)
                aged += a;
            if (st->rows.size() > 1)
                open = std::max(Money(), *st->rows[st->rows.size() - 2].openPrincipal);
            EXPECT_EQ(aged, open) << r.kod.toStdString();
        }
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(figures(list->toplam), figures(sum));
        EXPECT_EQ(texts(), QStringList(c.messages, u"Hatalı İşlem Tarihi..."_s));
    }
}

// The ledgers are read a batch of cards at a time: every card still gets
// exactly its own items.
TEST_F(GeneralList, ManyCardsEachGetTheirOwnStatement) {
    ASSERT_TRUE(session.data.beginWrite());
    for (int i = 0; i < 150; ++i) {
        const QString kod = u"B%1"_s.arg(i, 3, 10, QChar(u'0'));
        addCard(kod, kod);
        for (int month = 1; month <= i % 4; ++month)
            addLedgerItem(kod, {2024, month, 15}, {2024, month, 15}, 0, 4,
                          QByteArray::number(i + month).constData(), u"Aidat"_s);
    }
    ASSERT_TRUE(session.data.commit());
    const QDate base(2024, 5, 10);
    const auto list = generallist::build(session, u"B"_s, u"C"_s, base, 2.0);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->rows.size(), 150u);
    for (const generallist::Row &r : list->rows) {
        const auto st = statement::compute(session, r.kod, base, 2.0, 0);
        EXPECT_EQ(figures(r.figures),
                  figures({st->totalDebt, st->totalPaid, st->totalSurcharge, st->finalBalance}))
            << r.kod.toStdString();
    }
}

// Forty members, some with long names and nothing owed.
generallist::List printedList() {
    generallist::List list;
    for (int i = 1; i <= 40; ++i) {
        generallist::Row r{u"%1"_s.arg(i * 7, 4, 10, QChar(u'0')),
                           i % 3 ? u"Gülşen Öztürk %1"_s.arg(i)
                                 : u"Şükrü Çağlayan İnşaat Taahhüt ve Ticaret Ltd."_s,
                           {}};
        if (i % 4) {
            r.figures.borc = Money::fromWhole(1000 + i);
            r.figures.odenen = Money::fromWhole(900);
            r.figures.gecikme = Money::fromUnits(i * 12345);
            r.figures.kalan = r.figures.borc + r.figures.gecikme - r.figures.odenen;
            for (size_t a = 0; a < r.figures.yas.size(); ++a)
                r.figures.yas[a] = Money::fromUnits(qint64(i) * 1001 * qint64((i + a) % 3));
        }
        list.toplam.borc += r.figures.borc;
        list.toplam.odenen += r.figures.odenen;
        list.toplam.gecikme += r.figures.gecikme;
        list.toplam.kalan += r.figures.kalan;
        for (size_t a = 0; a < r.figures.yas.size(); ++a)
            list.toplam.yas[a] += r.figures.yas[a];
        list.rows.push_back(r);
    }
    return list;
}

// Dot-matrix at 66 lines with rules under every row: two pages; graphic
// without rules on the page's own line count, under a title the clerk edited
// on the setup screen; the list with its ages.
TEST(GeneralListPrint, MatchesTheGoldenFilesInBothModes) {
    const struct {
        const char *file;
        bool dotMatrix, rules;
        const char16_t *title;
        bool aging = false;
    } cases[] = {{"generallist_rules.txt", true, true, u"ÜYE GENEL BORÇ ALACAK LİSTESİ"},
                 {"generallist_graphic.txt", false, false, u"2024 MAYIS BORÇ LİSTESİ"},
                 {"generallist_aging.txt", true, false, u"ÜYE BORÇ YAŞLANDIRMA LİSTESİ", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        QTemporaryDir dir;
        RecordingMessages messages;
        Session session(messages);
        printing::PrintContext context(session);
        generallist::presetPrinter(context.settings);
        EXPECT_TRUE(context.settings.dotMatrix);
        EXPECT_EQ(context.settings.lineCount, 66);
        EXPECT_EQ(context.settings.title, u"ÜYE GENEL BORÇ ALACAK LİSTESİ"_s);
        context.settings.title = QString::fromUtf16(c.title);
        context.settings.dotMatrix = c.dotMatrix;
        context.dotMatrixCopy = dir.filePath(u"job.txt"_s);
        context.pdfFile = dir.filePath(u"job.pdf"_s);
        {
            prnx p(context);
            ASSERT_TRUE(generallist::printList(
                p, printedList(), {u"10.05.2024"_s, u"Işık Konut Koop."_s}, c.rules, 2, c.aging));
        }
        QFile out(context.dotMatrixCopy);
        EXPECT_GOLDEN(c.dotMatrix ? (out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray())
                                  : pdfWordList(context.pdfFile),
                      QString::fromLatin1(c.file));
    }
}

TEST_F(GeneralList, ScreenFromTheKeyboard) {
    printing::PrintContext print(session);
    ScreenContext desk(session);
    gbor w(desk, print);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    xtext *first = part<xtext>(w, "ilkCari");
    dclist *statementGrid = part<dclist>(w, "ekstre");
    EXPECT_EQ(statementGrid->ColumnCount(), 9); // two hidden: open principal, receipt number
    dclist *list = part<dclist>(w, "liste");
    EXPECT_EQ(first->Text(), u"1"_s);
    EXPECT_EQ(part<xtext>(w, "sonCari")->Text(), u"3"_s);
    EXPECT_EQ(part<xtext>(w, "tarih")->Text(), u"10.05.2024"_s);
    EXPECT_TRUE(first->hasFocus());

    QTest::keyClick(part<xtext>(w, "sonCari"), Qt::Key_F5);
    ASSERT_EQ(list->ListCount(), 6);
    EXPECT_EQ(list->Caption(1, 0).toString(), u"10"_s);
    EXPECT_EQ(list->Caption(5, 1).toString(), u"T O P L A M"_s);
    EXPECT_EQ(list->Caption(5, 5).toString(), u"166.48"_s);
    EXPECT_EQ(first->Text(), u"1"_s); // borrowed during the run, given back
    // The ages are there, hidden until "Yaşlandırma" is ticked.
    EXPECT_EQ(list->Caption(1, generallist::Yas1 + 1).toString(), u"56.00"_s);
    EXPECT_EQ(list->Size(generallist::Yas1), 0);
    part<QCheckBox>(w, "yaslandirma")->setChecked(true);
    EXPECT_GT(list->Size(generallist::Yas5), 0);
    EXPECT_EQ(list->Baslik(generallist::Yas5), u"365+ Gün"_s);

    // Enter down the fields reaches the statement of the first code.
    first->setTextValue(u"10"_s);
    first->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(statementGrid->hasFocus());
    ASSERT_EQ(statementGrid->ListCount(), 4);
    EXPECT_EQ(statementGrid->Caption(3, screenkit::Kalan).toString(), u"58.24"_s);
    EXPECT_EQ(statementGrid->Caption(2, screenkit::Evrak).toString(), QString());
    QTest::keyClick(statementGrid, Qt::Key_Escape);
    EXPECT_TRUE(first->hasFocus());

    QString exported;
    list->setSpreadsheetOpener([&](const QString &path) {
        exported = path;
        return true;
    });
    QTest::keyClick(list, Qt::Key_E, Qt::ControlModifier);
    QFile sheet(exported);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    EXPECT_TRUE(sheet.read(2) == "PK");
    sheet.remove();

    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(GeneralList, CommandLine) {
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    const QString folder = company.folder();
    ProcessResult r = runProgram("koop-cli", {"general-list", folder, "--date", "10.05.2024",
                                              "--to", "2", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonArray rows = doc["rows"].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].toObject()["kod"].toString(), u"10"_s);
    EXPECT_EQ(rows[1].toObject()["gecikme"].toString(), u"8.24"_s);
    EXPECT_EQ(doc["toplam"].toObject()["kalan"].toString(), u"108.24"_s);
    EXPECT_FALSE(rows[1].toObject().contains(u"yas1"_s));

    // The ages: 56.00 left of February's debt, 85 days overdue; kind 2 bears
    // no surcharge but owes its principal all the same.
    r = runProgram("koop-cli",
                   {"general-list", folder, "--date", "10.05.2024", "--aging", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject aged = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QStringList ages;
    QJsonArray agedRows = aged["rows"].toArray();
    agedRows.append(aged["toplam"].toObject());
    for (const QJsonValue row : agedRows) {
        QStringList five;
        for (int i = 1; i <= 5; ++i)
            five << row.toObject()[u"yas%1"_s.arg(i)].toString();
        ages << five.join(u' ');
    }
    EXPECT_EQ(ages, (QStringList{u"0.00 0.00 0.00 0.00 0.00"_s, u"0.00 56.00 0.00 0.00 0.00"_s,
                                 u"0.00 50.00 0.00 0.00 0.00"_s, u"0.00 0.00 0.00 0.00 0.00"_s,
                                 u"0.00 56.00 0.00 0.00 0.00"_s, u"0.00 162.00 0.00 0.00 0.00"_s}));

    QTemporaryDir dir;
    const QString printed = dir.filePath(u"liste.txt"_s);
    r = runProgram("koop-cli", {"general-list", folder, "--date", "10.05.2024", "--format", "csv",
                                "--print", printed, "--mode", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.split(u'\n', Qt::SkipEmptyParts).last(),
              u",T O P L A M,600.00,450.00,16.48,166.48"_s);
    QFile file(printed);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("T O P L A M : "));

    const struct {
        QStringList args;
        int exit;
        QString message;
    } bad[] = {
        {{"--date", "31.02.2024"}, 1, u"Hatalı İşlem Tarihi..."_s},
        {{"--date", "10.05.2024", "--format", "xlsx"}, 2, {}}, // a spreadsheet needs --out
        {{"--date", "10.05.2024", "--rules"}, 2, {}},          // rules only on paper
        {{"--date", "10.05.2024", "--format", "pdf"}, 2, u"--format text, csv, json ya da xlsx"_s},
    };
    for (const auto &c : bad) {
        r = runProgram("koop-cli", QStringList{"general-list", folder} + c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
}

} // namespace
