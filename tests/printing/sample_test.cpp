#include "pdftext.h"
#include "printing/sampleprint.h"
#include "printjob.h"
#include "support/golden.h"

#include <gtest/gtest.h>

namespace {

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
        PrintJob job;
        printing::PrintContext &context = job.context;
        context.settings.dotMatrix = true;
        context.settings.lineCount = c.lineCount;
        printing::SampleSummary summary;
        ASSERT_TRUE(printing::printSample(context, QStringLiteral("01"), kDate, &summary));
        EXPECT_EQ(summary.pages, 2);
        EXPECT_EQ(summary.rows, c.rows);
        EXPECT_GOLDEN(job.bytes(), QString::fromLatin1(c.file));
    }
}

TEST(Sample, GraphicPdfMatchesTheGoldenWords) {
    PrintJob job;
    printing::PrintContext &context = job.context;
    context.settings.lineCount = 66;
    printing::SampleSummary summary;
    ASSERT_TRUE(printing::printSample(context, QStringLiteral("01"), kDate, &summary));
    EXPECT_EQ(summary.pages, 2);
    EXPECT_NE(int(context.settings.lineCount), 66); // replaced by the page's own lines
    const std::vector<PdfWord> words = pdfWords(context.pdfFile);
    EXPECT_GOLDEN(pdfWordList(context.pdfFile), QStringLiteral("sample_graphic.txt"));

    // An amount ends on the edge of its caption: the 132-column grid. The
    // first row is 10.00 in the "Borç" column.
    const PdfWord *caption = findWord(words, QStringLiteral("Borç"));
    const PdfWord *first = findWord(words, QStringLiteral("10.00"));
    ASSERT_NE(caption, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->xMax, caption->xMax, 0.8);
}
