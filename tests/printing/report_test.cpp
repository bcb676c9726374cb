// The paged list report: the heading items of the printer setup, page breaks
// and the closing lines, on the dot-matrix path where every column shows.
#include "printing/report.h"
#include "printjob.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using printing::Cell;

struct DotJob : PrintJob {
    DotJob() { context.settings.dotMatrix = true; }
    // The printed lines, bold codes left out and blanks at the end cut; the
    // texts are plain ASCII, so the bytes read back as they were given.
    QStringList lines() const {
        QString text = QString::fromLatin1(bytes());
        text.remove(u"\x1bG"_s).remove(u"\x1bH"_s);
        QStringList out;
        for (QString l : text.split(u"\r\n"_s)) {
            while (l.endsWith(u' '))
                l.chop(1);
            out << l;
        }
        if (!out.isEmpty() && out.back().isEmpty())
            out.removeLast();
        return out;
    }
};

} // namespace

TEST(Report, HeadingItemsTurnedOffPrintBlankInTheirColumns) {
    const struct {
        bool title, date, pageNo, company;
        QStringList head;
    } cases[] = {
        // clang-format off
        {true, true, true, true, {u"   OZET"_s, u"Koop.     Tarih: 1.1"_s, u"          Sayfa: 1"_s}},
        {false, true, true, true, {u""_s, u"Koop.     Tarih: 1.1"_s, u"          Sayfa: 1"_s}},
        {true, false, true, true, {u"   OZET"_s, u"Koop."_s, u"          Sayfa: 1"_s}},
        {true, true, false, true, {u"   OZET"_s, u"Koop.     Tarih: 1.1"_s, u""_s}},
        {true, true, true, false, {u"   OZET"_s, u"          Tarih: 1.1"_s, u"          Sayfa: 1"_s}},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.head.join(u'|').toStdString());
        DotJob job;
        printing::PrinterSettings &s = job.context.settings;
        s.lineCount = 10;
        s.printTitle = c.title;
        s.printDate = c.date;
        s.printPageNo = c.pageNo;
        s.printCompany = c.company;
        printing::PageLayout page;
        page.head = {{Cell::title(u"OZET"_s, 10)},
                     {Cell::company(u"Koop."_s, 10), Cell::date(u"Tarih: 1.1"_s, 10)},
                     {Cell::pageNo(u"Sayfa: "_s, 18)}};
        printing::Report report(job.printer, page);
        ASSERT_TRUE(report.open(u"Özet"_s, false));
        report.row({Cell::plain(u"satir"_s, 10)});
        EXPECT_TRUE(report.finish({}));
        QStringList expected = c.head;
        expected << u"satir"_s;
        // The rest of the form is blank lines up to the line count.
        while (expected.size() < 10)
            expected << QString();
        EXPECT_EQ(job.lines(), expected);
    }
}

// 8 lines a form, 2 of them kept for the closing lines: the page breaks
// before a row that finds it full, with the foot under the rows; the closing
// lines fill the kept lines of the last page.
TEST(Report, PagesBreakAtTheLineCountAndTheClosingLinesFitTheReserve) {
    DotJob job;
    job.context.settings.lineCount = 8;
    job.context.settings.printPageNo = true;
    printing::PageLayout page;
    page.head = {{Cell::pageNo(u"Sayfa "_s, 0, prnx::Sola)}};
    page.reserve = 2;
    page.foot = {{Cell::rule(5)}};
    printing::Report report(job.printer, page);
    ASSERT_TRUE(report.open(u"Liste"_s, false));
    for (int i = 1; i <= 9; ++i)
        report.row({Cell::plain(QString::number(i), 0)});
    EXPECT_TRUE(report.finish({{Cell::rule(5)}, {Cell::plain(u"Toplam"_s, 0)}}));
    EXPECT_EQ(report.pages(), 2);
    EXPECT_EQ(job.lines(), QStringList({u"Sayfa 1"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s,
                                        u"_____"_s, u""_s, u"Sayfa 2"_s, u"6"_s, u"7"_s, u"8"_s,
                                        u"9"_s, u"_____"_s, u"Toplam"_s, u""_s}));
}

TEST(Report, AnEndedPageLeavesNoEmptyPageBehind) {
    DotJob job;
    job.context.settings.lineCount = 4;
    printing::PageLayout page;
    page.head = {{Cell::plain(u"Bas"_s, 0)}};
    printing::Report report(job.printer, page);
    ASSERT_TRUE(report.open(u"Gruplar"_s, false));
    report.row({Cell::plain(u"a"_s, 0)});
    report.endPage(); // the group's last member
    report.row({Cell::plain(u"b"_s, 0)});
    report.endPage();
    EXPECT_TRUE(report.finish({}));
    EXPECT_EQ(report.pages(), 2);
    EXPECT_EQ(job.lines(),
              QStringList({u"Bas"_s, u"a"_s, u""_s, u""_s, u"Bas"_s, u"b"_s, u""_s, u""_s}));
}
