#include "actions/attendance/attendanceprint.h"

#include "printing/printersettings.h"
#include "printing/report.h"

namespace attendance {
namespace {

using printing::Cell;
using printing::Columns;
using printing::Line;

constexpr qint16 HeadWidth = 130;
constexpr qint16 AddressWidth = 70;
// The tick boxes take their room from the address.
constexpr qint16 PresentWidth = 9, ProxyWidth = 10;
constexpr qint16 MarkedAddressWidth = AddressWidth - PresentWidth - ProxyWidth - 2;
constexpr qint16 SignatureWidth = 10;

// The sheet's columns, the signature last; the rows leave it empty.
struct Sheet {
    std::vector<Columns::Column> columns;

    explicit Sheet(bool marks) {
        columns = {{4, prnx::Saga}, {10}, {32}, {marks ? MarkedAddressWidth : AddressWidth}};
        if (marks)
            columns.insert(columns.end(),
                           {{PresentWidth, prnx::Ortala}, {ProxyWidth, prnx::Ortala}});
    }
    std::vector<Columns::Column> withSignature() const {
        std::vector<Columns::Column> all = columns;
        all.push_back({SignatureWidth});
        return all;
    }
    Line heads(bool marks) const {
        // The heads stand left, the running number's too.
        std::vector<Columns::Column> left = withSignature();
        for (Columns::Column &c : left)
            c.alignment = prnx::Sola;
        QStringList texts{QStringLiteral("S."), QStringLiteral("Üye No"),
                          QStringLiteral("Adı Soyadı"), QStringLiteral("Adres")};
        if (marks)
            texts << QStringLiteral("Asaleten") << QStringLiteral("Vekaleten");
        texts << QStringLiteral("İMZA");
        return Columns(left).line(texts, true);
    }
    Line rules() const { return Columns(withSignature()).rules(); }
    Line row(const QStringList &texts) const {
        Line line = Columns(columns, QStringLiteral("|")).line(texts);
        line.push_back(Cell::plain(QStringLiteral("|"), 1));
        return line;
    }
};

} // namespace

void presetPrinter(printing::PrinterSettings &s) {
    // The list sets only its title; the mode, the lines and the heading items
    // stay as the clerk last confirmed them. A record no print has filled yet
    // (the setup screen never keeps a line count of 0) takes the list's own.
    if (s.lineCount == 0)
        s.presetReport(QString::fromUtf16(PrintTitle), 66, true);
    else
        s.title = QString::fromUtf16(PrintTitle);
}

std::optional<int> printList(prnx &printer, Messages &messages, const std::vector<Member> &members,
                             const PrintOptions &options) {
    if (!listed(messages, members))
        return std::nullopt;
    const Sheet sheet(options.marks);
    printing::PageLayout page;
    page.head = {{Cell::plain(QStringLiteral(" "), 1)},
                 {Cell::title(printer.settings().title, HeadWidth)},
                 {Cell::pageNo(QStringLiteral("Sayfa :"), HeadWidth)},
                 sheet.heads(options.marks),
                 sheet.rules()};
    // A page takes rows until it is four lines short of its length.
    page.reserve = 4;
    printing::Report report(printer, std::move(page));
    if (!report.open(printer.settings().title))
        return std::nullopt;
    // A drawn box on paper; the dot-matrix printer's character set has none.
    const QString box = printer.settings().dotMatrix ? QStringLiteral("[ ]") : QStringLiteral("□");
    std::optional<PageGroups> groups;
    if (options.groups)
        groups.emplace(*options.groups);
    int number = 0;
    for (const Member &m : members) {
        QStringList texts{QString::number(++number), m.kod, m.unvan, m.adres};
        if (options.marks)
            texts << box << box;
        report.row({sheet.row(texts), sheet.rules()});
        if (groups && groups->endsPage(m.kod))
            report.endPage();
    }
    if (!report.finish({}))
        return std::nullopt;
    return report.pages();
}

} // namespace attendance
