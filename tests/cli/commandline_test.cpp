// koop-cli's command line as the command table makes it: help in Turkish for
// every command, and a wrong command line refused with its one message and
// exit code 2 before the command touches anything.
#include "support/tempcompany.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const char *const Commands[] = {"init",          "refcode",       "statement",      "collect",
                                "head-balances", "collect-heads", "settings",       "print-test",
                                "backup",        "restore",       "copy-to-server", "void",
                                "voids"};

TEST(CliCommands, HelpIsTurkishForEveryCommand) {
    const ProcessResult all = runProgram("koop-cli", {"--help"});
    EXPECT_EQ(all.exitCode, 0);
    for (const char *command : Commands) {
        const QString name = QString::fromLatin1(command);
        EXPECT_TRUE(all.out.contains("\n  " + name + "  ")) << command;
        for (const QStringList &args : {QStringList{"help", name}, QStringList{name, "--help"}}) {
            const ProcessResult r = runProgram("koop-cli", args);
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_TRUE(r.out.startsWith("Kullanım:\n  koop-cli " + name + ' '))
                << r.out.toStdString();
            EXPECT_TRUE(r.out.contains("\nSeçenekler:\n")) << command;
            for (const char *english : {"Usage", "Options", "Arguments", "Displays"})
                EXPECT_FALSE(r.out.contains(english)) << command << ": " << english;
        }
    }
}

