// The cash desk on a temporary company: the screen driven by key and mouse
// events, the receipt read back from its PDF, and the command line.
#include "posting/fixture.h"
#include "printing/pdftext.h"
#include "screens/collection/kastah.h"
#include "startup/base/cashbox.h"
#include "startup/base/inifile.h"
#include "support/screenparts.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "controls/xtext.h"

namespace {

constexpr double PtPerMm = 72.0 / 25.4;
// Glyph side bearings keep ink a fraction of a point inside its advance.
constexpr double Tolerance = 1.0;

QString joined(const QSqlRecord &r) {
    QStringList parts;
    for (int i = 0; i < r.count(); ++i)
        parts << r.value(i).toString();
    return parts.join(u'|');
}

// Every box of `text` on the first page, top to bottom.
std::vector<PdfWord> boxes(const std::vector<PdfWord> &words, const QString &text) {
    std::vector<PdfWord> out;
    std::copy_if(words.begin(), words.end(), std::back_inserter(out),
                 [&](const PdfWord &w) { return w.page == 1 && w.text == text; });
    std::sort(out.begin(), out.end(),
              [](const PdfWord &a, const PdfWord &b) { return a.yMin < b.yMin; });
    return out;
}

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

    void addSettings(int fisno) {
        ASSERT_TRUE(data::RsAddNew(session.ayar));
        data::FieldSet(session.ayar, "fisno", fisno);
        ASSERT_TRUE(data::RsUpdate(session.ayar));
    }
    void writeCashBoxCode() {
        QFile f(session.companyFile("kasa1.dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(16, ' ') + QByteArray("100.01.001      "));
    }
    QString shown(QWidget &screen, const char *name) { return part<QLabel>(screen, name)->text(); }
    int count(const char *table) {
        return value(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
    }
    QString dayFile() const { return session.companyFile("kasa1.dat"); }

    QTemporaryDir dir;
    QString pdf;
};

TEST_F(CollectionTest, NewCollectionPostsEveryRowAndPrintsTheReceipt) {
    addSettings(41);
    writeCashBoxCode();
    session.balance = Money::fromWhole(2000);
    messages.answers = {true};
    kastah screen(session, "0346", "Ayşe Yılmaz");
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

    const QString refer = value("SELECT refer FROM kasa").toString();
    ASSERT_EQ(refer.size(), 8);
    const auto kasa = rows("SELECT carkod, evrak, ack, ba, tutar, kasa, tarih FROM kasa");
    ASSERT_EQ(kasa.size(), 1u);
    EXPECT_EQ(joined(kasa[0]), "0346|42|Ayşe Yılmaz|0|12345000|1|46096");
    const auto carhar = rows("SELECT kod, tarih, islem, evrak, ba, tutar, ack, kasa, refer "
                             "FROM carhar");
    ASSERT_EQ(carhar.size(), 1u);
    EXPECT_EQ(joined(carhar[0]), "0346|46096|1|42|1|12345000|AİDAT TAHSİLATI|1|" + refer);
    const auto ent = rows("SELECT refer, tarih, yer, muhkod, ba, ack, tutar FROM ent ORDER BY id");
    ASSERT_EQ(ent.size(), 2u);
    EXPECT_EQ(joined(ent[0]), refer + "|46096|5|120.01.0346|A|42 Mkb. ile Tahsilat|12345000");
    EXPECT_EQ(joined(ent[1]),
              refer + "|46096|5|100.01.001|B|AİDAT TAHSİLATI Mkb. ile Tahsilat A|12345000");
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 42);
    EXPECT_EQ(cashbox::dayTotal(dayFile(), QDate(2026, 3, 15)), 1234.5);

    // The receipt: both copies, 140 mm apart, the amount ending at 195 mm.
    const auto words = pdfWords(pdf);
    const auto amounts = boxes(words, "1,234.50");
    ASSERT_EQ(amounts.size(), 2u) << pdfLayoutText(pdf).toStdString();
    for (const PdfWord &w : amounts)
        EXPECT_NEAR(w.xMax, 195 * PtPerMm, Tolerance);
    EXPECT_NEAR(amounts[1].yMin - amounts[0].yMin, 140 * PtPerMm, 0.1);
    const QString text = pdfLayoutText(pdf);
    EXPECT_EQ(text.count("TEŞEKKÜR EDERİZ"), 2);
    EXPECT_EQ(text.count("Yalnız;binikiyüzotuzdört TL elli Kr .dir."), 2) << text.toStdString();
    const auto son = boxes(words, "Son");
    ASSERT_EQ(son.size(), 2u) << text.toStdString();
    EXPECT_NEAR(son[0].xMin, 5 * PtPerMm, Tolerance);
    EXPECT_EQ(text.count("Borcunuz"), 0);
    const auto remaining = boxes(words, "765.50");
    ASSERT_EQ(remaining.size(), 2u) << text.toStdString();
    const auto tl = boxes(words, "TL");
    EXPECT_EQ(
        std::count_if(tl.begin(), tl.end(),
                      [](const PdfWord &w) { return std::abs(w.xMin - 45 * PtPerMm) < Tolerance; }),
        2);
}

TEST_F(CollectionTest, CopyShowsTheEarlierReceiptAndWritesNothing) {
    addSettings(41);
    session.balance = Money::fromWhole(100);
    session.reprint = {"17", Money::fromWhole(150), "MART AİDATI", "20.03.2024"};
    messages.answers = {true};
    kastah screen(session, "0346", "Ayşe Yılmaz");
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
    for (const char *table : {"kasa", "carhar", "ent"})
        EXPECT_EQ(count(table), 0) << table;
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 41);
    EXPECT_FALSE(QFile::exists(dayFile()));

    const QString text = pdfLayoutText(pdf);
    EXPECT_EQ(text.count("COPY COPY COPY"), 2) << text.toStdString();
    EXPECT_EQ(text.count("TEŞEKKÜR"), 0);
    EXPECT_EQ(text.count(": 17"), 2);
    // A copy shows the balance handed over, not the balance less the amount.
    EXPECT_EQ(boxes(pdfWords(pdf), "100.00").size(), 2u) << text.toStdString();
}

TEST_F(CollectionTest, RefusedOrFailingCasesLeaveWhatTheDeskAlwaysLeft) {
    const QString print = "Makbuz Yazıcıya Yazdırılsın ?";
    struct Case {
        const char *name;
        bool settings;
        bool refuseCashRow; // the suite's table turns the row down
        QString kod;
        QString amount;
        QStringList messages;  // every box, in order
        int result;            // the dialog's result
        int kasa, carhar, ent; // rows written
        QString evrak;
        int fisno; // -1: no settings row
        double dayTotal;
    } cases[] = {
        {"no settings row",
         false,
         false,
         "0346",
         "50",
         {"Ayarlar Yapılmamış...", print},
         QDialog::Accepted,
         1,
         1,
         2,
         "0",
         -1,
         50},
        {"no card", true, false, "9999", "50", {print}, QDialog::Accepted, 1, 0, 0, "42", 42, 50},
        {"cash-box row refused",
         true,
         true,
         "0346",
         "50",
         {"Kasa Kayıtları İşlenemedi", print},
         QDialog::Accepted,
         0,
         0,
         0,
         "",
         42,
         50},
        {"nothing typed", true, false, "0346", "", {}, -1, 0, 0, 0, "", 41, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempCompany other;
        RecordingMessages boxes;
        Session s(boxes);
        s.today = [] { return QDate(2026, 3, 15); };
        ASSERT_TRUE(startup::openCompanyFolder(s, other.folder()));
        s.tlonda = 2;
        ASSERT_TRUE(data::RsAddNew(s.carkart));
        data::FieldSet(s.carkart, "kod", "0346");
        data::FieldSet(s.carkart, "isim1", "Ayşe Yılmaz");
        ASSERT_TRUE(data::RsUpdate(s.carkart));
        if (c.settings) {
            ASSERT_TRUE(data::RsAddNew(s.ayar));
            data::FieldSet(s.ayar, "fisno", 41);
            ASSERT_TRUE(data::RsUpdate(s.ayar));
        }
        if (c.refuseCashRow) {
            QSqlQuery q(s.data.sql());
            if (s.data.isServer()) {
                ASSERT_TRUE(q.exec("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql "
                                   "AS $$BEGIN RAISE EXCEPTION 'kapalı'; END$$"));
                ASSERT_TRUE(q.exec("CREATE TRIGGER refuse BEFORE INSERT ON kasa "
                                   "FOR EACH ROW EXECUTE FUNCTION refuse()"));
            } else {
                ASSERT_TRUE(q.exec("CREATE TRIGGER refuse BEFORE INSERT ON kasa "
                                   "BEGIN SELECT RAISE(ABORT, 'kapalı'); END"));
            }
        }
        {
            kastah screen(s, c.kod, "Ali Veli");
            screen.setResult(-1);
            screen.show();
            QTest::keyClicks(part<xtext>(screen, "tutar"), c.amount);
            QTest::mouseClick(part<QPushButton>(screen, "tamam"), Qt::LeftButton);
            EXPECT_EQ(screen.result(), c.result);
            EXPECT_EQ(screen.isVisible(), c.result == -1);
        }
        QStringList seen;
        for (const auto &b : boxes.boxes)
            seen << b.text;
        EXPECT_EQ(seen, c.messages);
        if (c.refuseCashRow) {
            EXPECT_EQ(boxes.boxes[0].icon, Messages::Icon::Question);
        }
        const auto countOf = [&](const char *table) {
            QSqlQuery q(s.data.sql());
            EXPECT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM ") + table));
            return q.next() ? q.value(0).toInt() : -1;
        };
        EXPECT_EQ(countOf("kasa"), c.kasa);
        EXPECT_EQ(countOf("carhar"), c.carhar);
        EXPECT_EQ(countOf("ent"), c.ent);
        if (c.kasa) {
            QSqlQuery q(s.data.sql());
            ASSERT_TRUE(q.exec("SELECT evrak FROM kasa"));
            ASSERT_TRUE(q.next());
            EXPECT_EQ(q.value(0).toString(), c.evrak);
        }
        // The day total and the receipt counter move with every posting, even
        // one whose cash-box row was turned down.
        EXPECT_EQ(cashbox::dayTotal(s.companyFile("kasa1.dat"), QDate(2026, 3, 15)), c.dayTotal);
        QSqlQuery q(s.koop.sql());
        ASSERT_TRUE(q.exec("SELECT fisno FROM ayar"));
        EXPECT_EQ(q.next() ? q.value(0).toInt() : -1, c.fisno);
    }
}

TEST_F(CollectionTest, EscapeClosesWithoutPosting) {
    addSettings(41);
    kastah screen(session, "0346", "Ayşe Yılmaz");
    screen.show();
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
    ASSERT_TRUE(collection::printReceipt(session, header, v));

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

TEST_F(CollectionTest, CommandLineCollectsAsTheDeskDoes) {
    addSettings(41);
    writeCashBoxCode();
    data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2);
    ProcessResult r = runProgram("koop-cli", {"collect", company.folder(), "0346", "250.5",
                                              "--aciklama", "NİSAN AİDATI", "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out[0], "42");
    EXPECT_EQ(out[1], value("SELECT refer FROM kasa").toString());
    EXPECT_EQ(value("SELECT ack FROM carhar").toString(), "NİSAN AİDATI");
    EXPECT_EQ(value("SELECT count(*) FROM ent WHERE refer = '" + out[1] + "'").toInt(), 2);
    EXPECT_EQ(value("SELECT fisno FROM ayar", "dalun.dat").toInt(), 42);
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
        {{"0346"}, 2, "Kullanım"},
    };
    for (const Case &c : bad) {
        r = runProgram("koop-cli", QStringList{"collect", company.folder()} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
    EXPECT_EQ(count("kasa"), 1);

    // A code without a card: the cash-box row alone, as on the desk.
    r = runProgram("koop-cli", {"collect", company.folder(), "0'3%", "10"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.messages.join('\n').contains("Bu kodla bir üye kartı yok: 0'3%"));
    EXPECT_EQ(count("kasa"), 2);
    EXPECT_EQ(count("carhar"), 1);
    EXPECT_EQ(value("SELECT evrak FROM kasa WHERE carkod = '0''3%'").toString(), "43");
    EXPECT_EQ(cashbox::dayTotal(dayFile(), QDate::currentDate()), 260.5);
}

} // namespace
