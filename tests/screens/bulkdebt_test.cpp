// Bulk dues (topbrc) on a temporary company: the rows a run writes, its
// refusals, a run killed half-way, the screen from the keyboard and the
// command line.
#include "actions/bulkdebt/bulkdebtaction.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/bulkdebt/topbrc.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

class BulkDebt : public SessionTest {
  protected:
    BulkDebt() {
        session.tlonda = 2;
        session.pictures = false;
        addCard(u"0001"_s, u"Ayşe Yılmaz"_s, u"120.01.001"_s);
        addCard(u"0002"_s, u"Ali Kaya"_s, u"120"_s); // too short for the suite
        addCard(u"0003"_s, u"Satıcı"_s, u"320.01.001"_s, 1);
        addCard(u"0010"_s, u"Can Er"_s, u"120.01.010"_s);
    }
    void addHeads() {
        data::Settings settings;
        settings.ack = {u"Aidat"_s, u"Yakıt"_s, u"Su"_s, u"Otopark"_s, u"Demirbaş"_s};
        settings.muh = {u"600.01.01"_s, QString(), u"600.01.03"_s, u"600"_s, u"600.01.05"_s};
        ASSERT_TRUE(data::storeSettings(session.ayar, settings));
    }
    // "kod date head amount description" per ledger row in entry order;
    // every row is checked for what never varies.
    QString ledger() {
        QStringList out;
        for (const auto &r : rows("SELECT kod, tarih, kod1, tutar, ack, islem, ba, vade, doviz, "
                                  "evrak, refer FROM carhar ORDER BY id")) {
            EXPECT_EQ(r.value(5).toInt(), 4);
            EXPECT_EQ(r.value(6).toInt(), 0);
            EXPECT_EQ(r.value(7), r.value(1));
            EXPECT_EQ(Money::fromDouble(r.value(8).toDouble()),
                      Money::fromUnits(r.value(3).toLongLong()));
            EXPECT_EQ(r.value(9).toString(), QString());
            EXPECT_EQ(r.value(10).toString().size(), 8);
            EXPECT_TRUE(r.value(10).toString().startsWith(QChar(1)));
            out << QStringList{r.value(0).toString(),
                               formatTrDate(dateFromDayNumber(r.value(1).toLongLong())),
                               r.value(2).toString(),
                               plainAmount(Money::fromUnits(r.value(3).toLongLong()), 2),
                               r.value(4).toString()}
                       .join(u' ');
        }
        return out.join(u"; "_s);
    }
    // "account side amount description" per integration row; each shares
    // the reference and date of a ledger row.
    QString ent() {
        QStringList out;
        for (const auto &r : rows("SELECT e.muhkod, e.ba, e.tutar, e.ack, e.yer, e.enttar, "
                                  "e.tarih, (SELECT count(*) FROM carhar c WHERE c.refer = e.refer "
                                  "AND c.tarih = e.tarih AND c.tutar = e.tutar) FROM ent e "
                                  "ORDER BY e.id")) {
            EXPECT_EQ(r.value(4).toInt(), 0);
            EXPECT_EQ(r.value(5), r.value(6));
            EXPECT_EQ(r.value(7).toInt(), 1);
            out << QStringList{r.value(0).toString(), r.value(1).toString(),
                               plainAmount(Money::fromUnits(r.value(2).toLongLong()), 2),
                               r.value(3).toString().trimmed()}
                       .join(u' ');
        }
        return out.join(u"; "_s);
    }
    void clear() {
        for (const char *sql :
             {"DELETE FROM carhar", "DELETE FROM ent", "UPDATE carkart SET borc1 = 0, alacak1 = 0"})
            ASSERT_TRUE(session.data.sql().exec(QString::fromLatin1(sql)).isActive());
    }
};

bulkdebt::HeadAmounts amounts(std::initializer_list<const char *> texts) {
    bulkdebt::HeadAmounts out{};
    size_t i = 0;
    for (const char *t : texts)
        out[i++] = *Money::parse(QString::fromLatin1(t));
    return out;
}

