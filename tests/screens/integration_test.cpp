// The hand-over to the accounting suite (Borcent) on a temporary company:
// the rows each of the three runs writes into `ent`, the screen from the
// keyboard, and the command line.
#include "actions/integration/integrationaction.h"
#include "base/inifile.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/integration/borcent.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

QDate d(const char *text) {
    return parseTrDate(QString::fromLatin1(text));
}

class Integration : public SessionTest {
  protected:
    Integration() {
        session.tlonda = 2;
        session.pictures = false;
        addCard(u"0001"_s, u"Ayşe Yılmaz"_s, u"120.01.001"_s);
        addCard(u"0002"_s, u"Ali Kaya"_s, u"12"_s); // too short for the suite
    }
    void debt(const char *kod, const char *date, const char *amount, const char *ack = "Aidat") {
        addLedgerItem(QString::fromLatin1(kod), d(date), d(date), 0, ledger::Debt, amount,
                      QString::fromUtf8(ack));
    }
    void payment(const char *kod, const char *date, const char *amount) {
        addLedgerItem(QString::fromLatin1(kod), d(date), d(date), 1, ledger::Collection, amount,
                      u"Makbuz"_s, u"7"_s);
    }
    // "date account side amount description" per row in entry order, joined
    // by "; "; every row is checked for what never varies.
    QString ent() {
        QStringList out;
        for (const auto &r : rows("SELECT tarih, muhkod, ba, tutar, ack, mik, yer, enttar, refer "
                                  "FROM ent ORDER BY id")) {
            EXPECT_EQ(r.value(4).toString().size(), 35);
            EXPECT_EQ(r.value(5).toDouble(), 0);
            EXPECT_EQ(r.value(6).toInt(), 1);
            EXPECT_EQ(r.value(7), r.value(0));
            EXPECT_EQ(r.value(8).toString().size(), 8);
            EXPECT_TRUE(r.value(8).toString().startsWith(QChar(1)));
            out << QStringList{formatTrDate(dateFromDayNumber(r.value(0).toLongLong())),
                               r.value(1).toString(), r.value(2).toString(),
                               plainAmount(Money::fromUnits(r.value(3).toLongLong()), 2),
                               r.value(4).toString().trimmed()}
                       .join(u' ');
        }
        return out.join(u"; "_s);
    }
    // One of the three runs: debts ('d') take a year and a month, collections
    // ('c') and the paid surcharge ('s', at 2 % a month) two dates. The
    // progress of the last debts or collections run, " done/count kod" a row,
    // is in `steps`.
    std::optional<int> run(char action, const char *a, const char *b, const char *account,
                           const QString &description = u"Açıklama"_s) {
        const QString x = QString::fromLatin1(a), y = QString::fromLatin1(b);
        const QString code = QString::fromLatin1(account);
        steps.clear();
        const auto progress = [this](int done, int count, const QString &kod) {
            steps += u" %1/%2 %3"_s.arg(done).arg(count).arg(kod);
        };
        if (action == 'd')
            return integration::postMonthlyDebts(session, x, y.toInt(), code, description,
                                                 progress);
        if (action == 'c')
            return integration::postCollections(session, x, y, code, description, progress);
        return integration::postPaidSurcharge(session, x, y, code, description, 2);
    }
    QString key(const char *name) {
        return ini::readValue(u"reent"_s, QString::fromLatin1(name), u"-"_s,
                              integration::accountFile(session));
    }
    QString steps;
};

