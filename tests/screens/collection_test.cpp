// The cash desk on a temporary company: the screen driven by key and mouse
// events, the receipt read back from its PDF, and the command line.
#include "base/inifile.h"
#include "data/cashbox.h"
#include "gui/screencontext.h"
#include "printing/pdftext.h"
#include "screens/collection/kastah.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <unistd.h>

#include "controls/xtext.h"

namespace {

constexpr double PtPerMm = 72.0 / 25.4;
// Glyph side bearings keep ink a fraction of a point inside its advance.
constexpr double Tolerance = 1.0;

// Every box of `text` on the first page, top to bottom.
std::vector<PdfWord> boxes(const std::vector<PdfWord> &words, const QString &text) {
    std::vector<PdfWord> out;
    std::copy_if(words.begin(), words.end(), std::back_inserter(out),
                 [&](const PdfWord &w) { return w.page == 1 && w.text == text; });
    std::sort(out.begin(), out.end(),
              [](const PdfWord &a, const PdfWord &b) { return a.yMin < b.yMin; });
    return out;
}

// The rows a collection leaves are pinned field by field in
// tests/posting/posting_test.cpp; the screen is checked for what it hands over.
class CollectionTest : public SessionTest {
  protected:
    CollectionTest() {
        session.tlonda = 2;
        session.tlnick = "TL";
        session.krnick = "Kr";
        addCard("0346", "Ayşe Yılmaz", "120.01.0346");
        pdf = dir.filePath("makbuz.pdf");
        qputenv("KOOP_PRINT_PDF", pdf.toUtf8());
    }
    ~CollectionTest() override { qunsetenv("KOOP_PRINT_PDF"); }

    QString shown(QWidget &screen, const char *name) { return part<QLabel>(screen, name)->text(); }
    // What the screen handed the posting: code, receipt number, name, amount,
    // date and description.
    QString handedOver() {
        const auto r = rows("SELECT k.carkod, k.evrak, k.ack, k.tutar, k.tarih, c.ack FROM kasa k "
                            "LEFT JOIN carhar c ON c.refer = k.refer");
        return r.size() == 1 ? joined(r[0]) : QString::number(r.size()) + " rows";
    }

    QTemporaryDir dir;
    QString pdf;
    printing::PrintContext print{session};
    ScreenContext desk{session};
};

TEST_F(CollectionTest, NewCollectionPostsAndPrintsTheReceipt) {
    addSettings(41);
    writeCashBoxCode();
    messages.answers = {true};
    kastah screen(desk, print, "0346", "Ayşe Yılmaz", Money::fromWhole(2000));
    screen.show();
    EXPECT_EQ(shown(screen, "makbuzNo"), "42");
    EXPECT_EQ(shown(screen, "tarih"), "15.03.2026");
    EXPECT_EQ(shown(screen, "bakiye"), "2,000.00");
    EXPECT_EQ(part<xtext>(screen, "aciklama")->text(), "AİDAT TAHSİLATI");
    EXPECT_FALSE(part<QLabel>(screen, "kopya")->isVisible());
    EXPECT_FALSE(part<QTimer>(screen, "blink")->isActive());

    xtext *tutar = part<xtext>(screen, "tutar");
    QTest::keyClicks(tutar, "1234.5");
    EXPECT_EQ(shown(screen, "toplam"), "1,234.50");
    QTest::mouseClick(part<QPushButton>(screen, "tamam"), Qt::LeftButton);
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    ASSERT_EQ(messages.boxes.size(), 1u) << texts().join(';').toStdString();
    EXPECT_EQ(messages.boxes[0].icon, Messages::Icon::Information);
    EXPECT_EQ(messages.boxes[0].text, "Makbuz Yazıcıya Yazdırılsın ?");
    EXPECT_EQ(handedOver(), "0346|42|Ayşe Yılmaz|12345000|46096|AİDAT TAHSİLATI");

    // The receipt, both copies: the amount in words, and the balance handed
    // over less the amount, its "TL" at 45 mm. Positions of the rest:
    // ReceiptLayoutInMillimetresWithInstalledHeader.
    const auto words = pdfWords(pdf);
    const QString text = pdfLayoutText(pdf);
    EXPECT_EQ(text.count("Yalnız;binikiyüzotuzdört TL elli Kr .dir."), 2) << text.toStdString();
    const auto son = boxes(words, "Son");
    ASSERT_EQ(son.size(), 2u) << text.toStdString();
    EXPECT_NEAR(son[0].xMin, 5 * PtPerMm, Tolerance);
    EXPECT_EQ(boxes(words, "765.50").size(), 2u) << text.toStdString();
    const auto tl = boxes(words, "TL");
    EXPECT_EQ(
        std::count_if(tl.begin(), tl.end(),
                      [](const PdfWord &w) { return std::abs(w.xMin - 45 * PtPerMm) < Tolerance; }),
        2);
}

TEST_F(CollectionTest, CopyShowsTheEarlierReceiptAndWritesNothing) {
    addSettings(41);
    messages.answers = {true};
    kastah screen(desk, print, "0346", "Ayşe Yılmaz", Money::fromWhole(100),
                  collection::Earlier{"17", Money::fromWhole(150), "MART AİDATI", "20.03.2024"});
    screen.show();
    EXPECT_EQ(shown(screen, "makbuzNo"), "17");
    EXPECT_EQ(shown(screen, "tarih"), "20.03.2024");
    EXPECT_EQ(shown(screen, "toplam"), "150.00");
    xtext *aciklama = part<xtext>(screen, "aciklama");
    xtext *tutar = part<xtext>(screen, "tutar");
    EXPECT_EQ(aciklama->text(), "MART AİDATI");
    EXPECT_EQ(tutar->text(), "150.00");
    EXPECT_FALSE(aciklama->isEnabled());
    EXPECT_FALSE(tutar->isEnabled());
    QTimer *blink = part<QTimer>(screen, "blink");
    EXPECT_TRUE(blink->isActive());
    EXPECT_EQ(blink->interval(), 500);

    QTest::mouseClick(part<QPushButton>(screen, "tamam"), Qt::LeftButton);
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    EXPECT_EQ(texts(), QStringList{"Kopya Makbuz Yazıcıya Yazdırılsın ?"});
    // No posting at all: no row, and the receipt counter stays.
    EXPECT_EQ(count("kasa"), 0);
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 41);

