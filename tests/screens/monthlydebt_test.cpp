// The month's dues (koopborc) on a temporary company: the member grid of a
// group, price edits, the posting, the vouchers in both printer modes, the
// screen from the keyboard and the command line.
#include "actions/monthlydebt/monthlydebtaction.h"
#include "actions/monthlydebt/voucherprint.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/pdftext.h"
#include "printing/printcontext.h"
#include "printing/prnx.h"
#include "printing/yzcsetup.h"
#include "screens/monthlydebt/koopborc.h"
#include "support/fixture.h"
#include "support/golden.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using namespace Qt::StringLiterals;
using monthlydebt::HeadPrices;

HeadPrices prices(std::initializer_list<int> whole) {
    HeadPrices p{};
    size_t i = 0;
    for (int w : whole)
        p[i++] = Money::fromWhole(w);
    return p;
}

// Members of two groups (one named with a quote and a percent sign), one
// without a group, a seller, and their standing prices.
class MonthlyDebt : public SessionTest {
  protected:
    MonthlyDebt() {
        session.tlonda = 2;
        session.pictures = false;
        data::Settings s;
        s.ack = {u"Aidat"_s, u"Yakıt"_s, u"Su"_s, u"Otopark"_s, u"Demirbaş"_s};
        s.fisno = 41;
        EXPECT_TRUE(data::storeSettings(session.ayar, s));
        EXPECT_TRUE(data::setNamedValue(session.genel, messages, u"unvan"_s, u"Işık Konut Koop."_s,
                                        false, 0));
        addMember(u"0001"_s, u"G1"_s, 0, prices({100, 0, 25, 0, 0}));
        addMember(u"0002"_s, u"G1"_s, 0, prices({0, 0, 0, 0, 0}));
        addMember(u"0003"_s, u"G'%"_s, 0, prices({100, -20, 0, 0, 0}));
        addMember(u"0004"_s, {}, 0, prices({10, 0, 0, 0, 0}));
        addMember(u"0005"_s, u"S"_s, 1, prices({0, 0, 0, 0, 7}));
        opening = monthlydebt::open(session);
    }
    void addMember(const QString &kod, const QString &grp, int asd, const HeadPrices &p) {
        addCard(kod, u"Üye "_s + kod, u"120.01"_s, asd);
        ASSERT_TRUE(data::findMember(session.carkart, kod) && data::RsEdit(session.carkart));
        if (!grp.isEmpty())
            data::FieldSet(session.carkart, u"grp"_s, grp);
        data::FieldSet(session.carkart, u"adr1"_s, u"Çınar Sok. "_s + kod);
        ASSERT_TRUE(data::RsUpdate(session.carkart));
        ASSERT_TRUE(data::storePrices(session.fiat, kod, p));
    }
    QStringList codes(const QString &group) {
        QStringList out;
        const auto members = monthlydebt::load(session, group);
        for (const monthlydebt::Member &m : *members)
            out << m.kod;
        return out;
    }
    // Each debt row with its reference's first character as a number.
    QStringList debts() {
        QStringList out;
        for (const QSqlRecord &r : rows(u"SELECT kod, kod1, tutar, ack, islem, ba, evrak, "
                                        "CASE WHEN tarih = vade AND doviz * 10000 = tutar "
                                        "THEN 1 ELSE 0 END, refer FROM carhar ORDER BY id"_s)) {
            QString row = joined(r);
            row.chop(r.value(8).toString().size());
            out << row + QString::number(r.value(8).toString().at(0).unicode());
        }
        return out;
    }
    monthlydebt::Opening opening;
};

TEST_F(MonthlyDebt, GroupsListEveryCardOfTheGroupWithItsPrices) {
    EXPECT_EQ(opening.groups, (QStringList{u"Tümü"_s, u"G'%"_s, u"G1"_s})); // members' groups
    EXPECT_EQ(opening.captions[4], u"Demirbaş"_s);
    EXPECT_EQ(opening.fisno, 41);
    EXPECT_EQ(monthlydebt::periodOf({2026, 3, 1}), u"Mart DÖNEMİ"_s);
    // "Tümü": every card, of any kind, with or without a group.
    EXPECT_EQ(codes(u"Tümü"_s), (QStringList{"0001", "0002", "0003", "0004", "0005"}));
    EXPECT_EQ(codes(u"G'%"_s), QStringList{"0003"}); // a quote and % are plain text
    EXPECT_EQ(codes(u"G"_s), QStringList{});
    EXPECT_EQ(codes(u"\xD800"_s), QStringList{}); // text no database holds
    const auto g1 = monthlydebt::load(session, u"G1"_s);
    EXPECT_EQ(monthlydebt::plainPrices((*g1)[0].prices, 2),
              (QStringList{"100.00", "0.00", "25.00", "0.00", "0.00"}));
    EXPECT_EQ((*g1)[0].adr1, u"Çınar Sok. 0001"_s);
}

