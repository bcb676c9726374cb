// Voiding a receipt: the reversal brings every figure back to what it was
// before the collection, and the list of voids tells the auditors why.
#include "actions/collection/collectionaction.h"
#include "actions/collection/voidaction.h"
#include "actions/generallist/generallistaction.h"
#include "actions/headcollection/headcollectionaction.h"
#include "actions/statement/statementaction.h"
#include "data/cashbox.h"
#include "printing/pdftext.h"
#include "printing/printcontext.h"
#include "support/fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class VoidTest : public SessionTest {
  protected:
    VoidTest() {
        session.tlonda = 2;
        addCard("0346", "Ayşe Yılmaz", "120.01.0346");
        addSettings(41, 2);
        writeCashBoxCode();
        EXPECT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
        // A debt as the dues screens leave it, its card's total raised.
        addLedgerItem("0346", {2026, 1, 15}, {2026, 1, 15}, 0, 4, "300", "Ocak 2026 Aidat");
        EXPECT_TRUE(QSqlQuery(session.data.sql()).exec("UPDATE carkart SET borc1 = 3000000"));
    }

    // Every figure a void must give back: the statement at a later date,
    // the member's general-list line, what the integration table says each
    // account holds, the cash box's days and what the card's buckets hold.
    QString figures() {
        const QDate base(2026, 5, 15);
        QStringList out;
        const auto s = statement::compute(session, "0346", base, 2, 0);
        out << s->finalBalance.toPlain() << s->totalDebt.toPlain() << s->totalPaid.toPlain()
            << s->totalSurcharge.toPlain();
        const auto list = generallist::build(session, "0346", "0346", base, 2);
        const generallist::Figures &f = list->rows.at(0).figures;
        out << f.borc.toPlain() << f.odenen.toPlain() << f.gecikme.toPlain() << f.kalan.toPlain();
        for (const QSqlRecord &r :
             rows("SELECT muhkod, sum(CASE WHEN ba = 'A' THEN tutar ELSE -tutar END) FROM ent "
                  "GROUP BY muhkod HAVING sum(CASE WHEN ba = 'A' THEN tutar ELSE -tutar END) <> 0"))
            out << joined(r);
        const QString file = session.companyFile("kasa1.dat");
        out << QString::number(cashbox::dayTotal(file, {2026, 3, 15}) +
                               cashbox::dayTotal(file, {2026, 3, 20}));
        out << joined(rows("SELECT borc1, alacak1 FROM carkart")[0]);
        return out.join(u'|');
    }

    ProcessResult cli(const QStringList &args) {
        return runProgram("koop-cli", QStringList{args[0], company.folder()} + args.mid(1));
    }
};