TEST_F(BulkDebt, RunsRefusalsAndTheRowsTheyWrite) {
    const bulkdebt::Request plain{u"2024"_s, 3, 5, u"0001"_s, u"0001"_s, amounts({"100"})};
    EXPECT_FALSE(bulkdebt::run(session, plain));
    const bulkdebt::Opening opening = bulkdebt::open(session);
    EXPECT_EQ(texts(), QStringList(2, u"Ayarlar Yapılmamış..."_s));
    EXPECT_EQ(opening.captions[4], u"Tutar5"_s);
    addHeads();

    const struct {
        bulkdebt::Request request;
        QString message; // the refusal, if any
        const char *ledger, *ent;
    } cases[] = {
        {{u"2024"_s, 3, 5, u"0001"_s, u"0001"_s, amounts({"100", "0", "20"})},
         {},
         "0001 01.03.2024 1 100.00 Mart 2024 Aidat; 0001 01.03.2024 3 20.00 Mart 2024 Su; "
         "0001 01.04.2024 1 100.00 Nisan 2024 Aidat; 0001 01.04.2024 3 20.00 Nisan 2024 Su; "
         "0001 01.05.2024 1 100.00 Mayıs 2024 Aidat; 0001 01.05.2024 3 20.00 Mayıs 2024 Su",
         "120.01.001 B 100.00 Mart 2024 Aidat; 600.01.01 A 100.00 Mart 2024 Aidat; "
         "120.01.001 B 20.00 Mart 2024 Su; 600.01.03 A 20.00 Mart 2024 Su; "
         "120.01.001 B 100.00 Nisan 2024 Aidat; 600.01.01 A 100.00 Nisan 2024 Aidat; "
         "120.01.001 B 20.00 Nisan 2024 Su; 600.01.03 A 20.00 Nisan 2024 Su; "
         "120.01.001 B 100.00 Mayıs 2024 Aidat; 600.01.01 A 100.00 Mayıs 2024 Aidat; "
         "120.01.001 B 20.00 Mayıs 2024 Su; 600.01.03 A 20.00 Mayıs 2024 Su"},
        // Kind 1 gets nothing, and codes compare as text: "0010" is beyond
        // "0002". Heads without an account code of 4 characters, and 0002's
        // short code, give debts alone.
        {{u"2025"_s, 12, 12, u"0001"_s, u"0003"_s, amounts({"0", "50", "0", "7", "1.5"})},
         {},
         "0001 01.12.2025 2 50.00 Aralık 2025 Yakıt; 0001 01.12.2025 4 7.00 Aralık 2025 Otopark; "
         "0001 01.12.2025 5 1.50 Aralık 2025 Demirbaş; 0002 01.12.2025 2 50.00 Aralık 2025 Yakıt; "
         "0002 01.12.2025 4 7.00 Aralık 2025 Otopark; 0002 01.12.2025 5 1.50 Aralık 2025 Demirbaş",
         "120.01.001 B 1.50 Aralık 2025 Demirbaş; 600.01.05 A 1.50 Aralık 2025 Demirbaş"},
        {{u"2024"_s, 1, 12, u"0500"_s, u"0600"_s, amounts({"10"})}, {}, "", ""},
        // The checks in their order: the first failing one speaks.
        {{u"2024"_s, 5, 3, u"0100"_s, u"0099"_s, amounts({"0"})},
         u"Tutar Yazılmamış...."_s,
         "",
         ""},
        {{u"2024"_s, 5, 3, u"0100"_s, u"0099"_s, amounts({"1"})},
         u"Başlangıç ve Bitiş Dönem Hatalı.."_s,
         "",
         ""},
        {{u"2024"_s, 3, 5, u"0100"_s, u"0099"_s, amounts({"1"})},
         u"Cari Kod Sıralaması Hatalı..."_s,
         "",
         ""},
        {{u""_s, 3, 5, u"0001"_s, u"0002"_s, amounts({"1"})}, u"Hatalı Tarih.."_s, "", ""},
    };
    for (const auto &c : cases) {
        clear();
        messages.boxes.clear();
        const auto result = bulkdebt::run(session, c.request);
        const QString expected = QString::fromUtf8(c.ledger);
        ASSERT_EQ(result.has_value(), c.message.isEmpty()) << c.message.toStdString();
        EXPECT_EQ(texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(ledger(), expected);
        EXPECT_EQ(ent(), QString::fromUtf8(c.ent));
        if (result) {
            EXPECT_EQ(result->debts, expected.isEmpty() ? 0 : expected.count(u';') + 1);
            EXPECT_EQ(result->integrationRows, ent().isEmpty() ? 0 : ent().count(u';') + 1);
        }
    }
    // The debts raise the card's debit bucket; a second run posts again,
    // under references of its own.
    clear();
    ASSERT_TRUE(bulkdebt::run(session, cases[1].request));
    EXPECT_EQ(value("SELECT borc1 FROM carkart WHERE kod = '0002'").toLongLong(),
              Money::parse("58.50")->units());
    ASSERT_TRUE(bulkdebt::run(session, cases[1].request));
    EXPECT_EQ(value("SELECT count(DISTINCT refer) FROM carhar").toInt(), 12);
    EXPECT_EQ(value("SELECT borc1 FROM carkart WHERE kod = '0002'").toLongLong(),
              Money::parse("117")->units());
}

TEST_F(BulkDebt, AKilledRunLeavesNothing) {
    addHeads();
    // Enough members that the run is well under way when it is killed.
    ASSERT_TRUE(session.data.beginWrite());
    for (int i = 100; i < 1100; ++i)
        addCard(QString::number(i).rightJustified(5, u'0'));
    ASSERT_TRUE(session.data.commit());
    QProcess child;
    child.start(binDir() + "koop-cli", {"bulk-debt", company.folder(), "--year", "2024", "--months",
                                        "1-12", "--amounts", "100,20,30,40,50", "--progress"});
    ASSERT_TRUE(child.waitForStarted());
    child.setReadChannel(QProcess::StandardError);
    // The second progress line comes a fifth of a second into the run.
    QByteArray err;
    while (err.count('\n') < 2 && child.waitForReadyRead(120000))
        err += child.readAllStandardError();
    ASSERT_EQ(child.state(), QProcess::Running) << err.toStdString();
    child.kill();
    child.waitForFinished();
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(count("carhar"), 0);
    EXPECT_EQ(count("ent"), 0);
    EXPECT_EQ(value("SELECT count(*) FROM carkart WHERE borc1 <> 0").toInt(), 0);
    EXPECT_EQ(value("SELECT count(*) FROM genel WHERE ack LIKE 'sayac%'").toInt(), 0);
    if (!company.onServer()) {
        EXPECT_EQ(value("PRAGMA integrity_check").toString(), "ok");
    }
}

TEST_F(BulkDebt, ScreenFromTheKeyboard) {
    today = QDate(2024, 3, 15);
    addHeads();
    printing::PrintContext print(session);
    ScreenContext desk(session);
    topbrc w(desk, print);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QComboBox *first = part<QComboBox>(w, "baslangicAy");
    QComboBox *last = part<QComboBox>(w, "bitisAy");
    xtext *amount = part<xtext>(w, "tutar1");
    EXPECT_EQ(first->currentText(), u"Ocak"_s);
    EXPECT_EQ(last->currentText(), u"Aralık"_s);
    EXPECT_EQ(part<xtext>(w, "baslangicCari")->Text(), u"0001"_s);
    EXPECT_EQ(part<xtext>(w, "bitisCari")->Text(), u"0010"_s);
    EXPECT_EQ(part<xtext>(w, "yil")->Text(), u"2024"_s);
    EXPECT_TRUE(amount->hasFocus());
    for (const QLabel *label : w.findChildren<QLabel *>())
        if (label->buddy() == amount) {
            EXPECT_EQ(label->text(), u"Aidat"_s);
        }

    QTest::keyClicks(amount, "12.5");
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Down);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(last->hasFocus());
    QTest::keyClick(last, Qt::Key_Up);
    QTest::keyClick(last, Qt::Key_Return);
    EXPECT_TRUE(part<xtext>(w, "baslangicCari")->hasFocus());
    QTest::keyClick(part<QPushButton>(w, "kaydet"), Qt::Key_Space);
    EXPECT_EQ(texts(), QStringList{u"Kayıtlar Tamamlandı...."_s});
    EXPECT_EQ(messages.boxes.front().icon, Messages::Icon::None);
    // February to November for 0001, 0002 and 0010.
    EXPECT_EQ(count("carhar"), 30);
    EXPECT_EQ(value("SELECT min(ack) FROM carhar").toString(), u"Ağustos 2024 Aidat"_s);
    EXPECT_EQ(part<QLabel>(w, "durum")->text(), u"30 borç, 40 entegrasyon satırı yazıldı."_s);
    // Off "Kaydet", so another Enter posts nothing; the same run again is
    // asked about, and "Hayır" writes nothing.
    EXPECT_TRUE(amount->hasFocus());
    messages.boxes.clear();
    part<QPushButton>(w, "kaydet")->click();
    EXPECT_EQ(texts(), QStringList{u"Kod aralığındaki 3 üyede bu borçlar zaten var (Ağustos 2024 "
                                   u"Aidat). Yeniden yazılsın mı?"_s});
    EXPECT_EQ(count("carhar"), 30);

    // Amounts typed after the run are not lost to a stray Esc: Hayır stays.
    QTest::keyClicks(part<xtext>(w, "tutar2"), "3");
    messages.answers = {false};
    QTest::keyClick(amount, Qt::Key_Escape);
    EXPECT_EQ(messages.lastText(), u"Çıkılsın mı?"_s);
    EXPECT_TRUE(w.isVisible());
    messages.answers = {true};
    QTest::keyClick(amount, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(BulkDebt, CommandLine) {
    addHeads();
    const QString folder = company.folder();
    ProcessResult r =
        runProgram("koop-cli", {"bulk-debt", folder, "--year", "2024", "--months", "3-4", "--codes",
                                "0001-0002", "--amounts", "100,,5"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, u"8 8\n"_s);
    EXPECT_EQ(r.err, QString()); // no progress off a terminal
    const struct {
        QStringList args;
        int exit;
        QString message;
    } bad[] = {
        {{"--months", "13-1", "--amounts", "1"}, 2, u"--months 1 ile 12"_s},
        {{"--months", "1-2"}, 2, {}},
        {{"--months", "1-2", "--amounts", "1,2,3,4,5,6"}, 2, {}},
        {{"--months", "1-2", "--amounts", "1,x"}, 1, u"Tutar 0 ile 9,999,999,999.99"_s},
        {{"--months", "1-2", "--amounts", "1", "--codes", "0100-0099"},
         1,
         u"Cari Kod Sıralaması Hatalı..."_s},
        {{"--months", "2-1", "--amounts", "1"}, 1, u"Başlangıç ve Bitiş Dönem Hatalı.."_s},
        // April again for 0002 (March and April as well for 0001).
        {{"--months", "4-4", "--amounts", "100", "--codes", "0002-0003"},
         1,
         u"Kod aralığındaki 1 üyede bu borçlar zaten var (Nisan 2024 Aidat)."_s},
    };
    for (const auto &c : bad) {
        r = runProgram("koop-cli", QStringList{"bulk-debt", folder, "--year", "2024"} + c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
    EXPECT_EQ(count("carhar"), 8);
    // Another head, or --again, is no repeat.
    r = runProgram("koop-cli", {"bulk-debt", folder, "--year", "2024", "--months", "4-4", "--codes",
                                "0002-0002", "--amounts", ",7"});
    EXPECT_EQ(r.out, u"1 0\n"_s) << r.messages.join(';').toStdString();
    r = runProgram("koop-cli", {"bulk-debt", folder, "--year", "2024", "--months", "4-4", "--codes",
                                "0002-0002", "--amounts", "100", "--again"});
    EXPECT_EQ(r.out, u"1 0\n"_s) << r.messages.join(';').toStdString();
}

} // namespace