TEST_F(MonthlyDebt, PricesAreStoredOnlyForACardTheTableCanHold) {
    const struct {
        QString kod;
        bool stored;
        QString message;
    } cases[] = {
        {u"0002"_s, true, {}},
        {u"0006"_s, false, u"Cari Hesabı Bulunamadı"_s},
        {u""_s, false, {}},
        // Cut to fiat's 8 characters it would be another member's row.
        {u"000100001"_s, false, u"Kaydedilemedi."_s},
    };
    addCard(u"000100001"_s);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kod.toStdString());
        messages.boxes.clear();
        EXPECT_EQ(monthlydebt::savePrices(session, c.kod, prices({5, 0, 0, 0, -3})), c.stored);
        EXPECT_EQ(messages.lastText(), c.message);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages.boxes.back().icon, Messages::Icon::Question);
        }
    }
    EXPECT_EQ(value(u"SELECT count(*) || '|' || sum(fiat1) || '|' || sum(fiat5) FROM fiat"_s,
                    u"dalun.dat"_s)
                  .toString(),
              u"5|2150000|40000"_s); // one row changed, none added
}

TEST_F(MonthlyDebt, PostsEveryPriceAboveZeroEachTimeItIsAsked) {
    auto members = *monthlydebt::load(session, u"Tümü"_s);
    members.push_back({u"9999"_s, u"Kartı yok"_s, prices({50}), {}, {}, {}});
    const QDate date(2026, 3, 1);
    EXPECT_EQ(monthlydebt::post(session, date, members, opening.captions), 5);
    const QString mark = u"21"_s; // the monthly debts' first reference character
    const QStringList once{"0001|1|1000000|Aidat|4|0||1|" + mark, "0001|3|250000|Su|4|0||1|" + mark,
                           "0003|1|1000000|Aidat|4|0||1|" + mark,
                           "0004|1|100000|Aidat|4|0||1|" + mark,
                           "0005|5|70000|Demirbaş|4|0||1|" + mark};
    EXPECT_EQ(debts(), once);
    EXPECT_EQ(value(u"SELECT count(DISTINCT refer) FROM carhar"_s).toInt(), 5);
    EXPECT_EQ(value(u"SELECT min(tarih) FROM carhar"_s).toLongLong(), dayNumber(date));

    // Nothing remembers the first run; a date that is no date posts nothing.
    EXPECT_EQ(monthlydebt::post(session, date, members, opening.captions), 5);
    EXPECT_FALSE(monthlydebt::post(session, QDate(), members, opening.captions));
    EXPECT_EQ(texts(), QStringList{u"Hatalı Tarih.."_s});
    EXPECT_EQ(debts(), once + once);
    EXPECT_EQ(value(u"SELECT borc1 FROM carkart WHERE kod = '0001'"_s).toLongLong(), 2500000);
}

TEST(MonthlyDebtRows, EachPrintButtonsRange) {
    using monthlydebt::Range;
    const struct {
        Range range;
        int current, count, first, last;
    } cases[] = {
        {Range::All, 2, 4, 0, 3},          {Range::FromCurrent, 2, 4, 2, 3},
        {Range::Current, 2, 4, 2, 2},      {Range::Current, 6, 4, 6, 3}, // beyond: nothing
        {Range::FromCurrent, 0, 0, 0, -1},
    };
    for (const auto &c : cases) {
        const monthlydebt::Rows rows = monthlydebt::rowsOf(c.range, c.current, c.count);
        EXPECT_EQ(rows.first, c.first);
        EXPECT_EQ(rows.last, c.last);
    }
}