TEST_F(VoidTest, AVoidGivesBackEveryFigureAndIsListedWithItsReason) {
    const QString before = figures();
    collection::Desk desk(session, "0346");
    const auto taken = desk.take(Money::fromWhole(150), collection::defaultDescription());
    ASSERT_TRUE(taken.committed);
    ASSERT_EQ(taken.receiptNo, 42);
    ASSERT_NE(figures(), before);

    // Refused with a word and nothing written.
    const struct {
        QStringList args;
        const char *message;
    } refused[] = {
        {{"void", "42"}, "İptal nedeni yazılmamış."},
        {{"void", "42", "--reason", QString(61, u'x')}, "en çok 60 karakter"},
        {{"void", "43", "--reason", "Yanlış"}, "43 numaralı bir makbuz verilmemiş."},
        {{"void", "42'--", "--reason", "Yanlış"}, "Makbuz No hatalı"},
        {{"void", "42", "--reason", "Yanlış", "--date", "14.03.2026"}, "önce olamaz"},
    };
    for (const auto &r : refused) {
        const ProcessResult p = cli(r.args);
        EXPECT_EQ(p.exitCode, 1) << r.args.join(' ').toStdString();
        EXPECT_TRUE(p.messages.join('\n').contains(QString::fromUtf8(r.message)))
            << p.messages.join(';').toStdString();
    }
    EXPECT_EQ(value("SELECT count(*) FROM kasa").toInt(), 1);

    ProcessResult p =
        cli({"void", "42", "--reason", "Yanlış üyeye yazıldı", "--date", "20.03.2026"});
    ASSERT_EQ(p.exitCode, 0) << p.messages.join(';').toStdString();
    const QString voidRefer = p.out.trimmed();
    EXPECT_EQ(figures(), before);
    // Handed over as a range, the collection and its void cancel out too.
    p = cli({"integrate", "collections", "--from", "15.03.2026", "--to", "20.03.2026", "--account",
             "100.01"});
    EXPECT_EQ(p.out, "3\n") << p.messages.join(';').toStdString();
    EXPECT_EQ(figures(), before);
    // The collection's rows are still there, each with its reversal beside it.
    EXPECT_EQ(value("SELECT count(*) FROM kasa WHERE refer = '" + taken.refer + "'").toInt(), 1);
    EXPECT_EQ(joined(rows("SELECT tarih, islem, evrak, ba, tutar, ack, krefer, kasa FROM carhar "
                          "WHERE refer = '" +
                          voidRefer + "'")[0]),
              "46101|1|42|0|1500000|42 Nolu Makbuz İptali|" + taken.refer + "|1");
    EXPECT_EQ(
        joined(rows("SELECT evrak, tutar, tarih FROM kasa WHERE refer = '" + voidRefer + "'")[0]),
        "42|-1500000|46101");
    EXPECT_EQ(value("SELECT count(*) FROM ent WHERE refer = '" + voidRefer + "'").toInt(), 2);

    p = cli({"void", "42", "--reason", "Bir daha"});
    EXPECT_EQ(p.exitCode, 1);
    EXPECT_TRUE(p.messages.join('\n').contains("42 numaralı makbuz daha önce iptal edilmiş."));

    p = cli({"voids", "--format", "json", "--from", "20.03.2026"});
    ASSERT_EQ(p.exitCode, 0);
    const QJsonArray list = QJsonDocument::fromJson(p.out.toUtf8())["rows"].toArray();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0]["makbuz"].toInt(), 42);
    EXPECT_EQ(list[0]["mtarih"].toString(), "15.03.2026");
    EXPECT_EQ(list[0]["tutar"].toString(), "150.00");
    EXPECT_EQ(list[0]["neden"].toString(), "Yanlış üyeye yazıldı");
    EXPECT_EQ(list[0]["isim"].toString(), "Ayşe Yılmaz");
    // Before the void: the title, a blank line, the captions and the total.
    EXPECT_EQ(cli({"voids", "--to", "19.03.2026"}).out.count(u'\n'), 4);
    // Printed for the auditors, on the dot-matrix printer here.
    const QString printed = company.file("iptaller.txt");
    ASSERT_EQ(cli({"voids", "--print", printed, "--mode", "2"}).exitCode, 0);
    QFile file(printed);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray page = file.readAll();
    EXPECT_TRUE(page.contains("42        15.03.2026 20.03.2026 0346")) << page.toStdString();
    EXPECT_TRUE(page.contains("150.00"));
    // The receipt sequence, the day totals and the buckets all still add up.
    p = cli({"check"});
    EXPECT_EQ(p.out, "Sorun yok.\n") << p.out.toStdString();

    // A copy of it says what it is, across both halves of the page.
    const auto copy = desk.copyOf({"42", Money::fromWhole(150), "AİDAT TAHSİLATI", "15.03.2026"});
    EXPECT_TRUE(copy.voided);
    printing::PrintContext print(session);
    print.pdfFile = company.file("kopya.pdf");
    ASSERT_TRUE(desk.print(print, copy));
    // Turned text reads in order only without the layout.
    EXPECT_EQ(pdfTool({"-raw", print.pdfFile, "-"}).count("İPTAL EDİLMİŞTİR"), 2);
}

// By dues head: a ledger reversal per head, the cash box taken back, no day
// total (the collection never raised one); its number may be shared with a
// desk's receipt, and the member's code tells them apart.
TEST_F(VoidTest, ACollectionByHeadIsVoidedHeadByHead) {
    const QString before = figures();
    headcollection::Collection c{
        .kod = "0346",
        .name = "Ayşe Yılmaz",
        .date = today,
        .receiptNo = 42,
        .captions = headcollection::open(session).captions,
        .amounts = {Money::fromWhole(50), Money(), Money(), Money::fromWhole(25), Money()}};
    ASSERT_TRUE(headcollection::post(session, c));
    addCard("0400");
    collection::Desk desk(session, "0400");
    ASSERT_EQ(desk.take(Money::fromWhole(10), collection::defaultDescription()).receiptNo, 42);

    collection::VoidRequest request{.receiptNo = "42", .date = today, .reason = "Yanlış"};
    EXPECT_FALSE(collection::voidReceipt(session, request));
    EXPECT_TRUE(messages.lastText().contains("42 numaralı 2 tahsilat var"));
    request.kod = "0346";
    const auto voided = collection::voidReceipt(session, request);
    ASSERT_TRUE(voided);
    EXPECT_EQ(voided->collection.ledger.size(), 2u);
    EXPECT_EQ(value("SELECT count(*) FROM carhar WHERE ba = 0 AND islem = 1").toInt(), 2);
    EXPECT_EQ(value("SELECT sum(tutar) FROM carhar WHERE kod = '0346' AND islem = 1 AND ba = 0")
                  .toLongLong(),
              75 * Money::Scale);
    // Only the desk's 10 is in the day, and the member is back where she was.
    EXPECT_EQ(cashbox::dayTotal(session.companyFile("kasa1.dat"), today), 10.0);
    EXPECT_EQ(figures().section(u'|', 0, 7), before.section(u'|', 0, 7));
    EXPECT_FALSE(collection::receiptVoided(session, "42", "0400", today));
    EXPECT_TRUE(collection::receiptVoided(session, "42", "0346", today));
}

} // namespace
