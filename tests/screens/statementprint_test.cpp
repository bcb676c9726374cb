// The printed statement against its golden files: which rows, page heads on
// every page, the totals, in both printer modes.
#include "actions/statement/statementprint.h"
#include "core/session.h"
#include "printing/pdftext.h"
#include "printing/printcontext.h"
#include "printing/prnx.h"
#include "support/golden.h"
#include "support/qtprint.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

// Monthly dues with a growing surcharge, every fifth month paid, and the
// closing row; the totals as the engine hands them.
surcharge::Statement statementOf(int months) {
    surcharge::Statement st;
    Money balance;
    for (int i = 0; i < months; ++i) {
        surcharge::StatementRow r;
        r.vade = QDate(2025, 1, 1).addMonths(i);
        r.devir = balance;
        r.faiz = Money::fromUnits(i * 2500);
        r.borc = r.odeme = Money();
        if (i % 5 == 4) {
            r.ack = u"Tahsilat — Şükrü Öztürk"_s;
            r.odeme = Money::fromWhole(4000);
        } else {
            r.ack = u"Aidat %1 — uzun bir açıklama satırı"_s.arg(i + 1);
            r.borc = Money::fromWhole(1000);
        }
        balance += *r.faiz + *r.borc - *r.odeme;
        r.kalan = balance;
        st.totalSurcharge += *r.faiz;
        st.totalDebt += *r.borc;
        st.totalPaid += *r.odeme;
        st.rows.push_back(r);
    }
    surcharge::StatementRow closing;
    closing.ack = QString::fromUtf16(surcharge::ClosingCaption);
    closing.devir = balance;
    closing.faiz = Money::fromWhole(12);
    closing.kalan = balance + *closing.faiz;
    st.totalSurcharge += *closing.faiz;
    st.rows.push_back(closing);
    st.finalBalance = *closing.kalan;
    return st;
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Job {
    explicit Job(bool dotMatrix) : session(messages), context(session) {
        statement::presetPrinter(context.settings);
        context.settings.dotMatrix = dotMatrix;
        context.dotMatrixCopy = dir.filePath(u"job.txt"_s);
        context.pdfFile = dir.filePath(u"job.pdf"_s);
    }
    // The dot-matrix bytes, or the words of the PDF with their positions.
    QByteArray print(const surcharge::Statement &st, int firstRow) {
        prnx p(context);
        const statement::PrintHead head{u"Gülşen Öztürk"_s, u"Çamlık Sok. 4"_s,    u"Kadıköy"_s,
                                        u"İstanbul"_s,      u"Işık Konut Koop."_s, u"07.12.2026"_s};
        EXPECT_TRUE(statement::printStatement(p, st, firstRow, head, 2));
        return context.settings.dotMatrix ? readAll(context.dotMatrixCopy)
                                          : pdfWordList(context.pdfFile);
    }
    QTemporaryDir dir;
    RecordingMessages messages;
    Session session;
    printing::PrintContext context;
};

} // namespace

TEST(StatementPrint, FirstRowFollowsStartRowFullListOrThePage) {
    EXPECT_EQ(statement::firstPrintedRow(40, 0, false, 33), 13); // the last 27
    EXPECT_EQ(statement::firstPrintedRow(10, 0, false, 33), 0);
    EXPECT_EQ(statement::firstPrintedRow(40, 0, true, 33), 0);
    EXPECT_EQ(statement::firstPrintedRow(40, 5, false, 33), 5);
    EXPECT_EQ(statement::firstPrintedRow(40, 5, true, 33), 5);
}

// Dot-matrix at 33 lines: 9 head lines leave 24 rows a page.
TEST(StatementPrint, DotMatrixMatchesTheGoldenBytes) {
    const struct {
        const char *file;
        int months;
        bool fullList;
    } cases[] = {
        {"statement_last.txt", 39, false}, // the last 27 rows, the totals of all 40
        {"statement_full.txt", 47, true},  // two full pages: the totals start a third
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        Job job(true);
        const surcharge::Statement st = statementOf(c.months);
        const int first = statement::firstPrintedRow(int(st.rows.size()), 0, c.fullList,
                                                     job.context.settings.lineCount);
        EXPECT_GOLDEN(job.print(st, first), QString::fromLatin1(c.file));
    }
}

// Graphic printing fits the page's own line count: two pages here.
TEST(StatementPrint, GraphicMatchesTheGoldenWords) {
    Job job(false);
    const surcharge::Statement st = statementOf(90);
    EXPECT_GOLDEN(job.print(st, 0), u"statement_graphic.txt"_s);
    // The face the program prints in keeps every due date inside its 10
    // columns; a wider substitute cuts "01.07.2026" to "01.07.202".
    const std::vector<PdfWord> words = pdfWords(job.context.pdfFile);
    const auto at = [&](const QString &text) {
        return *std::find_if(words.begin(), words.end(),
                             [&](const PdfWord &w) { return w.text == text; });
    };
    const double column = (at(u"Vade"_s).xMin - at(u"Açıklama"_s).xMin) / 31;
    for (const PdfWord &w : words) {
        if (w.text.size() == 10 && w.text.count(u'.') == 2) {
            EXPECT_LE(w.xMax - w.xMin, 10 * column) << w.text.toStdString();
        }
    }
}