TEST(CliCommands, WrongCommandLineIsRefusedBeforeAnythingRuns) {
    TempCompany co("unused", false);
    const QString folder = co.root() + "/yeni";
    const QString ServerWanted = "--server SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] ister.";
    const struct Case {
        QStringList args;
        QString message;
    } cases[] = {
        {{"init", folder, "--seed", "abc"}, "--seed bir sayı ister."},
        {{"init", folder, "--seed"}, "--seed bir sayı ister."},
        {{"init", folder, "--demo=1"}, "Bilinmeyen seçenek: --demo=1"},
        {{"init", folder, "-x"}, "Bilinmeyen seçenek: -x"},
        {{"init", folder, "ikinci"},
         "Kullanım: koop-cli init KLASÖR [--unvan METİN] [--tlonda N] [--tlnick TL --krnick "
         "Kr]\\nkoop-cli init KLASÖR --demo [--seed N]\\nkoop-cli "
         "init --server SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] "
         "KLASÖR [--demo]"},
        {{"init", folder, "--tlonda", "5"}, "--tlonda 0 ile 4 arasında bir sayı ister."},
        {{"init", folder, "--tlonda", "02"}, "--tlonda 0 ile 4 arasında bir sayı ister."},
        {{"company", folder, "--set", "unvan"}, "--set ANAHTAR=DEĞER ister."},
        {{"member", folder, "show", "0001", "--isim1", "Ali"},
         "member show kart alanı almaz: --isim1"},
        {{"member", folder, "add", "0001", "--kod", "0002"},
         "member add: yeni kartın kodu KOD'dur; --kod yalnız edit ile."},
        {{"init", "--server", "sunucu", folder}, ServerWanted},
        {{"init", "--server", "h:70000/db", folder}, ServerWanted},
        {{"init", "--server", "h/db?sifre=1", folder}, ServerWanted},
        {{"init", "--server", "h/db?xdata=a&dalun=a", folder}, ServerWanted},
        {{"refcode", folder, "--count", "0"}, "--count 1 ile 1000000 arasında bir sayı ister."},
        {{"refcode", folder, "--first", "256"}, "--first 0 ile 255 arasında bir sayı ister."},
        {{"statement", folder, "0001", "--date"}, "Bilinmeyen seçenek: --date"},
        {{"statement", folder, "0001"},
         "Kullanım: koop-cli statement KLASÖR KOD --date GG.AA.YYYY [--format text|csv|json]"},
        {{"statement", folder, "0001", "--date", "01.12.2026", "--format", "xml"},
         "--format text, csv ya da json ister."},
        {{"print-test", folder, "--mode", "3"}, "--mode 1 ya da 2 ister."},
        {{"print-test", folder, "--out", ""}, "--out bir dosya adı ister."},
        {{"collect", folder, "0001", "10", "--pdf"}, "Bilinmeyen seçenek: --pdf"},
        {{"backup", folder}, "Kullanım: koop-cli backup KLASÖR YEDEK_KLASÖRÜ"},
        {{"copy-to-server", folder, "sunucu"},
         "Kullanım: koop-cli copy-to-server KLASÖR SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI]"},
        {{"yok"}, "Bilinmeyen komut: yok"},
    };
    for (const Case &c : cases) {
        const ProcessResult r = runProgram("koop-cli", c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.messages, QStringList{"Korvane|warning|" + c.message})
            << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out, QString());
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// A print whose file cannot be written says so and fails, in both modes,
// whatever the command; nothing is left where the file would have been.
TEST(CliCommands, APrintThatCannotReachItsFileFails) {
    TempCompany co("unused", false);
    const QString dir = co.root() + "/demo";
    ASSERT_EQ(runProgram("koop-cli", {"init", dir, "--demo"}).exitCode, 0);
    const QString missing = co.root() + "/yok/cikti";
    const QString noFile = "Dosya yazılamadı: " + missing, noPdf = "PDF dosyası yazılamıyor: ";
    const struct Case {
        QStringList args;
        QString message;
    } cases[] = {
        {{"attendance", dir, "--mode", "2", "--out", missing}, noFile},
        {{"attendance", dir, "--mode", "1", "--out", missing}, noPdf + missing},
        {{"labels", dir, "--out", missing}, noFile},
        {{"labels", dir, "--test", "--out", missing}, noFile},
        {{"vouchers", dir, "--date", "01.03.2026", "--mode", "2", "--out", missing}, noFile},
        {{"general-list", dir, "--date", "31.12.2026", "--mode", "2", "--print", missing}, noFile},
        {{"print-test", dir, "--mode", "2", "--out", missing}, noFile},
        {{"print-test", dir, "--mode", "1", "--out", missing}, noPdf + missing},
    };
    for (const Case &c : cases) {
        const ProcessResult r = runProgram("koop-cli", c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args.join(' ').toStdString();
        ASSERT_EQ(r.messages.size(), 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.messages[0].contains(c.message)) << r.messages[0].toStdString();
        EXPECT_FALSE(QFileInfo::exists(co.root() + "/yok"));
    }
}

// Outside the log form the messages read as a script's user wants them: one
// "koop-cli: " then the text with its own line breaks, nothing from Qt about
// the session, and nothing at all on a run that went well unless asked.
TEST(CliCommands, MessagesAreForPeopleOutsideTheLog) {
    TempCompany co("unused", false);
    const QString dir = co.root() + "/01", out = co.root() + "/etiket.txt";
    ASSERT_EQ(runProgram("koop-cli", {"init", dir}).exitCode, 0);
    const QStringList plain{"KOOP_MESSAGES", "XDG_RUNTIME_DIR"};
    ProcessResult r =
        runProgram("koop-cli", {"company", dir, "--set", "tlonda=9"}, {}, {}, {}, plain);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "koop-cli: tlonda 0 ile 4 arasında bir sayı olmalı: 9\n"
                     "Şirket bilgileri kaydedilmedi.\n");
    // The labels need the GUI's application object, whose session notices
    // Qt would print.
    r = runProgram("koop-cli", {"labels", dir, "--out", out}, {}, {}, {}, plain);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QString());
    r = runProgram("koop-cli", {"labels", dir, "--out", out, "--verbose"}, {}, {}, {}, plain);
    EXPECT_EQ(r.err, "koop-cli: Etiketler Bitmiştir..\n");
    r = runProgram("koop-cli", {"labels", dir, "--out", out});
    EXPECT_EQ(r.messages, QStringList{"Korvane|information|Etiketler Bitmiştir.."});
    r = runProgram("koop-cli", {"--version"});
    EXPECT_EQ(r.out, "koop-cli " KOOP_VERSION "\n");
}

} // namespace