    const QString text = pdfLayoutText(pdf);
    EXPECT_EQ(text.count("COPY COPY COPY"), 2) << text.toStdString();
    EXPECT_EQ(text.count("TEŞEKKÜR"), 0);
    EXPECT_EQ(text.count(": 17"), 2);
    // A copy shows the balance handed over, not the balance less the amount.
    EXPECT_EQ(boxes(pdfWords(pdf), "100.00").size(), 2u) << text.toStdString();
}

TEST_F(CollectionTest, NoSettingsRowSaysSoAndPostsReceiptNumberZero) {
    messages.answers = {false};
    kastah screen(desk, print, "0346", "Ayşe Yılmaz", Money());
    screen.show();
    QTest::keyClicks(part<xtext>(screen, "tutar"), "50");
    QTest::mouseClick(part<QPushButton>(screen, "tamam"), Qt::LeftButton);
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    EXPECT_EQ(texts(), (QStringList{"Ayarlar Yapılmamış...", "Makbuz Yazıcıya Yazdırılsın ?"}));
    EXPECT_EQ(handedOver(), "0346|0|Ayşe Yılmaz|500000|46096|AİDAT TAHSİLATI");
}

TEST_F(CollectionTest, NothingTypedStaysOpenEscapeClosesNeitherPosts) {
    addSettings(41);
    kastah screen(desk, print, "0346", "Ayşe Yılmaz", Money());
    screen.setResult(-1);
    screen.show();
    QTest::mouseClick(part<QPushButton>(screen, "tamam"), Qt::LeftButton);
    EXPECT_EQ(screen.result(), -1);
    EXPECT_TRUE(screen.isVisible());
    xtext *tutar = part<xtext>(screen, "tutar");
    QTest::keyClicks(tutar, "75");
    QTest::keyClick(tutar, Qt::Key_Escape);
    EXPECT_EQ(screen.result(), QDialog::Rejected);
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(count("kasa"), 0);
    EXPECT_TRUE(messages.boxes.empty());
}

