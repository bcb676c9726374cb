#include "printing/dostext.h"
#include "printjob.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QByteArray esc(1, 27);
const QByteArray crlf("\r\n");

} // namespace

TEST(DotMatrixCell, FitsTextToItsColumns) {
    const struct {
        const char16_t *text;
        int width;
        int alignment;
        const char16_t *expected;
    } cases[] = {
        {u"ABC", 10, 1, u"       ABC"},
        {u"ABC", 10, 2, u"   ABC   "}, // an odd difference is one column short
        {u"ABCD", 10, 2, u"   ABCD   "},
        {u"ABC", 10, 0, u"ABC       "},
        {u"ABC", 10, 7, u"ABC       "},
        {u"ABCDEFGHIJKL", 10, 0, u"ABCDEFGHIJ"},
        {u"ABCDEFGHIJKL", 10, 1, u"CDEFGHIJKL"},
        {u"ABC", 0, 1, u"ABC"},
        {u"ABC", -3, 0, u"ABC"},
        {u"1,234.50", 12, 1, u"    1,234.50"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(printing::dotMatrixCell(QString::fromUtf16(c.text), c.width, c.alignment),
                  QString::fromUtf16(c.expected));
    }
}

TEST(DosText, TurkishLettersTakeTheirCodePage857Places) {
    const struct {
        char16_t letter;
        unsigned char byte;
    } cases[] = {{u'Ç', 128}, {u'Ğ', 166}, {u'Ö', 153},  {u'Ü', 154},  {u'İ', 152}, {u'Ş', 158},
                 {u'ç', 135}, {u'ğ', 167}, {u'ö', 148},  {u'ü', 129},  {u'ı', 141}, {u'ş', 159},
                 {u'â', 131}, {u'î', 140}, {u'û', 150},  {u'Â', 182},  {u'Î', 215}, {u'Û', 234},
                 {u'A', 'A'}, {u' ', ' '}, {u'é', 0xE9}, {u'€', 0x80}, {u'“', 0x93}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.letter));
        EXPECT_EQ(printing::toDosText(QString(QChar(c.letter))), QByteArray(1, char(c.byte)));
    }
    EXPECT_EQ(printing::toDosText(QStringLiteral("Ağa\x3A9")), QByteArray("A\xA7"
                                                                          "a?"));
}

TEST(DotMatrixJob, WritesCellsStylesRulesAndFormFill) {
    PrintJob job;
    job.context.settings.lineCount = 5;
    ASSERT_TRUE(job.printer.OpenPrinter(prnx::DotMatrix, QStringLiteral("Rapor"), true));
    EXPECT_EQ(job.printer.YeniSayfa(), 1);
    job.printer.Lprint(QStringLiteral("Kod"), 5);
    job.printer.Lprint(QStringLiteral("Şube"), 6, true, prnx::Saga, true);
    job.printer.LinePrint(4, false, true);
    job.printer.LinePrint(3, true);
    job.printer.Lprint(QStringLiteral("ığ"), 0, true, prnx::Sola, false, true, true, true);
    EXPECT_EQ(job.printer.SatirSayisi(), 3);
    job.printer.SayfaBitti(true);
    EXPECT_EQ(job.printer.SatirSayisi(), 0);
    job.printer.Lprint(QStringLiteral("yarım satır"), 20); // no line end: never written
    job.printer.ClosePrinter();

    const QByteArray expected = QByteArray("\x0F") + "Kod  " + esc + "G  \x9E" + "ube" + esc + "H" +
                                crlf + "____" + crlf + esc + "G___" + esc + "H" + esc +
                                QByteArray(1, 1) + esc + "4\x8D\xA7" + esc + "5" + esc +
                                QByteArray(1, 0) + crlf + " " + crlf + " " + crlf + "\x12" + crlf;
    EXPECT_EQ(job.bytes().toHex(' '), expected.toHex(' '));
    // The temporary file was made in the system's folder and is gone once
    // handed over.
    EXPECT_EQ(QFileInfo(job.printer.fileName()).absolutePath(),
              QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(job.printer.fileName()).fileName().startsWith(u'x'));
    EXPECT_FALSE(QFile::exists(job.printer.fileName()));
    EXPECT_TRUE(job.printer.failure().isEmpty());
}

TEST(DotMatrixJob, FormFillAndPageCounters) {
    const struct {
        int linesPrinted;
        quint8 lineCount;
        bool fill;
        int blankLines;
    } cases[] = {{20, 66, true, 46},
                 {20, 66, false, 0},
                 {66, 66, true, 0},
                 {70, 66, true, 0},
                 {0, 22, true, 22}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.linesPrinted);
        PrintJob job;
        job.context.settings.lineCount = c.lineCount;
        ASSERT_TRUE(job.printer.OpenPrinter(prnx::DotMatrix, QString(), false));
        EXPECT_EQ(job.printer.SayfaSayisi(), 0);
        job.printer.YeniSayfa();
        for (int n = 0; n < c.linesPrinted; ++n)
            job.printer.Lprint(QStringLiteral("x"), 1, true);
        EXPECT_EQ(job.printer.SatirSayisi(), c.linesPrinted);
        job.printer.SayfaBitti(c.fill);
        EXPECT_EQ(job.printer.YeniSayfa(), 2);
        job.printer.ClosePrinter();
        EXPECT_EQ(job.printer.SayfaSayisi(), 2); // closing keeps the counters
        const QByteArray expected = QByteArray("x\r\n").repeated(c.linesPrinted) +
                                    QByteArray(" \r\n").repeated(c.blankLines);
        EXPECT_EQ(job.bytes(), expected);
    }
}

