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

struct Layout {
    const printing::Columns &columns;
    qint16 codeWidth, nameWidth, amountWidth;
    QStringList heads;
    // The amounts of a row in the layout's order.
    QStringList (*amounts)(const Figures &, int);
};

QStringList listAmounts(const Figures &f, int tlonda) {
    return shownAmounts(f, tlonda);
}

Layout layout(bool aging) {
    if (!aging)
        return {columns(),
                CodeWidth,
                NameWidth,
                AmountWidth,
                {QStringLiteral("KOD"), QStringLiteral("UNVAN"), QStringLiteral("BORÇ"),
                 QStringLiteral("ÖDENEN"), QStringLiteral("GECİKME"), QStringLiteral("KALAN")},
                listAmounts};
    return {agingColumns(),   AgingCodeWidth, AgingNameWidth,
            AgingAmountWidth, agingHeads(),   agingCells};
}

std::vector<Line> pageHead(const QString &title, const PrintHead &h, const Layout &l) {
    return {
        {Cell::title(title, HeadWidth)},
        {Cell::date(QStringLiteral("Baz Tarih :") + h.date, 35),
         Cell::company(h.unvan, 80, prnx::Saga)},
        {},
        l.columns.line(l.heads, true),
        l.columns.rules(),
    };
}

} // namespace

const printing::Columns &agingColumns() {
    static const printing::Columns c = [] {
        std::vector<printing::Columns::Column> cols{{AgingCodeWidth}, {AgingNameWidth}};
        for (int i = 0; i < surcharge::AgeCount + 2; ++i)
            cols.push_back({AgingAmountWidth, prnx::Saga});
        return printing::Columns(std::move(cols));
    }();
    return c;
}

QStringList agingHeads() {
    QStringList heads{QStringLiteral("KOD"), QStringLiteral("UNVAN")};
    for (const QString &caption : ageCaptions())
        heads << caption.toUpper();
    return heads << QStringLiteral("GECİKME") << QStringLiteral("KALAN");
}

QStringList agingCells(const Figures &f, int tlonda) {
    return ageAmounts(f, tlonda, true)
           << formatAmount(f.gecikme, tlonda) << formatAmount(f.kalan, tlonda);
}

void presetPrinter(printing::PrinterSettings &s) {
    s.presetReport(QString::fromUtf16(PrintTitle), 66, true);
}

void presetAgingPrinter(printing::PrinterSettings &s) {
    s.presetReport(QString::fromUtf16(AgingTitle), 66, true);
}

bool printList(prnx &printer, const List &list, const PrintHead &head, bool rules, int tlonda,
               bool aging) {
    const Layout l = layout(aging);
    printing::PageLayout page;
    // The title as the clerk left it on the setup screen.
    page.head = pageHead(printer.settings().title, head, l);
    printing::Report report(printer, std::move(page));
    if (!report.open(printer.settings().title))
        return false;
    for (const Row &r : list.rows) {
        const Line line =
            l.columns.line(QStringList{r.kod.left(l.codeWidth), r.isim.left(l.nameWidth)} +
                           l.amounts(r.figures, tlonda));
        if (rules)
            report.row({line, l.columns.rules()});
        else
            report.row(line);
    }
    Line total{Cell::plain(QStringLiteral("T O P L A M : "), qint16(l.codeWidth + 1 + l.nameWidth),
                           prnx::Saga, true)};
    for (const QString &amount : l.amounts(list.toplam, tlonda)) {
        total.push_back(Cell::plain(QStringLiteral(" "), 1));
        total.push_back(Cell::plain(amount, l.amountWidth, prnx::Saga));
    }
    return report.finish({l.columns.rules(), total});
}

} // namespace generallist