TEST(ReceiptBalance, WordingOfTheFourCases) {
    struct Case {
        bool copy;
        const char *balance, *amount;
        bool credit;
        QString text, figure;
    } cases[] = {
        {false, "100", "150", true, "Borcunuz Bulunmamaktadır. (50 TL Alacaklısınız..)", ""},
        {false, "300", "100", false, "Son Bakiyeniz :", "TL 200.00"},
        {false, "100", "100", true, "Borcunuz Bulunmamaktadır. (0 TL Alacaklısınız..)", ""},
        {false, "100.004", "100", true, "Borcunuz Bulunmamaktadır. (0 TL Alacaklısınız..)", ""},
        {false, "100.5", "50", false, "Son Bakiyeniz :", "TL 50.50"},
        {false, "0", "50.505", true, "Borcunuz Bulunmamaktadır. (50.51 TL Alacaklısınız..)", ""},
        {true, "100", "150", false, "Son Bakiyeniz :", "TL 100.00"},
        {true, "0", "150", true, "Borcunuz Bulunmamaktadır. (150 TL Alacaklısınız..)", ""},
        {true, "-20", "30.5", true, "Borcunuz Bulunmamaktadır. (50.5 TL Alacaklısınız..)", ""},
    };
    for (const Case &c : cases) {
        collection::ReceiptValues v;
        v.copy = c.copy;
        v.balance = *Money::parse(c.balance);
        v.amount = *Money::parse(c.amount);
        v.tlnick = "TL";
        v.tlonda = 2;
        const auto b = collection::balanceLine(v);
        SCOPED_TRACE(std::string(c.balance) + " - " + c.amount);
        EXPECT_EQ(b.credit, c.credit);
        EXPECT_EQ(b.text, c.text);
        EXPECT_EQ(b.figure, c.figure);
    }
}

TEST_F(CollectionTest, ReceiptLayoutInMillimetresWithInstalledHeader) {
    const QString ini = session.companyFile("korvane.dat");
    ASSERT_TRUE(ini::writeValue("makbuz", "baslik1", ini, "YILDIZ KONUT KOOPERATİFİ"));
    ASSERT_TRUE(ini::writeValue("makbuz", "baslik2", ini, "Çiçek Sok. No 5 Ankara"));
    ASSERT_TRUE(ini::writeValue("makbuz", "baslik3", ini, "Çankaya V.D. 1234567890"));
    ASSERT_TRUE(ini::writeValue("makbuz", "logo", ini, "yok.jpg"));
    const collection::ReceiptHeader header = collection::receiptHeader(session);
    EXPECT_TRUE(header.logo.isNull());
    EXPECT_EQ(texts(), QStringList{"İmage Yükleme Hatası\n" + session.imageFile("yok.jpg")});

    collection::ReceiptValues v;
    v.receiptNo = "42";
    v.date = "15.03.2026";
    v.kod = "0346";
    v.name = "Ayşe Yılmaz";
    v.description = "AİDAT TAHSİLATI";
    v.amountText = "999,999,999,999.99";
    v.amount = *Money::parse("999999999999.99");
    v.balance = Money::fromWhole(5);
    v.tlnick = "TL";
    v.krnick = "Kr";
    ASSERT_TRUE(collection::printReceipt(print, header, v));

    const auto words = pdfWords(pdf);
    const struct {
        QString word;
        double x, y; // millimetres of the first copy
    } at[] = {{"YILDIZ", 40, 12}, {"Çiçek", 40, 20}, {"Çankaya", 40, 25},   {"Makbuz", 140, 30},
              {"Tarih", 140, 35}, {"KASA", 60, 42},  {"Kod", 10, 52},       {"Ad", 10, 59},
              {"0346", 30, 52},   {"Ayşe", 30, 58},  {"TEŞEKKÜR", 148, 90}, {"AİDAT", 10, 78},
              {"Borcunuz", 5, 97}};
    for (const auto &w : at) {
        const auto found = boxes(words, w.word);
        ASSERT_EQ(found.size(), 2u) << w.word.toStdString();
        for (int copy = 0; copy < 2; ++copy) {
            EXPECT_NEAR(found[copy].xMin, w.x * PtPerMm, Tolerance) << w.word.toStdString();
            // The box top sits on the text's top within the font's internal leading.
            EXPECT_NEAR(found[copy].yMin, (w.y + 140 * copy) * PtPerMm, 3.0)
                << w.word.toStdString() << " copy " << copy;
        }
    }
    const auto amounts = boxes(words, "999,999,999,999.99");
    ASSERT_EQ(amounts.size(), 2u);
    for (const PdfWord &w : amounts)
        EXPECT_NEAR(w.xMax, 195 * PtPerMm, Tolerance);
    EXPECT_EQ(pdfLayoutText(pdf).count("Bulunmamaktadır. (999999999994.99 TL"), 2);
}