// Vouchers of the first three members from No 41: "0002" owes nothing and
// takes no number; "0003" prints one item and the total 80.
TEST_F(MonthlyDebt, VouchersMatchTheGoldenFilesInBothModes) {
    const auto members = *monthlydebt::load(session, u"Tümü"_s);
    for (const bool dotMatrix : {true, false}) {
        SCOPED_TRACE(dotMatrix);
        QTemporaryDir dir;
        printing::PrintContext context(session);
        monthlydebt::presetPrinter(context.settings);
        EXPECT_EQ(context.settings.title, u"KASA TAHSİLAT MAKBUZU"_s);
        EXPECT_EQ(context.settings.lineCount, 33);
        context.settings.dotMatrix = dotMatrix;
        context.dotMatrixCopy = dir.filePath(u"job.txt"_s);
        context.pdfFile = dir.filePath(u"job.pdf"_s);
        const monthlydebt::VoucherRun run{context.settings.title,
                                          {2026, 3, 1},
                                          u"Mart DÖNEMİ"_s,
                                          41,
                                          monthlydebt::cooperativeName(session),
                                          opening.captions,
                                          2,
                                          u"TL"_s,
                                          u"Kr"_s};
        {
            prnx p(context);
            EXPECT_EQ(monthlydebt::printVouchers(p, members, {0, 2}, run), 2);
        }
        QFile out(context.dotMatrixCopy);
        EXPECT_GOLDEN(dotMatrix ? (out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray())
                                : pdfWordList(context.pdfFile),
                      dotMatrix ? u"vouchers.txt"_s : u"vouchers_graphic.txt"_s);
        // "0002" alone owes nothing: no page comes out, not even a blank one.
        context.dotMatrixCopy = dir.filePath(u"none.txt"_s);
        context.pdfFile = dir.filePath(u"none.pdf"_s);
        {
            prnx p(context);
            EXPECT_EQ(monthlydebt::printVouchers(p, members, {1, 1}, run), 0);
        }
        EXPECT_FALSE(QFile::exists(context.dotMatrixCopy) || QFile::exists(context.pdfFile));
    }
    printing::PrintContext closed(session);
    closed.settings.dotMatrix = false;
    closed.pdfFile = u"/no/such/folder/x.pdf"_s;
    prnx p(closed);
    EXPECT_FALSE(monthlydebt::printVouchers(p, members, {0, 4}, {}));
    EXPECT_TRUE(messages.lastText().startsWith(
        u"Yazıcı Yazdırılamıyor..\nPDF dosyası yazılamıyor: /no/such/folder/x.pdf: "_s))
        << messages.lastText().toStdString();
}

TEST_F(MonthlyDebt, ScreenFromTheKeyboard) {
    QTemporaryDir dir;
    printing::PrintContext print(session);
    ScreenContext desk(session);
    print.pdfFile = dir.filePath(u"dekont.pdf"_s);
    print.dotMatrixCopy = dir.filePath(u"dekont.txt"_s);
    koopborc w(desk, print);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *group = part<QComboBox>(w, "grup");
    auto *grid = part<dclist>(w, "uyeler");
    EXPECT_TRUE(group->hasFocus());
    EXPECT_EQ(part<xtext>(w, "tarih")->Text(), u"15.03.2026"_s);
    EXPECT_EQ(part<xtext>(w, "fisNo")->Text(), u"41"_s);
    EXPECT_EQ(part<xtext>(w, "donem")->Text(), u"Mart DÖNEMİ"_s);
    EXPECT_EQ(grid->Baslik(6), u"Demirbaş"_s);
    EXPECT_EQ(grid->ListCount(), 5);
    group->setCurrentIndex(2); // G1
    EXPECT_EQ(grid->ListCount(), 2);

    // Another desk's price shows when the clerk comes into the grid.
    ASSERT_TRUE(data::storePrices(session.fiat, u"0002"_s, prices({0, 0, 40, 0, 0})));
    QTest::keyClick(group, Qt::Key_Return);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->Caption(1, 4).toString(), u"40"_s);

    // Row 2: Aidat 7, then past the last price: the row is stored.
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), u"7"_s);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(grid->CurrentMode(), 1);
    EXPECT_EQ(value(u"SELECT fiat1 || '|' || fiat3 FROM fiat WHERE cari = '0002'"_s, u"dalun.dat"_s)
                  .toString(),
              u"70000|400000"_s);

    messages.answers = {true};
    QTest::keyClick(grid, Qt::Key_F5);
    EXPECT_EQ(messages.lastText(), u"Aylık Borçlandırma Cariye Yazılacak.."_s);
    EXPECT_EQ(count("carhar"), 4); // 0001 twice, 0002 twice
    EXPECT_EQ(part<QLabel>(w, "durum")->text(), u"4 borç yazıldı."_s);
    // The same day again is asked about, and "Hayır" posts nothing.
    messages.answers = {true};
    QTest::keyClick(grid, Qt::Key_F5);
    EXPECT_EQ(messages.lastText(),
              u"Bu tarihte grubun 2 üyesinde bu borçlar zaten var (Aidat). Yeniden yazılsın mı?"_s);
    EXPECT_EQ(count("carhar"), 4);

    // F8: the setup with the vouchers' preset; the title edited there is kept.
    QTimer::singleShot(0, [] {
        auto *setup = qobject_cast<yzcsetup *>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        setup->titleBox()->setText(u"AİDAT DEKONTU"_s);
        setup->okButton()->click();
    });
    QTest::keyClick(part<xtext>(w, "donem"), Qt::Key_F8);
    EXPECT_EQ(monthlydebt::voucherTitle(), u"AİDAT DEKONTU"_s);
    EXPECT_TRUE(QFile::exists(print.dotMatrixCopy)); // the preset's dot-matrix

    // The row the keyboard went to is the one printed, and is kept when the
    // clerk comes back into the grid.
    ASSERT_EQ(grid->CurSat(), 1);
    part<xtext>(w, "donem")->setFocus();
    grid->setFocus();
    EXPECT_EQ(grid->CurSat(), 1);
    QTimer::singleShot(0, [] {
        qobject_cast<yzcsetup *>(QApplication::activeModalWidget())->okButton()->click();
    });
    part<QPushButton>(w, "tekSatir")->click();
    QFile one(print.dotMatrixCopy);
    ASSERT_TRUE(one.open(QIODevice::ReadOnly));
    const QByteArray voucher = one.readAll();
    EXPECT_TRUE(voucher.contains("ye Kodu :0002") && !voucher.contains("ye Kodu :0001"));

    // The period follows the date until the clerk writes one of his own.
    auto *date = part<xtext>(w, "tarih");
    auto *period = part<xtext>(w, "donem");
    date->setFocus();
    QTest::keyClicks(date, u"15042026"_s);
    EXPECT_EQ(date->Text(), u"15.04.2026"_s);
    EXPECT_EQ(period->Text(), u"Nisan DÖNEMİ"_s);
    period->setTextValue(u"Ek Dönem"_s);
    date->setFocus();
    QTest::keyClicks(date, u"15052026"_s);
    EXPECT_EQ(period->Text(), u"Ek Dönem"_s);

    QTest::keyClick(part<xtext>(w, "tarih"), Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    ASSERT_TRUE(
        monthlydebt::storeVoucherTitle(QString::fromUtf16(monthlydebt::DefaultVoucherTitle)));
}