TEST(DotMatrixJob, ReservedAndUnknownModesPrintNothing) {
    const struct {
        quint8 mode;
        quint8 modeAfter;
    } cases[] = {{3, 3}, {4, 4}, {5, 5}, {0, 0}, {6, 0}, {200, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.mode));
        PrintJob job;
        EXPECT_FALSE(job.printer.OpenPrinter(c.mode, QString(), true));
        EXPECT_EQ(job.printer.mode(), c.modeAfter);
        EXPECT_EQ(job.printer.SayfaSayisi(), 0);
        job.printer.YeniSayfa();
        job.printer.Lprint(QStringLiteral("a"), 3, true);
        job.printer.LinePrint(3, false, true);
        EXPECT_EQ(job.printer.SatirSayisi(), 2); // lines still count
        job.printer.ClosePrinter();
        EXPECT_FALSE(QFile::exists(job.context.dotMatrixCopy));
    }
}

// The job goes to the dot-matrix program, which is waited for: what it or
// the print system says reaches the clerk, and the file is removed after.
TEST(DotMatrixJob, HandOverReportsWhatStoppedIt) {
    QTemporaryDir dir;
    const QString received = dir.filePath(QStringLiteral("received"));
    const QString script = dir.filePath(QStringLiteral("dotyaz"));
    const auto program = [&](const QString &body) {
        QFile f(script);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(("#!/bin/sh\n" + body + "\n").toUtf8());
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    };
    const struct {
        QString body;    // the dot-matrix program; empty: none at all
        QString copy;    // a copy instead of the program
        QString failure; // what the clerk is told, in part
        QByteArray args; // what the program got
    } cases[] = {
        {QStringLiteral("echo \"$#\" > '%1.args'; cp \"$1\" '%1'").arg(received), {}, {}, "1\n"},
        {QStringLiteral("echo 'lp: No default destination' >&2; exit 1"),
         {},
         QStringLiteral("Yazıcıya gönderilemedi: lp: No default destination"),
         {}},
        {QStringLiteral("exit 3"), {}, QStringLiteral("Yazıcıya gönderilemedi: çıkış kodu 3"), {}},
        {{}, {}, QStringLiteral("Nokta vuruşlu yazıcı programı çalıştırılamadı: ") + script, {}},
        {{},
         dir.filePath(QStringLiteral("yok/job.txt")),
         QStringLiteral("Dosya yazılamadı: ") + dir.filePath(QStringLiteral("yok/job.txt")),
         {}},
    };
    qputenv("KOOP_DOTYAZ", script.toUtf8());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        QFile::remove(script);
        QFile::remove(received);
        if (!c.body.isEmpty())
            program(c.body);
        PrintJob job;
        job.context.dotMatrixCopy = c.copy;
        prnx &printer = job.printer;
        ASSERT_TRUE(printer.OpenPrinter(prnx::DotMatrix, QString(), false));
        printer.YeniSayfa();
        printer.Lprint(QStringLiteral("Ödeme"), 0, true);
        printer.ClosePrinter();
        EXPECT_FALSE(QFile::exists(printer.fileName()));
        if (c.failure.isEmpty()) {
            EXPECT_EQ(printer.failure(), QString());
            EXPECT_EQ(readAll(received), QByteArray("\x99"
                                                    "deme\r\n"));
            EXPECT_EQ(readAll(received + QStringLiteral(".args")), c.args);
            continue;
        }
        EXPECT_TRUE(printer.failure().startsWith(QStringLiteral("Yazdırma tamamlanamadı.\n")));
        EXPECT_TRUE(printer.failure().contains(c.failure)) << printer.failure().toStdString();
        EXPECT_TRUE(printer.tellFailure());
        EXPECT_TRUE(printer.tellFailure()); // still failed, but said only once
        ASSERT_EQ(job.messages.boxes.size(), 1u);
        EXPECT_EQ(job.messages.boxes[0].text, printer.failure());
    }
    qunsetenv("KOOP_DOTYAZ");
}

// The shipped program hands the file to lp untouched, to the printer the
// setup chose when there is one.
TEST(DotMatrixJob, ShippedProgramSendsToTheChosenPrinter) {
    QTemporaryDir dir;
    const QString lp = dir.filePath(QStringLiteral("lp"));
    {
        QFile f(lp);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1.args'\n").arg(lp).toUtf8());
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    const QString dotyaz = QStringLiteral(KOOP_BIN_DIR "/dotyaz");
    for (const QString &destination : {QStringLiteral("Epson_LX"), QString()}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"), dir.path() + u':' + env.value(QStringLiteral("PATH")));
        if (destination.isEmpty())
            env.remove(QStringLiteral("LPDEST"));
        else
            env.insert(QStringLiteral("LPDEST"), destination);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("/bin/sh"), {dotyaz, dotyaz});
        ASSERT_TRUE(p.waitForFinished());
        EXPECT_EQ(p.exitCode(), 0);
    }
    EXPECT_EQ(
        readAll(lp + QStringLiteral(".args")),
        QStringLiteral("-s -d Epson_LX -o raw -- %1\n-s -o raw -- %1\n").arg(dotyaz).toUtf8());
}

TEST(DotMatrixJob, ProgramBesideTheExecutables) {
    PrintJob job;
    job.session.prgPath = QStringLiteral("C:\\Koop\\");
    EXPECT_EQ(job.context.dotMatrixProgram(), QStringLiteral("C:/Koop/dotyaz"));
    job.session.prgPath = QStringLiteral("/opt/koop");
    EXPECT_EQ(job.context.dotMatrixProgram(), QStringLiteral("/opt/koop/dotyaz"));
}