TEST_F(Integration, MonthlyDebtsOfTheMonthWithTheirTotal) {
    debt("0001", "31.01.2024", "1");
    debt("0001", "01.02.2024", "100");
    debt("0002", "29.02.2024", "20", "Yakıt");
    debt("0009", "10.02.2024", "5"); // no card: neither a row nor in the total
    payment("0001", "10.02.2024", "50");
    addLedgerItem(u"0001"_s, d("15.02.2024"), d("15.02.2024"), 0, ledger::PostedSurcharge, "3",
                  u"G.Zammı"_s);
    debt("0001", "01.03.2024", "7");
    debt("0001", "28.02.2023", "11");
    debt("0001", "01.03.2023", "13");
    debt("0001", "01.03.2100", "17");
    const struct {
        const char *year, *month, *rows;
    } cases[] = {
        // 0002's account code is too short: the writer skips its row, the
        // total keeps its amount.
        {"2024", "2", "01.02.2024 120.01.001 B 100.00 Aidat; 01.02.2024 600.01 A 120.00 Aylık"},
        {"2023", "2", "01.02.2023 120.01.001 B 11.00 Aidat; 01.02.2023 600.01 A 11.00 Aylık"},
        // In 2100 the office's February runs to 1 March.
        {"2100", "2", "01.02.2100 120.01.001 B 17.00 Aidat; 01.02.2100 600.01 A 17.00 Aylık"},
        {"2024", "4", ""}, // nothing due: not even a total of 0
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(session.data.sql().exec(u"DELETE FROM ent"_s).isActive());
        const QString expected = QString::fromUtf8(c.rows);
        EXPECT_EQ(run('d', c.year, c.month, "600.01", u"Aylık"_s),
                  expected.isEmpty() ? 0 : expected.count(u';') + 1)
            << c.year;
        EXPECT_EQ(ent(), expected) << c.year;
    }
    // A second run writes everything again, under new references; each run
    // that wrote anything is on record for the question before the next.
    EXPECT_EQ(run('d', "2023", "2", "600.01", u"Aylık"_s), 2);
    EXPECT_EQ(run('d', "2023", "2", "600.01", u"Aylık"_s), 2);
    EXPECT_EQ(steps, u" 1/1 0001"_s);
    EXPECT_EQ(value("SELECT count(DISTINCT refer) FROM ent").toInt(), 4);
    const auto before = [&](const char *year, int month) {
        const auto period = integration::debtsPeriod(QString::fromLatin1(year), month);
        return integration::handedOverBefore(session, integration::Kind::Debts, period->first,
                                             period->second)
            .value_or(QString());
    };
    EXPECT_TRUE(before("2023", 2).startsWith(u"Bu dönem daha önce entegre edildi (15.03.2026 "_s))
        << before("2023", 2).toStdString();
    EXPECT_TRUE(before("2023", 2).endsWith(u", 2 satır)."_s));
    EXPECT_EQ(before("2024", 4), QString()); // nothing was written
    EXPECT_EQ(before("2023", 3), QString());
    // The total keeps what the writer skips, and the clerk is told so first.
    EXPECT_EQ(integration::confirmation(session, integration::Kind::Debts, d("01.02.2024"),
                                        d("29.02.2024")),
              u"Entegrasyon yapılsın mı?\n\nMuhasebe kodu olmayan 1 üyenin 1 satırı (toplam "
              u"20.00) yazılmayacak; tutarları toplam satırında olacak."_s);
    EXPECT_EQ(integration::confirmation(session, integration::Kind::Debts, d("01.02.2023"),
                                        d("28.02.2023")),
              u"Entegrasyon yapılsın mı?"_s);
    EXPECT_TRUE(messages.boxes.empty()) << texts().join(';').toStdString();
    EXPECT_EQ(key("borchesapkod"), u"600.01"_s);
    EXPECT_EQ(key("borcack"), u"Aylık"_s);
}

TEST_F(Integration, CollectionsOfTheRangeDatedOnItsLastDay) {
    payment("0001", "31.01.2024", "1");
    payment("0001", "01.02.2024", "40");
    payment("0002", "05.02.2024", "10");
    payment("0009", "05.02.2024", "9"); // no card
    payment("0001", "11.02.2024", "80");
    debt("0001", "03.02.2024", "100");
    EXPECT_EQ(run('c', "01.02.2024", "10.02.2024", "100.01", u"Kasa Tahsilat"_s), 2);
    // Every collection of the range is a step, one of a member without a card too.
    EXPECT_EQ(steps, u" 1/3 0001 2/3 0002 3/3 0009"_s);
    // The screen's description on every row, not the receipt's.
    EXPECT_EQ(ent(), u"10.02.2024 120.01.001 A 40.00 Kasa Tahsilat; "
                     u"10.02.2024 100.01 B 50.00 Kasa Tahsilat"_s);
    EXPECT_EQ(key("kasahesapkod"), u"100.01"_s);
}

