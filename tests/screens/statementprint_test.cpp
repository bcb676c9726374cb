// The printed statement: which rows, page heads on every page, the totals.
#include "printing/dostext.h"
#include "printing/printcontext.h"
#include "printing/prnx.h"
#include "screens/statement/statementprint.h"
#include "startup/session.h"
#include "support/qtprint.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

// The lines of a dot-matrix job with the printer's control codes taken out,
// as code page 857 bytes.
std::vector<QByteArray> printedLines(const QString &path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray plain;
    const QByteArray raw = f.readAll();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == 27)
            ++i;
        else if (raw[i] != 15 && raw[i] != 18)
            plain += raw[i];
    }
    std::vector<QByteArray> lines;
    for (const QByteArray &l : plain.split('\n'))
        lines.push_back(l.endsWith('\r') ? l.chopped(1) : l);
    return lines;
}

surcharge::Statement statementOf(int debts) {
    surcharge::Statement st;
    Money balance;
    for (int i = 0; i < debts; ++i) {
        surcharge::StatementRow r;
        r.ack = QStringLiteral("Aidat %1 — uzun bir açıklama satırı").arg(i + 1);
        r.vade = QDate(2025, 1, 1).addMonths(i);
        r.devir = balance;
        r.faiz = Money::fromUnits(i * 2500);
        r.borc = Money::fromWhole(1000);
        r.odeme = Money();
        balance += *r.faiz + *r.borc;
        r.kalan = balance;
        st.rows.push_back(r);
    }
    surcharge::StatementRow closing;
    closing.ack = QString::fromUtf16(surcharge::ClosingCaption);
    closing.devir = closing.kalan = balance;
    closing.faiz = Money();
    st.rows.push_back(closing);
    st.finalBalance = balance;
    return st;
}

struct Job {
    Job() : session(messages), context(session) {
        context.dotMatrixCopy = dir.filePath(u"job.txt"_s);
        statement::presetPrinter(context.settings);
        context.settings.dotMatrix = true;
    }
    std::vector<QByteArray> print(const surcharge::Statement &st, int firstRow) {
        prnx p(context);
        const statement::PrintHead head{u"Gülşen Öztürk"_s, u"Çamlık Sok. 4"_s,    u"Kadıköy"_s,
                                        u"İstanbul"_s,      u"Işık Konut Koop."_s, u"07.12.2026"_s};
        EXPECT_TRUE(statement::printStatement(p, context.settings, st, firstRow, head, 2));
        return printedLines(context.dotMatrixCopy);
    }
    QTemporaryDir dir;
    RecordingMessages messages;
    Session session;
    printing::PrintContext context;
};

int countStarting(const std::vector<QByteArray> &lines, const QString &text) {
    const QByteArray dos = printing::toDosText(text);
    return int(std::count_if(lines.begin(), lines.end(),
                             [&](const QByteArray &l) { return l.startsWith(dos); }));
}

} // namespace

TEST(StatementPrint, FirstRowFollowsStartRowFullListOrThePage) {
    EXPECT_EQ(statement::firstPrintedRow(40, 0, false, 33), 13); // the last 27
    EXPECT_EQ(statement::firstPrintedRow(10, 0, false, 33), 0);
    EXPECT_EQ(statement::firstPrintedRow(40, 0, true, 33), 0);
    EXPECT_EQ(statement::firstPrintedRow(40, 5, false, 33), 5);
    EXPECT_EQ(statement::firstPrintedRow(40, 5, true, 33), 5);
}

TEST(StatementPrint, LastRowsOnlyButTotalsOfEveryRow) {
    Job job;
    const surcharge::Statement st = statementOf(39);
    const int first = statement::firstPrintedRow(int(st.rows.size()), 0, false, 33);
    const auto lines = job.print(st, first);

    EXPECT_EQ(countStarting(lines, u"Aidat 1 "_s), 0);
    EXPECT_EQ(countStarting(lines, u"Aidat 13 "_s), 0);
    EXPECT_EQ(countStarting(lines, u"Aidat 14 "_s), 1);
    EXPECT_EQ(countStarting(lines, u"Aidat 39 "_s), 1);
    EXPECT_EQ(countStarting(lines, u"****Son Bakiye****"_s), 1);

    // Surcharge 0.25 × (0 + 1 + … + 38) = 185.25, debts 39 × 1,000.
    const QByteArray totals =
        printing::toDosText(u"T O P L A M : "_s.leftJustified(44) + u"185.25"_s.rightJustified(15) +
                            u"39,000.00"_s.rightJustified(15) + QString(15, u' '));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), totals), 1);
}

TEST(StatementPrint, RowLineHasItsColumns) {
    Job job;
    const auto lines = job.print(statementOf(2), 0);
    const QString expected = u"Aidat 2 — uzun bir açıklama sa"_s + u" "_s + u"01.02.2025"_s +
                             u" "_s + u"1,000.00"_s.rightJustified(15) + u" "_s +
                             u".25"_s.rightJustified(15) + u" "_s +
                             u"1,000.00"_s.rightJustified(15) + u" "_s + QString(15, u' ') +
                             u" "_s + u"2,000.25"_s.rightJustified(15);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), printing::toDosText(expected)), 1);
}

TEST(StatementPrint, EveryPageStartsWithItsHead) {
    Job job;
    const auto lines = job.print(statementOf(80), 0);
    // 6 head lines and a column rule; 33 lines a page: 81 rows take four pages.
    EXPECT_EQ(countStarting(lines, u"Adı Soyadı : Gülşen Öztürk"_s), 4);
    EXPECT_EQ(countStarting(lines, u"Tarih : 07.12.2026"_s), 4);
    EXPECT_EQ(countStarting(lines, u"Açıklama"_s), 4);
    for (int i = 1; i <= 80; ++i)
        EXPECT_EQ(countStarting(lines, u"Aidat %1 "_s.arg(i)), 1) << i;
}
