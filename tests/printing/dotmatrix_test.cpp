#include "printing/dostext.h"
#include "printjob.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>
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
    // The temporary file stays where the dot-matrix program will read it.
    EXPECT_EQ(readAll(job.printer.fileName()), expected);
    EXPECT_EQ(QFileInfo(job.printer.fileName()).absolutePath(),
              QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(job.printer.fileName()).fileName().startsWith(u'x'));
    QFile::remove(job.printer.fileName());
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
        QFile::remove(job.printer.fileName());
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

TEST(DotMatrixJob, HandsTheFileToTheDotMatrixProgram) {
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("dotyaz"));
    const QString received = dir.filePath(QStringLiteral("received"));
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Argument list first, then the file: the copy appears only when whole.
        f.write(QStringLiteral("#!/bin/sh\necho \"$#\" > '%1.args'\ncp \"$1\" '%1.tmp' && mv "
                               "'%1.tmp' '%1'\n")
                    .arg(received)
                    .toUtf8());
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    qputenv("KOOP_DOTYAZ", script.toUtf8());
    PrintJob job;
    job.context.dotMatrixCopy.clear(); // no copy: the program gets the file
    prnx &printer = job.printer;
    ASSERT_TRUE(printer.OpenPrinter(prnx::DotMatrix, QString(), false));
    printer.YeniSayfa();
    printer.Lprint(QStringLiteral("Ödeme"), 0, true);
    printer.ClosePrinter();
    qunsetenv("KOOP_DOTYAZ");

    // The program runs on its own; wait for its copy, not for a time.
    QDeadlineTimer deadline(20000);
    while (!QFile::exists(received) && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(readAll(received), QByteArray("\x99"
                                            "deme\r\n"));
    EXPECT_EQ(readAll(received + QStringLiteral(".args")), QByteArray("1\n"));
    QFile::remove(printer.fileName());
}

TEST(DotMatrixJob, ProgramBesideTheExecutables) {
    PrintJob job;
    job.session.prgPath = QStringLiteral("C:\\Koop\\");
    EXPECT_EQ(job.context.dotMatrixProgram(), QStringLiteral("C:/Koop/dotyaz"));
    job.session.prgPath = QStringLiteral("/opt/koop");
    EXPECT_EQ(job.context.dotMatrixProgram(), QStringLiteral("/opt/koop/dotyaz"));
}
