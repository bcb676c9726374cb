// An office without the suite: the launcher "Korvane Koop" over the
// companies under DataPath, a new company, its set-up screen, and a backup
// taken and brought back from the launcher.
#include "actions/company/companyinfo.h"
#include "actions/company/newcompany.h"
#include "base/userstore.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/company/korvane.h"
#include "screens/company/sirket.h"
#include "screens/company/yedek.h"
#include "screens/company/yenisirket.h"
#include "screens/kit/help.h"
#include "screens/members/uye.h"
#include "screens/screentable.h"
#include "support/fixture.h"
#include "support/screenparts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

namespace {

using namespace Qt::StringLiterals;

class Launcher : public SessionTest {
  protected:
    Launcher() { session.pictures = false; }
    // A company of the office's own under DataPath, as init makes it.
    void make(const QString &folder, const QString &unvan) {
        newcompany::Options o;
        o.folder = company.dataPath() + folder;
        o.setup = newcompany::officeDefaults();
        o.setup.emplace_back(u"unvan"_s, unvan);
        ASSERT_TRUE(newcompany::create(o, messages)) << messages.lastText().toStdString();
    }
    std::vector<korvane::Entry> entries{{u"TAHSIL"_s, u"Hesap Ekstresi ve Tahsilat"_s},
                                        {u"UYE"_s, u"Üye Kartları"_s}};
    printing::PrintContext print{session};
    ScreenContext desk{session};
};

TEST_F(Launcher, ListsTheCompaniesAndOpensTheScreenChosenOnTheLastOne) {
    make(u"02"_s, u"Yıldız Konut Koop."_s);
    ASSERT_TRUE(QDir().mkpath(company.dataPath() + "bos"));
    ASSERT_TRUE(QDir().mkpath(company.dataPath() + "iki kelime"));
    ASSERT_TRUE(userstore::write(u"baslatici"_s, u"son_sirket"_s, u"02"_s));
    std::vector<std::pair<QString, QString>> opened;
    korvane w(messages, company.dataPath(), entries, [&](const QString &f, const QString &k) {
        opened.emplace_back(f, k);
        return true;
    });
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *grid = part<dclist>(w, "sirketler");
    ASSERT_EQ(grid->ListCount(), 2);
    EXPECT_EQ(grid->Caption(0, 1).toString(), u"01"_s);
    EXPECT_EQ(grid->Caption(0, 0).toString(), u"(ünvan yok)"_s);
    EXPECT_EQ(grid->Caption(0, 2).toString(),
              company.onServer() ? u"sunucu "_s + company.server()->display() : u"dosya"_s);
    EXPECT_EQ(grid->Caption(1, 0).toString(), u"Yıldız Konut Koop."_s);
    EXPECT_EQ(w.chosenFolder(), u"02"_s);

    // Enter on the grid goes to the menu; Enter there opens the screen.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    auto *menu = part<QListWidget>(w, "ekranlar");
    EXPECT_TRUE(menu->hasFocus());
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::pair(u"02"_s, u"UYE"_s));
    grid->ChngSat(0);
    EXPECT_EQ(userstore::read(u"baslatici"_s, u"son_sirket"_s, {}), u"01"_s);
    EXPECT_TRUE(messages.boxes.empty()) << texts().join(';').toStdString();

    // A DataPath without companies says what to do.
    korvane none(messages, company.root() + "/yok/", entries, {});
    EXPECT_EQ(part<dclist>(none, "sirketler")->ListCount(), 0);
    EXPECT_TRUE(part<QLabel>(none, "bos")->text().contains(u"\"Yeni Şirket…\""_s));
}

TEST_F(Launcher, ANewCompanyIsMadeSetUpAndListed) {
    yenisirket d(messages, company.dataPath());
    for (const char *bad : {"../disari", "iki kelime", ""}) {
        part<QLineEdit>(d, "klasor")->setText(QString::fromUtf8(bad));
        messages.boxes.clear();
        d.accept();
        EXPECT_EQ(d.result(), QDialog::Rejected) << bad;
        EXPECT_TRUE(messages.lastText().startsWith(u"Klasör adı tek bir kelime olmalı"_s)) << bad;
    }
    EXPECT_FALSE(QFileInfo::exists(company.root() + "/disari"));
    part<QLineEdit>(d, "klasor")->setText(u"YILDIZ"_s);
    part<QLineEdit>(d, "unvan")->setText(u"Yıldız Konut Yapı Koop."_s);
    part<QSpinBox>(d, "tlonda")->setValue(3);
    part<QLineEdit>(d, "baslik2")->setText(u"Çiçek Sok. 5"_s);
    d.accept();
    ASSERT_EQ(d.result(), QDialog::Accepted) << messages.lastText().toStdString();
    EXPECT_EQ(d.made(), u"YILDIZ"_s);
    EXPECT_TRUE(messages.lastText().startsWith(u"Şirket yaratıldı: "_s));

    Session made(messages);
    ASSERT_TRUE(startup::openCompanyFolder(made, company.dataPath() + "YILDIZ"));
    const companyinfo::Info info = companyinfo::load(made);
    EXPECT_EQ(info.unvan, u"Yıldız Konut Yapı Koop."_s);
    EXPECT_EQ(info.tlonda, 3);
    EXPECT_EQ(info.tlnick, u"TL"_s);
    EXPECT_EQ(info.baslik[0], u"Yıldız Konut Yapı Koop."_s);
    EXPECT_EQ(info.baslik[1], u"Çiçek Sok. 5"_s);

    // Made again, the company there is never touched.
    messages.boxes.clear();
    yenisirket again(messages, company.dataPath());
    part<QLineEdit>(again, "klasor")->setText(u"YILDIZ"_s);
    again.accept();
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_TRUE(messages.lastText().startsWith(u"Bu klasörde zaten bir şirket var"_s));
}

