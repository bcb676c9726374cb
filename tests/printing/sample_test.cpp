#include "pdftext.h"
#include "printing/sampleprint.h"
#include "startup/session.h"
#include "support/qtprint.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString golden(const QString &name) {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/golden/") + name;
}

const QDate kDate(2024, 3, 15);

} // namespace

TEST(Sample, DotMatrixFileMatchesTheGoldenBytes) {
    const struct {
        quint8 lineCount;
        const char *file;
        int rows;
    } cases[] = {{22, "sample_22.txt", 20}, {33, "sample_33.txt", 36}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        QTemporaryDir dir;
        RecordingMessages messages;
        Session session(messages);
        printing::PrintContext context(session);
        context.settings.dotMatrix = true;
        context.settings.lineCount = c.lineCount;
        context.dotMatrixCopy = dir.filePath(QStringLiteral("out.txt"));
        printing::SampleSummary summary;
        ASSERT_TRUE(printing::printSample(context, QStringLiteral("01"), kDate, &summary));
        EXPECT_EQ(summary.pages, 2);
        EXPECT_EQ(summary.rows, c.rows);
        const QByteArray actual = readAll(context.dotMatrixCopy);
        // KOOP_GOLDEN_OUT=1 rewrites the golden files after a deliberate change of layout.
        if (qEnvironmentVariableIsSet("KOOP_GOLDEN_OUT")) {
            QFile::remove(golden(QString::fromLatin1(c.file)));
            QFile::copy(context.dotMatrixCopy, golden(QString::fromLatin1(c.file)));
        }
        EXPECT_EQ(actual, readAll(golden(QString::fromLatin1(c.file))));
        // Two full forms of continuous paper, the condensed switches around them.
        EXPECT_EQ(actual.count("\r\n"), 2 * c.lineCount + 1);
        EXPECT_TRUE(actual.startsWith("\x0F"));
        EXPECT_TRUE(actual.endsWith("\x12\r\n"));
    }
}

TEST(Sample, GraphicPdfHasTwoPagesWithHeadingsAndTotals) {
    QTemporaryDir dir;
    RecordingMessages messages;
    Session session(messages);
    printing::PrintContext context(session);
    context.settings.lineCount = 66;
    context.pdfFile = dir.filePath(QStringLiteral("sample.pdf"));
    printing::SampleSummary summary;
    ASSERT_TRUE(printing::printSample(context, QStringLiteral("01"), kDate, &summary));
    EXPECT_EQ(summary.pages, 2);
    EXPECT_NE(int(context.settings.lineCount), 66); // replaced by the page's own lines

    const QStringList pages = pdfLayoutText(context.pdfFile).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    const struct {
        int page;
        const char16_t *text;
        bool present;
    } cases[] = {
        {0, u"Tarih: 15.03.2024", true},
        {0, u"Sayfa: 1", true},
        {1, u"Sayfa: 2", true},
        {0, u"Adı Soyadı", true},
        {1, u"Adı Soyadı", true},
        {0, u"Ahmet Çağlar", true},
        {0, u"İsmail Ünlü", true},
        {0, u"Ömer Işık", true},
        {0, u"Genel Toplam", false},
        {1, u"Genel Toplam", true},
        {0, u"YAZICI DENEME SAYFASI - ÇĞİÖŞÜ çğıöşü", true},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(pages[c.page].contains(text), c.present);
    }
    EXPECT_EQ(pages.size() > 2 ? pages[2].trimmed() : QString(), QString());

    // An amount ends on the edge of its caption: the 132-column grid. The
    // first row is 10.00 in the "Borç" column.
    const auto words = pdfWords(context.pdfFile);
    const PdfWord *caption = findWord(words, QStringLiteral("Borç"));
    const PdfWord *first = findWord(words, QStringLiteral("10.00"));
    ASSERT_NE(caption, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->xMax, caption->xMax, 0.8);
}
