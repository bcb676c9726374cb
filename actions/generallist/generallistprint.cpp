#include "actions/generallist/generallistprint.h"

#include "printing/printersettings.h"
#include "printing/report.h"

namespace generallist {
namespace {

using printing::Cell;
using printing::Line;

constexpr qint16 CodeWidth = 15;
constexpr qint16 NameWidth = 35;
constexpr qint16 AmountWidth = 15;
constexpr qint16 HeadWidth = 115;

const printing::Columns &columns() {
    static const printing::Columns c({{CodeWidth},
                                      {NameWidth},
                                      {AmountWidth, prnx::Saga},
                                      {AmountWidth, prnx::Saga},
                                      {AmountWidth, prnx::Saga},
                                      {AmountWidth, prnx::Saga}});
    return c;
}

std::vector<Line> pageHead(const QString &title, const PrintHead &h) {
    return {
        {Cell::title(title, HeadWidth)},
        {Cell::date(QStringLiteral("Baz Tarih :") + h.date, 35),
         Cell::company(h.unvan, 80, prnx::Saga)},
        {},
        columns().line({QStringLiteral("KOD"), QStringLiteral("UNVAN"), QStringLiteral("BORÇ"),
                        QStringLiteral("ÖDENEN"), QStringLiteral("GECİKME"),
                        QStringLiteral("KALAN")},
                       true),
        columns().rules(),
    };
}

} // namespace

void presetPrinter(printing::PrinterSettings &s) {
    s.presetReport(QString::fromUtf16(PrintTitle), 66, true);
}

bool printList(prnx &printer, const List &list, const PrintHead &head, bool rules, int tlonda) {
    printing::PageLayout page;
    // The title as the clerk left it on the setup screen.
    page.head = pageHead(printer.settings().title, head);
    printing::Report report(printer, std::move(page));
    if (!report.open(printer.settings().title))
        return false;
    for (const Row &r : list.rows) {
        const Line line =
            columns().line(QStringList{r.kod.left(CodeWidth), r.isim.left(NameWidth)} +
                           shownAmounts(r.figures, tlonda));
        if (rules)
            report.row({line, columns().rules()});
        else
            report.row(line);
    }
    Line total{
        Cell::plain(QStringLiteral("T O P L A M : "), CodeWidth + 1 + NameWidth, prnx::Saga, true)};
    for (const QString &amount : shownAmounts(list.toplam, tlonda)) {
        total.push_back(Cell::plain(QStringLiteral(" "), 1));
        total.push_back(Cell::plain(amount, AmountWidth, prnx::Saga));
    }
    return report.finish({columns().rules(), total});
}

} // namespace generallist