TEST_F(Integration, BadDatesAndMissingCodesWriteNothing) {
    debt("0001", "01.02.2024", "100");
    payment("0001", "01.02.2024", "40");
    const struct {
        char action;
        const char *a, *b, *account;
        QString message;
        const char *keyWritten; // the section's account key afterwards, "-" for none
    } cases[] = {
        {'d', "20x4", "2", "600", u"Hatalı Tarih.."_s, "-"},
        {'d', "2024", "2", " 6 ", u"Muhasebe Kodu Girilmemiş.."_s, "6"},
        {'c', "1.2.2024", "", "100", u"Hatalı Başlangıç Tarihi .."_s, "-"},
        {'c', "01.02.2024", "30.02.2024", "100", u"Hatalı Bitiş Tarihi .."_s, "-"},
        {'c', "01.02.2024", "01.02.2024", "10", u"Muhasebe Kodu Girilmemiş.."_s, "-"},
        {'s', "", "01.02.2024", "642", u"Hatalı Başlangıç Tarihi .."_s, "-"},
        {'s', "01.02.2024", "x", "642", u"Hatalı Bitiş Tarihi .."_s, "-"},
    };
    for (const auto &c : cases) {
        messages.boxes.clear();
        EXPECT_FALSE(run(c.action, c.a, c.b, c.account).has_value()) << c.message.toStdString();
        EXPECT_EQ(texts(), QStringList{c.message});
        EXPECT_EQ(messages.boxes.front().icon, Messages::Icon::Warning);
        const char *accountKey = c.action == 'd'   ? "borchesapkod"
                                 : c.action == 'c' ? "kasahesapkod"
                                                   : "faizhesapkod";
        EXPECT_EQ(key(accountKey), QString::fromLatin1(c.keyWritten)) << c.message.toStdString();
        if (c.keyWritten[0] != '-') {
            ASSERT_TRUE(QFile::remove(integration::accountFile(session)));
        }
    }
    EXPECT_EQ(count("ent"), 0);
}

TEST_F(Integration, PaidSurchargeOnThePaymentsDueDate) {
    // The worked statement at 2 % a month: the payment due 20.03.2024
    // clears the 6.00 of surcharge carried until then.
    addSettings(0, 2);
    addCard(u"0003"_s, u"Satıcı"_s, u"320.01.001"_s, 1); // kind 1: not visited
    addCard(u"0004"_s, u"Can Er"_s, u"123"_s);
    for (const char *kod : {"0001", "0003", "0004"}) {
        debt(kod, "15.01.2024", "100");
        debt(kod, "15.02.2024", "100");
        payment(kod, "20.03.2024", "150");
    }
    const QString description = u"Gecikme zammı tahsilatı ve daha uzun bir açıklama"_s;
    EXPECT_EQ(integration::surchargeRate(session), 2);
    EXPECT_EQ(run('s', "01.03.2024", "10.05.2024", "642.01", description), 2);
    EXPECT_EQ(ent(), u"20.03.2024 120.01.001 B 6.00 "_s + description.left(35) +
                         u"; 20.03.2024 642.01 A 6.00 "_s + description.left(35));
    // 35 characters of the description, "-" and the card's code, cut by the writer.
    EXPECT_EQ(value("SELECT ack FROM ent WHERE ba = 'A'").toString(),
              data::integrationDescription(description.left(35) + u"-120.01.001"_s));
    // A 3-character code is booked by hand, though the writer would take it.
    EXPECT_EQ(texts(), QStringList{u"0004 Kodlu Carinin Muhasebe Kodu Yok..\nElle Yapınız.."_s});
    EXPECT_EQ(messages.boxes.front().icon, Messages::Icon::None);

    messages.boxes.clear();
    EXPECT_EQ(run('s', "01.04.2024", "10.05.2024", "642.01", u"Faiz"_s), 0);
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(key("faizack"), u"Faiz"_s);
}