TEST_F(Launcher, TheSetUpScreenStoresWhatTheClerkChanged) {
    sirket w(desk, print);
    w.show();
    auto *unvan = part<xtext>(w, "unvan");
    EXPECT_EQ(unvan->Text(), QString());
    unvan->setTextValue(u"Güneş Koop."_s);
    part<xtext>(w, "tlonda")->setValue(2);
    part<xtext>(w, "baslik3")->setTextValue(u"Çankaya V.D. 123"_s);
    QTest::keyClick(unvan, Qt::Key_F5);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(session.tlonda, 2); // the open company's money at once
    const companyinfo::Info info = companyinfo::load(session);
    EXPECT_EQ(info.unvan, u"Güneş Koop."_s);
    EXPECT_EQ(info.baslik[0], u"Güneş Koop."_s);
    EXPECT_EQ(info.baslik[2], u"Çankaya V.D. 123"_s);

    // Esc leaves without writing.
    sirket again(desk, print);
    again.show();
    part<xtext>(again, "unvan")->setTextValue(u"Başka"_s);
    QTest::keyClick(part<xtext>(again, "unvan"), Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(companyinfo::load(session).unvan, u"Güneş Koop."_s);
}

// Files only: a server company's backup needs pg_dump, which the backup's
// own tests run.
TEST_F(Launcher, ABackupTakenFromTheLauncherComesBackAsANewCompany) {
    make(u"03"_s, u"Yedekli Koop."_s);
    yedek d(messages, company.dataPath(), u"03"_s);
    const QString target = company.root() + "/yedekler/03-bugun";
    part<QLineEdit>(d, "hedef")->setText(target);
    part<QPushButton>(d, "yedekle")->click();
    EXPECT_EQ(messages.lastText(), u"Yedek alındı: "_s + target);
    EXPECT_TRUE(QFileInfo::exists(target + "/yedek.txt"));

    part<QLineEdit>(d, "yedek")->setText(target);
    part<QLineEdit>(d, "yeniklasor")->setText(u"03"_s);
    part<QPushButton>(d, "geriyukle")->click();
    EXPECT_TRUE(messages.lastText().startsWith(u"Yedek geri yüklenmedi: bu klasör zaten var"_s));
    part<QLineEdit>(d, "yeniklasor")->setText(u"04"_s);
    part<QPushButton>(d, "geriyukle")->click();
    EXPECT_EQ(messages.lastText(), u"Yedek geri yüklendi: "_s + company.dataPath() + "04");
    EXPECT_EQ(d.restored(), u"04"_s);
    korvane w(messages, company.dataPath(), entries, {});
    EXPECT_EQ(part<dclist>(w, "sirketler")->Caption(2, 1).toString(), u"04"_s);
    EXPECT_EQ(part<dclist>(w, "sirketler")->Caption(2, 0).toString(), u"Yedekli Koop."_s);
}

// Every screen and the launcher have their section in the manual the
// program carries, and F1 opens it there.
TEST_F(Launcher, F1OpensTheManualAtTheSectionOfTheScreen) {
    QFile manual(u":/kilavuz/kullanim.md"_s);
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(manual.readAll());
    QStringList sections{u"(koop --menu)"_s};
    for (const screens::Screen &s : screens::table())
        sections << screenkit::helpSection(s.keys.first());
    for (const QString &section : sections)
        EXPECT_TRUE(QRegularExpression(u"\\n## [^\\n]*"_s + QRegularExpression::escape(section))
                        .match(text)
                        .hasMatch())
            << section.toStdString();
    // Every picture it shows is carried with it.
    const QRegularExpression picture(u"!\\[[^\\]]*\\]\\(([^)]+)\\)"_s);
    for (auto m = picture.globalMatch(text); m.hasNext();) {
        const QString file = m.next().captured(1);
        EXPECT_TRUE(QFile::exists(u":/kilavuz/"_s + file)) << file.toStdString();
    }

    screenkit::installHelpKey(*qApp);
    uye w(desk, print);
    screenkit::setHelpSection(w, screenkit::helpSection(u"UYE"_s));
    w.show();
    QTest::keyClick(part<xtext>(w, "isim1"), Qt::Key_F1);
    QTextBrowser *browser = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *b = top->findChild<QTextBrowser *>(u"kilavuz"_s); b && top->isVisible())
            browser = b;
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->cursorForPosition(QPoint(4, 4)).block().text().contains(u"(UYE)"_s))
        << browser->cursorForPosition(QPoint(4, 4)).block().text().toStdString();
    browser->window()->close();
}

TEST(LauncherProgram, OpensAndEndsWithTheLauncher) {
    TempCompany co;
    const ProcessResult r = runProgram("koop", {"--menu"}, co.registryFile());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.messages, QStringList());
}

} // namespace