// The command's own contract: its arguments, what it prints, exit codes and
// messages. What it posts is the desk's (NewCollectionPostsAndPrintsTheReceipt,
// and tests/posting for the rows).
TEST_F(CollectionTest, CommandLineCollectsAsTheDeskDoes) {
    addSettings(41);
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    ProcessResult r = runProgram("koop-cli", {"collect", company.folder(), "0346", "250.5",
                                              "--aciklama", "NİSAN AİDATI", "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "42\n" + value("SELECT refer FROM kasa").toString() + "\n");
    EXPECT_EQ(value("SELECT ack FROM carhar").toString(), "NİSAN AİDATI");
    const QString text = pdfLayoutText(pdf);
    EXPECT_EQ(text.count("NİSAN AİDATI"), 2) << text.toStdString();
    EXPECT_EQ(text.count("250.50"), 2);

    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    } bad[] = {
        {{"0346", "0"}, 1, "Tutar sıfırdan büyük"},
        {{"0346", "-5"}, 1, "Tutar sıfırdan büyük"},
        {{"0346", "on beş"}, 1, "Tutar sıfırdan büyük"},
        {{"0346", "1.234"}, 1, "Tutar sıfırdan büyük"},
        {{"0346", "1'; DROP TABLE kasa;--"}, 1, "Tutar sıfırdan büyük"},
        {{"0346", "922337203685477"}, 1, "en çok 9,999,999,999.99"},
        {{"0346"}, 2, "Kullanım"},
    };
    for (const Case &c : bad) {
        r = runProgram("koop-cli", QStringList{"collect", company.folder()} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
    EXPECT_EQ(count("kasa"), 1);

    // A code without a card is collected, with a warning; what it leaves is
    // MissingCardKeepsTheCashRowOnly's.
    r = runProgram("koop-cli", {"collect", company.folder(), "0'3%", "10"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.messages.join('\n').contains("Bu kodla bir üye kartı yok: 0'3%"));
    EXPECT_EQ(count("kasa"), 2);
}

TEST_F(CollectionTest, SixDesksAtOnceNeverIssueOneReceiptNumberTwice) {
    addSettings(41);
    writeCashBoxCode();
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    // Six desks take eight collections each while a seventh saves the
    // settings over and over, as AYAR does.
    const QString cli = binDir() + "koop-cli";
    const QString loop = "for i in 1 2 3 4 5 6 7 8; do \"$0\" collect \"$1\" 0346 10.25 >/dev/null "
                         "|| exit 1; done";
    std::vector<std::unique_ptr<QProcess>> desks;
    for (int i = 0; i < 7; ++i) {
        auto p = std::make_unique<QProcess>();
        if (i < 6)
            p->start("sh", {"-c", loop, cli, company.folder()});
        else
            p->start("sh", {"-c",
                            "for i in 1 2 3 4 5 6 7 8; do \"$0\" settings \"$1\" --set faiz=3 "
                            ">/dev/null || exit 1; done",
                            cli, company.folder()});
        desks.push_back(std::move(p));
    }
    for (auto &p : desks) {
        ASSERT_TRUE(p->waitForFinished(300000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    EXPECT_EQ(value("SELECT count(DISTINCT evrak) || ' ' || min(CAST(evrak AS INTEGER)) || ' ' || "
                    "max(CAST(evrak AS INTEGER)) || ' ' || count(*) FROM kasa")
                  .toString(),
              "48 42 89 48");
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 89);
    EXPECT_EQ(cashbox::dayTotal(company.file("kasa1.dat"), QDate::currentDate()), 48 * 10.25);
}

// A desk killed at each of the calls that make a collection durable (every
// sync, rename and unlink, one at a time): after `check --repair` the
// company is whole, the day total is the day's collections and no receipt
// number is issued twice.
TEST_F(CollectionTest, KilledAtAnySyncTheCollectionAndItsDayTotalComeOutWhole) {
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty() || company.onServer())
        GTEST_SKIP() << "strace kills a desk at one of its file calls";
    addSettings(41);
    writeCashBoxCode();
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    const QString cli = binDir() + "koop-cli";
    int kills = 0;
    for (const char *call : {"fdatasync", "fsync", "rename", "unlink"}) {
        for (int n = 1; n < 40; ++n) {
            QProcess desk;
            // The leak checker cannot run under a tracer.
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("ASAN_OPTIONS", "detect_leaks=0");
            desk.setProcessEnvironment(env);
            desk.start(strace, {"-f", "-qq", "-o", "/dev/null", "-e", QString("trace=") + call,
                                "-e", QString("inject=%1:signal=KILL:when=%2").arg(call).arg(n),
                                cli, "collect", company.folder(), "0346", "10.25"});
            ASSERT_TRUE(desk.waitForFinished(60000));
            const bool killed = desk.exitStatus() == QProcess::CrashExit || desk.exitCode() != 0;
            ProcessResult r = runProgram("koop-cli", {"check", company.folder(), "--repair"});
            EXPECT_EQ(r.exitCode, 0) << call << " " << n << ": " << r.out.toStdString();
            if (!killed)
                break;
            ++kills;
        }
    }
    EXPECT_GT(kills, 10);
    const ProcessResult r = runProgram("koop-cli", {"check", company.folder()});
    EXPECT_EQ(r.out, "Sorun yok.\n");
    EXPECT_EQ(value("SELECT count(DISTINCT evrak) = count(*) FROM kasa").toInt(), 1);
    EXPECT_EQ(cashbox::dayTotal(company.file("kasa1.dat"), QDate::currentDate()),
              count("kasa") * 10.25);
}

// What the check finds, and what --repair mends of it.
TEST_F(CollectionTest, CheckFindsWhatIsWrongAndRepairsWhatTheRowsTell) {
    addSettings(41);
    writeCashBoxCode();
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    const QString folder = company.folder();
    ASSERT_EQ(runProgram("koop-cli", {"collect", folder, "0346", "10"}).exitCode, 0);
    // A card's total moved by hand, a receipt counter moved back by hand,
    // the same receipt twice, a journal left behind (the opening mends it).
    const auto edit = [&](const char *file, const char *sql) {
        {
            QSqlDatabase db = company.connect("edit", file);
            EXPECT_TRUE(QSqlQuery(db).exec(sql)) << sql;
        }
        QSqlDatabase::removeDatabase("edit");
    };
    edit("xdata.dat", "UPDATE carkart SET borc1 = 50000");
    edit("xdata.dat", "INSERT INTO kasa (carkod, evrak, tutar, kasa, tarih, ba, refer) SELECT "
                      "carkod, evrak, tutar, kasa, tarih, ba, refer FROM kasa");
    edit("xdata.dat", "UPDATE genel SET value = 0 WHERE ack = 'makbuzno'");
    edit("dalun.dat", "UPDATE ayar SET fisno = 30");
    QFile journal(company.file("kasa1.dat.bekleyen"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("P 594f4b 3 0\n");
    journal.close();

    ProcessResult r = runProgram("koop-cli", {"check", folder});
    EXPECT_EQ(r.exitCode, 1);
    const QString day = QDate::currentDate().toString("dd.MM");
    EXPECT_FALSE(journal.exists());
    EXPECT_EQ(r.out, "0346: kart toplamları borç 5.00 alacak 0.00, hareketlerde borç 0.00 alacak "
                     "0.00\nkasa1.dat " +
                         day +
                         ": gün toplamı 10.00, kasa tahsilatlarında 20.00\n"
                         "Makbuz 42 2 kez verilmiş\nFiş No 30, verilmiş son makbuz 42 (--repair "
                         "düzeltir)\n");
    r = runProgram("koop-cli", {"check", folder, "--repair"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Düzeltildi: 1 kartın toplamları hareketlerinden yeniden yazıldı.\n"
                     "Düzeltildi: Fiş No 42 yapıldı.\nkasa1.dat " +
                         day +
                         ": gün toplamı 10.00, kasa tahsilatlarında 20.00\nMakbuz 42 2 kez "
                         "verilmiş\n");
    EXPECT_EQ(collection::openCollection(session).receiptNo, 43);

    // A day file that cannot be written: the collection is not taken at all.
    ASSERT_TRUE(QFile::remove(company.file("kasa1.dat")));
    ASSERT_TRUE(QDir().mkdir(company.file("kasa1.dat")));
    r = runProgram("koop-cli", {"collect", folder, "0346", "10"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.messages.join('\n').contains("Kasa gün toplamı yazılamıyor"))
        << r.messages.join('\n').toStdString();
    EXPECT_EQ(count("kasa"), 2);
    if (company.onServer())
        return;

    // A damaged page: the card that cannot be read is not taken for a
    // missing one, and the check says where.
    closeFiles(session);
    {
        QFile xdata(company.file("xdata.dat"));
        ASSERT_TRUE(xdata.open(QIODevice::ReadWrite));
        for (qint64 page = 1; page * 4096 < xdata.size(); ++page) {
            xdata.seek(page * 4096);
            xdata.write(QByteArray(100, '\xff'));
        }
    }
    r = runProgram("koop-cli", {"collect", folder, "0346", "10"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.messages.join('\n').contains("bozuk")) << r.messages.join('\n').toStdString();
    EXPECT_FALSE(r.messages.join('\n').contains("Yalnız kasa kaydı"));
    r = runProgram("koop-cli", {"check", folder});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("xdata.dat: bozuk")) << r.out.toStdString();
}

// Another program holds the company: the write lock itself, or on a server
// the counter rows a collection draws its reference from. The desk waits a
// bounded while, writes nothing, says so once and ends with its own code.
TEST_F(CollectionTest, AnotherProgramHoldingTheFilesStopsTheDeskAfterABoundedWait) {
    addSettings(41);
    writeCashBoxCode();
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    ASSERT_EQ(runProgram("koop-cli", {"refcode", company.folder()}).exitCode, 0);
    const QStringList holds =
        company.onServer()
            ? QStringList{"SELECT pg_advisory_xact_lock(hashtextextended('korvane:' || "
                          "current_schema(), 0))",
                          "SELECT id FROM genel WHERE ack LIKE 'sayac%' FOR UPDATE"}
            : QStringList{"SELECT 1"};
    for (const QString &hold : holds) {
        {
            QSqlDatabase db = company.connect("holder", "xdata.dat");
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(company.onServer() ? "BEGIN" : "BEGIN IMMEDIATE"));
            ASSERT_TRUE(q.exec(hold));
            q.finish();
            const ProcessResult r =
                runProgram("koop-cli", {"collect", company.folder(), "0346", "5"});
            EXPECT_EQ(r.exitCode, 5) << hold.toStdString();
            EXPECT_EQ(r.messages.size(), 1) << r.messages.join('\n').toStdString();
            EXPECT_TRUE(r.messages.join('\n').contains("başka bir masada kullanılıyor"))
                << r.messages.join('\n').toStdString();
            EXPECT_TRUE(q.exec("ROLLBACK"));
        }
        QSqlDatabase::removeDatabase("holder");
        EXPECT_EQ(count("kasa"), 0) << hold.toStdString();
    }
    // Let go, the same desk goes through, with the next receipt number.
    const ProcessResult r = runProgram("koop-cli", {"collect", company.folder(), "0346", "5"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("42\n"));
}

// A company nobody may write to (its files and folder read-only, read by an
// ordinary user): it is read, statements and all, and a collection says why
// it cannot be taken, leaving nothing behind.
TEST_F(CollectionTest, AReadOnlyCompanyIsReadAndSaysWhyItCannotBeWritten) {
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (company.onServer() || setpriv.isEmpty() || geteuid() != 0)
        GTEST_SKIP() << "needs root to read the company as another user";
    addSettings(41);
    addLedgerItem("0346", {2026, 1, 5}, {2026, 1, 5}, 0, 4, "100", "Ocak");
    closeFiles(session);
    const QString folder = company.folder();
    for (QString dir = folder; dir.startsWith(company.root()); dir = QFileInfo(dir).path())
        ASSERT_TRUE(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner |
                                                   QFile::ReadOther | QFile::ExeOther));
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        QFile::setPermissions(folder + "/" + name, QFile::ReadOwner | QFile::ReadOther);
    const QStringList before = QDir(folder).entryList(QDir::Files);
    const auto asClerk = [&](const QStringList &args) {
        QProcess p;
        p.start(setpriv, QStringList{"--reuid=65534", "--regid=65534", "--clear-groups",
                                     binDir() + "koop-cli"} +
                             args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::pair{p.exitCode(),
                         QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
    };
    const auto [read, statement] = asClerk({"statement", folder, "0346", "--date", "10.02.2026"});
    EXPECT_EQ(read, 0) << statement.toStdString();
    EXPECT_TRUE(statement.contains("Ocak")) << statement.toStdString();
    const auto [write, refusal] = asClerk({"collect", folder, "0346", "10"});
    EXPECT_EQ(write, 1);
    EXPECT_TRUE(refusal.contains("Şirket dosyalarına yazma izni yok.")) << refusal.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), before);
    for (QString dir = folder; dir.startsWith(company.root()); dir = QFileInfo(dir).path())
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