TEST_F(MonthlyDebt, CommandLine) {
    ASSERT_TRUE(data::setNamedValue(session.genel, messages, "tlonda", {}, false, 2));
    const QString folder = company.folder();
    ProcessResult r =
        runProgram("koop-cli", {"prices", folder, "--group", "G1", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).object()["rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject()["fiat3"].toString(), u"25.00"_s);

    r = runProgram("koop-cli", {"set-prices", folder, "0002", "12.5", "0", "0", "0", "-1"});
    EXPECT_EQ(r.exitCode, 0) << r.messages.join(';').toStdString();
    r = runProgram("koop-cli", {"monthly-debt", folder, "--date", "01.03.2026", "--group", "G1"});
    EXPECT_EQ(r.out, u"3\n"_s) << r.messages.join(';').toStdString();
    r = runProgram("koop-cli", {"monthly-debt", folder, "--date", "01.03.2026", "--group", "G1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.messages.join('\n').contains(u"--again"_s)) << r.messages.join(';').toStdString();

    QTemporaryDir dir;
    const QString file = dir.filePath(u"dekont.txt"_s);
    r = runProgram("koop-cli", {"vouchers", folder, "--date", "01.03.2026", "--from-row", "2",
                                "--no", "7", "--out", file});
    // 0002 to 0005, each owing something.
    EXPECT_EQ(r.out, u"4\n"_s) << r.messages.join(';').toStdString();
    QFile printed(file);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QByteArray bytes = printed.readAll();
    EXPECT_TRUE(bytes.contains("No :7 ") && bytes.contains("No :10 ") && !bytes.contains("No :11"));

    const struct {
        QStringList args;
        int exit;
        QString message;
    } bad[] = {
        {{"monthly-debt", folder, "--date", "31.02.2026"}, 1, u"Hatalı Tarih.."_s},
        {{"monthly-debt", folder, "--date", "01.03.2026", "--group", "G9"}, 1, u"G9"_s},
        {{"set-prices", folder, "0002", "1.234", "0", "0", "0", "0"}, 1, u"1.234"_s},
        {{"set-prices", folder, "0009", "1", "0", "0", "0", "0"}, 1, u"Cari Hesabı Bulunamadı"_s},
        {{"vouchers", folder, "--date", "01.03.2026", "--row", "1", "--from-row", "2", "--out",
          file},
         2,
         {}},
        {{"vouchers", folder, "--date", "01.03.2026", "--row", "0", "--out", file}, 2, u"--row"_s},
    };
    for (const auto &c : bad) {
        r = runProgram("koop-cli", c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
    EXPECT_EQ(count("carhar"), 3); // nothing from the refusals
}

} // namespace
