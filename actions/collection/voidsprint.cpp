#include "actions/collection/voidsprint.h"

#include "data/koopdata.h"
#include "printing/printersettings.h"
#include "printing/report.h"

namespace collection {
namespace {

using printing::Cell;
using printing::Line;

constexpr qint16 NameWidth = 30;
constexpr qint16 AmountWidth = 15;
constexpr qint16 ReasonWidth = 40;
constexpr qint16 HeadWidth = 128;

const printing::Columns &columns() {
    static const printing::Columns c(
        {{9}, {10}, {10}, {8}, {NameWidth}, {AmountWidth, prnx::Saga}, {ReasonWidth}});
    return c;
}

} // namespace

VoidsHead voidsHead(Company &s, const QDate &from, const QDate &to) {
    return {voidsRange(from, to), data::cooperativeName(s.genel)};
}

void presetVoidsPrinter(printing::PrinterSettings &s) {
    s.presetReport(QStringLiteral("İPTAL EDİLEN MAKBUZLAR"), 66, false);
}

bool printVoids(prnx &printer, const std::vector<VoidLine> &lines, const VoidsHead &head,
                int tlonda) {
    printing::PageLayout page;
    page.head = {
        {Cell::title(printer.settings().title, HeadWidth)},
        {Cell::date(head.range, 40), Cell::company(head.unvan, HeadWidth - 40, prnx::Saga)},
        {Cell::pageNo(QStringLiteral("Sayfa : "), HeadWidth)},
        columns().line({QStringLiteral("MAKBUZ"), QStringLiteral("MKB.TAR."),
                        QStringLiteral("İPT.TAR."), QStringLiteral("KOD"), QStringLiteral("ÜNVAN"),
                        QStringLiteral("TUTAR"), QStringLiteral("İPTAL NEDENİ")},
                       true),
        columns().rules(),
    };
    printing::Report report(printer, std::move(page));
    if (!report.open(printer.settings().title))
        return false;
    Money total;
    for (const VoidLine &l : lines) {
        QStringList cells = shownVoid(l, tlonda);
        cells[4] = cells[4].left(NameWidth);
        cells[6] = cells[6].left(ReasonWidth);
        report.row(columns().line(cells));
        total += l.v.tutar;
    }
    const Line sum{Cell::plain(QStringLiteral("T O P L A M : "),
                               9 + 1 + 10 + 1 + 10 + 1 + 8 + 1 + NameWidth, prnx::Saga, true),
                   Cell::plain(QStringLiteral(" "), 1),
                   Cell::plain(formatAmount(total, tlonda), AmountWidth, prnx::Saga, true)};
    return report.finish({columns().rules(), sum});
}

} // namespace collection
