#include "pdftext.h"
#include "printjob.h"

#include <QPageLayout>
#include <QPrinter>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Glyph side bearings keep ink a fraction of a point inside its cell.
constexpr double kTolerance = 0.8;

struct GraphicJob : PrintJob {
    GraphicJob() {
        const QRectF paint = context.printer().pageLayout().paintRect(QPageLayout::Point);
        left = paint.left();
        top = paint.top();
        column = paint.width() / prnx::Sutun;
    }
    double pointsPerPixel() { return 72.0 / context.printer().resolution(); }

    double left = 0, top = 0, column = 0;
};

} // namespace

TEST(Graphic, LinesPerPageAreWholeLineHeights) {
    const struct {
        int height, lineHeight, lines;
    } cases[] = {{3000, 40, 75}, {3039, 40, 75}, {3040, 40, 76}, {39, 40, 0}, {3000, 0, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(prnx::linesFitting(c.height, c.lineHeight), c.lines) << c.height;
}

TEST(Graphic, CellsSitOnTheColumnGrid) {
    GraphicJob job;
    prnx &p = job.printer;
    job.context.settings.lineCount = 44;
    ASSERT_TRUE(p.OpenPrinter(prnx::Grafik, QStringLiteral("Izgara"), true));
    // The record takes the lines that fit the page.
    EXPECT_EQ(int(job.context.settings.lineCount), int(p.linesPerPage()));
    EXPECT_EQ(p.SayfaSayisi(), 0);
    EXPECT_EQ(p.YeniSayfa(), 1);
    p.Lprint(QStringLiteral("Kod"), 10);
    p.Lprint(QStringLiteral("1,234.50"), 20, false, prnx::Saga);
    p.Lprint(QStringLiteral("ORTA"), 40, false, prnx::Ortala, true);
    p.Lprint(QStringLiteral("Son"), 0, true); // width of its own three letters
    p.LinePrint(prnx::Sutun, false, true);
    p.Lprint(QStringLiteral("ÇĞİÖŞÜ"), 66);
    p.Lprint(QStringLiteral("çğıöşü"), 66, true, prnx::Saga);
    EXPECT_EQ(p.SatirSayisi(), 3);
    p.SayfaBitti(false);
    EXPECT_EQ(p.SatirSayisi(), 0);
    EXPECT_EQ(p.YeniSayfa(), 2);
    p.Lprint(QStringLiteral("İkinci"), 10, true);
    p.SayfaBitti(false);
    p.ClosePrinter();

    const auto words = pdfWords(job.context.pdfFile);
    const double line = p.lineHeight() * job.pointsPerPixel();
    const double L = job.left, C = job.column;
    const struct {
        const char16_t *text;
        int page;
        double edge; // the cell edge the text is aligned to
        int alignment;
        int row;
    } cases[] = {
        {u"Kod", 1, L, prnx::Sola, 0},
        {u"1,234.50", 1, L + 30 * C, prnx::Saga, 0},
        {u"ORTA", 1, L + 50 * C, prnx::Ortala, 0}, // centre of columns 30 to 70
        {u"Son", 1, L + 70 * C, prnx::Sola, 0},
        {u"ÇĞİÖŞÜ", 1, L, prnx::Sola, 2},
        {u"çğıöşü", 1, L + 132 * C, prnx::Saga, 2},
        {u"İkinci", 2, L, prnx::Sola, 0},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        const PdfWord *w = findWord(words, text, c.page);
        ASSERT_NE(w, nullptr);
        const double x = c.alignment == prnx::Saga     ? w->xMax
                         : c.alignment == prnx::Ortala ? (w->xMin + w->xMax) / 2
                                                       : w->xMin;
        EXPECT_NEAR(x, c.edge, kTolerance);
        // Each text starts inside its own line band.
        EXPECT_GE(w->yMin, job.top + c.row * line - kTolerance);
        EXPECT_LE(w->yMax, job.top + (c.row + 1) * line + kTolerance);
    }
    int pages = 0;
    for (const PdfWord &w : words)
        pages = std::max(pages, w.page);
    EXPECT_EQ(pages, 2);
}

TEST(Graphic, EnvironmentPdfWinsOverTheChosenFile) {
    GraphicJob job;
    const QString forced = job.dir.filePath(QStringLiteral("forced.pdf"));
    qputenv("KOOP_PRINT_PDF", forced.toUtf8());
    ASSERT_TRUE(job.printer.OpenPrinter(prnx::Grafik, QStringLiteral("Zorunlu"), false));
    job.printer.YeniSayfa();
    job.printer.Lprint(QStringLiteral("Gecikme Zammı"), 0, true);
    job.printer.SayfaBitti(false);
    job.printer.ClosePrinter();
    qunsetenv("KOOP_PRINT_PDF");
    EXPECT_FALSE(QFile::exists(job.context.pdfFile));
    EXPECT_EQ(pdfLayoutText(forced).trimmed(), QStringLiteral("Gecikme Zammı"));
}

TEST(Graphic, NoPrinterAndNoFileOpensNothing) {
    if (printing::PrintContext::systemHasPrinter())
        GTEST_SKIP() << "a printer is installed; the job would reach it";
    GraphicJob job;
    job.context.pdfFile.clear();
    EXPECT_FALSE(job.printer.OpenPrinter(prnx::Grafik, QStringLiteral("Yok"), false));
    EXPECT_EQ(job.printer.mode(), prnx::Kapali);
}