TEST_F(Integration, ScreenOpensFromTheFileAndRunsASectionOnF5) {
    today = QDate(2024, 3, 15);
    debt("0001", "01.02.2024", "100");
    const QString file = integration::accountFile(session);
    ASSERT_TRUE(ini::writeValue(u"reent"_s, u"borchesapkod"_s, file, u"600.01"_s));
    ASSERT_TRUE(ini::writeValue(u"reent"_s, u"faizack"_s, file, u"Faiz Geliri"_s));
    printing::PrintContext print(session);
    ScreenContext desk(session);
    Borcent w(desk, print);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto field = [&](int i) {
        return part<xtext>(w, QStringLiteral("alan%1").arg(i).toLatin1().constData());
    };
    EXPECT_EQ(field(0)->Text(), u"2024"_s);
    EXPECT_EQ(part<QComboBox>(w, "ay")->currentText(), u"Mart"_s);
    EXPECT_EQ(field(1)->Text(), u"600.01"_s);
    EXPECT_EQ(field(10)->Text(), u"Faiz Geliri"_s);
    EXPECT_EQ(field(2)->Text(), QString());
    // Without a settings row the screen says so as it opens.
    EXPECT_EQ(texts(), QStringList{u"Ayarlar Yapılmamış..."_s});

    messages.boxes.clear();
    QComboBox *month = part<QComboBox>(w, "ay");
    month->setFocus();
    QTest::keyClick(month, Qt::Key_Up);
    QTest::keyClick(month, Qt::Key_Return);
    EXPECT_TRUE(field(1)->hasFocus());
    QTest::keyClicks(field(2), "Subat");
    // A stray key hands nothing over: "Hayır" is the question's default.
    QTest::keyClick(field(2), Qt::Key_F5);
    EXPECT_EQ(texts(), QStringList{u"Entegrasyon yapılsın mı?"_s});
    EXPECT_EQ(count("ent"), 0);
    messages.boxes.clear();
    messages.answers = {true};
    QTest::keyClick(field(2), Qt::Key_F5);
    EXPECT_EQ(texts(), (QStringList{u"Entegrasyon yapılsın mı?"_s, u"Bitti"_s}));
    EXPECT_EQ(ent(), u"01.02.2024 120.01.001 B 100.00 Aidat; 01.02.2024 600.01 A 100.00 Subat"_s);
    EXPECT_EQ(key("borcack"), u"Subat"_s);
    // The month again: asked once more, and nothing written without a yes.
    messages.boxes.clear();
    messages.answers = {true};
    QTest::keyClick(field(2), Qt::Key_F5);
    ASSERT_EQ(texts().size(), 2);
    EXPECT_TRUE(texts()[1].startsWith(u"Bu dönem daha önce entegre edildi (15.03.2024 "_s));
    EXPECT_TRUE(texts()[1].endsWith(u", 2 satır). Yeniden yazılsın mı?"_s));
    EXPECT_EQ(count("ent"), 2);

    // F5 in the surcharge section runs the surcharge, not the debts.
    messages.boxes.clear();
    field(7)->setTextValue(u"01.01.2024"_s);
    field(8)->setTextValue(u"10.05.2024"_s);
    messages.answers = {true};
    QTest::keyClick(field(9), Qt::Key_F5);
    EXPECT_EQ(texts(), (QStringList{u"Entegrasyon yapılsın mı?"_s, u"Bitti.."_s}));
    EXPECT_EQ(count("ent"), 2);
    QTest::keyClick(field(9), Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Integration, CommandLineTakesTheStoredCodesAndSaysWhatItWrote) {
    debt("0001", "01.02.2024", "100");
    payment("0001", "05.02.2024", "40");
    ASSERT_TRUE(ini::writeValue(u"reent"_s, u"kasahesapkod"_s, integration::accountFile(session),
                                u"100.01"_s));
    const QString folder = company.folder();
    ProcessResult r = runProgram("koop-cli", {"integrate", folder, "debts", "--year", "2024",
                                              "--month", "2", "--account", "600.01"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, u"2\n"_s);
    r = runProgram("koop-cli", {"integrate", folder, "collections", "--from", "01.02.2024", "--to",
                                "28.02.2024"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, u"2\n"_s);
    EXPECT_TRUE(ent().endsWith(u"; 28.02.2024 100.01 B 40.00 "_s)) << ent().toStdString();
    EXPECT_EQ(key("borchesapkod"), u"600.01"_s);

    const struct {
        QStringList args;
        int exit;
        QString message;
    } bad[] = {
        {{"debts", "--year", "2024", "--month", "13"}, 2, u"--month 1 ile 12"_s},
        {{"debts", "--year", "2024"}, 2, {}},
        {{"refunds", "--from", "01.02.2024", "--to", "28.02.2024"}, 2, {}},
        {{"surcharge", "--from", "01.02.2024", "--to", "31.02.2024", "--account", "642"},
         1,
         u"Hatalı Bitiş Tarihi .."_s},
        {{"debts", "--year", "2024", "--month", "3", "--account", ""},
         1,
         u"Muhasebe Kodu Girilmemiş.."_s},
        // Handed over already: not again without --again.
        {{"debts", "--year", "2024", "--month", "2"}, 1, u"daha önce entegre edildi"_s},
        {{"collections", "--from", "10.02.2024", "--to", "10.03.2024"},
         1,
         u"Yeniden yazmak için --again verilmeli."_s},
    };
    for (const auto &c : bad) {
        r = runProgram("koop-cli", QStringList{"integrate", folder} + c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages.join('\n').contains(c.message))
            << r.messages.join(';').toStdString();
    }
    EXPECT_EQ(count("ent"), 4);
    r = runProgram("koop-cli", {"integrate", folder, "debts", "--year", "2024", "--month", "2",
                                "--account", "600.01", "--again"});
    EXPECT_EQ(r.out, u"2\n"_s) << r.messages.join(';').toStdString();
}

} // namespace
