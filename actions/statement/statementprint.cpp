#include "actions/statement/statementprint.h"

#include "base/daynumber.h"
#include "printing/printersettings.h"
#include "printing/report.h"

#include <algorithm>

namespace statement {
namespace {

using printing::Cell;
using printing::Line;

constexpr qint16 AckWidth = 30;
constexpr qint16 DateWidth = 10;
constexpr qint16 AmountWidth = 15;
constexpr qint16 HeadWidth = 108;
constexpr qint16 LabelWidth = 13;
// The page head's lines: the rows share the rest of the page with them.
constexpr int HeadLines = 6;

const printing::Columns &columns() {
    static const printing::Columns c({{AckWidth},
                                      {DateWidth},
                                      {AmountWidth, prnx::Saga},
                                      {AmountWidth, prnx::Saga},
                                      {AmountWidth, prnx::Saga},
                                      {AmountWidth, prnx::Saga},
                                      {AmountWidth, prnx::Saga}});
    return c;
}

QString amountText(const std::optional<Money> &m, int tlonda) {
    return m ? formatAmount(*m, tlonda) : QString();
}

std::vector<Line> pageHead(const PrintHead &h) {
    const QString continued = QStringLiteral("           : ");
    const qint16 rule = columns().width();
    return {
        {Cell::title(QString::fromUtf16(PrintTitle), HeadWidth)},
        {Cell::plain(QStringLiteral("Adı Soyadı : "), LabelWidth), Cell::plain(h.isim1, 50),
         Cell::company(h.unvan, 43, prnx::Saga)},
        {Cell::plain(QStringLiteral("Adres      : "), LabelWidth),
         Cell::plain(h.adr1, HeadWidth - LabelWidth)},
        {Cell::plain(continued, LabelWidth), Cell::plain(h.adr2, HeadWidth - LabelWidth)},
        {Cell::plain(continued, LabelWidth), Cell::plain(h.adr3, HeadWidth - LabelWidth)},
        {Cell::date(QStringLiteral("Tarih : ") + h.date, HeadWidth)},
        {Cell::rule(rule)},
        columns().line({QStringLiteral("Açıklama"), QStringLiteral("Vade"), QStringLiteral("Devir"),
                        QStringLiteral("G.Zammı"), QStringLiteral("Borç"), QStringLiteral("Ödeme"),
                        QStringLiteral("Kalan")}),
        columns().rules(),
    };
}

Line rowLine(const surcharge::StatementRow &r, int tlonda) {
    return columns().line({r.ack.left(AckWidth), formatTrDate(r.vade), amountText(r.devir, tlonda),
                           amountText(r.faiz, tlonda), amountText(r.borc, tlonda),
                           amountText(r.odeme, tlonda), amountText(r.kalan, tlonda)});
}

} // namespace

void presetPrinter(printing::PrinterSettings &s) {
    s.presetReport(QString::fromUtf16(PrintTitle), 33, false);
}

int firstPrintedRow(int rowCount, int startRow, bool fullList, int lineCount) {
    if (startRow > 0)
        return startRow;
    if (fullList)
        return 0;
    return std::max(0, rowCount - (lineCount - HeadLines));
}

namespace {

// The rows from `firstRow` on and the totals, which cover every row, the
// ones left unprinted included.
void printRows(printing::Report &report, const surcharge::Statement &st, int firstRow, int tlonda) {
    for (size_t i = size_t(std::max(firstRow, 0)); i < st.rows.size(); ++i)
        report.row(rowLine(st.rows[i], tlonda));
    const qint16 rule = columns().width();
    report.closeSection({
        {Cell::rule(rule)},
        {Cell::plain(QStringLiteral("T O P L A M : "), 44),
         Cell::plain(formatAmount(st.totalSurcharge, tlonda), AmountWidth, prnx::Saga),
         Cell::plain(formatAmount(st.totalDebt, tlonda), AmountWidth, prnx::Saga),
         Cell::plain(formatAmount(st.totalPaid, tlonda), AmountWidth, prnx::Saga)},
        {Cell::rule(rule)},
    });
}

} // namespace

bool printStatement(prnx &printer, const surcharge::Statement &st, int firstRow,
                    const PrintHead &head, int tlonda) {
    printing::PageLayout page;
    page.head = pageHead(head);
    printing::Report report(printer, std::move(page));
    if (!report.open(printer.settings().title))
        return false;
    printRows(report, st, firstRow, tlonda);
    return report.finish({});
}

void printSection(printing::Report &report, const surcharge::Statement &st, const PrintHead &head,
                  int tlonda) {
    report.setHead(pageHead(head));
    printRows(report, st, 0, tlonda);
}

} // namespace statement
