#include "printing/sampleprint.h"

#include "base/daynumber.h"
#include "base/money.h"
#include "printing/report.h"

#include <algorithm>
#include <array>

namespace printing {
namespace {

constexpr int kHeadingLines = 6;
constexpr int kFooterLines = 3;

// Every Turkish letter, capital and small, appears among these.
constexpr std::array<const char16_t *, 12> kNames = {
    u"Ahmet Çağlar", u"Gülşen Öztürk", u"İsmail Ünlü",   u"Şule Ağaoğlu",
    u"Ömer Işık",    u"Çiğdem Güneş",  u"Ülkü Şahin",    u"Gökçe İnce",
    u"Hüsnü Doğan",  u"Ayşegül Kılıç", u"Şükrü Özdemir", u"Işıl Yücel"};

const Columns &columns() {
    static const Columns c({{10}, {50}, {24, prnx::Saga}, {24, prnx::Saga}, {24, prnx::Saga}},
                           QString());
    return c;
}

struct SampleRow {
    Money debt, credit;
};

// Made-up amounts that vary from row to row, and their totals.
std::vector<SampleRow> sampleRows(int count, SampleRow &total) {
    std::vector<SampleRow> rows;
    for (int i = 0; i < count; ++i) {
        const SampleRow r{Money::fromUnits(qint64((i * 7919) % 250000 + 1000) * 100),
                          Money::fromUnits(qint64((i * 3571) % 180000) * 100)};
        total.debt += r.debt;
        total.credit += r.credit;
        rows.push_back(r);
    }
    return rows;
}

QStringList amounts(const SampleRow &r) {
    return {formatAmount(r.debt, 2), formatAmount(r.credit, 2), formatAmount(r.debt - r.credit, 2)};
}

PageLayout layout(const QString &company, const QString &title, const QDate &date) {
    PageLayout page;
    page.head = {
        {Cell::plain(company, 66),
         Cell::plain(QStringLiteral("Tarih: ") + formatTrDate(date), 66, prnx::Saga)},
        {Cell::plain(title, prnx::Sutun, prnx::Ortala, true)},
        {Cell::pageNo(QStringLiteral("Sayfa: "), prnx::Sutun)},
        {Cell::rule(prnx::Sutun)},
        columns().line({QStringLiteral("Kod"), QStringLiteral("Adı Soyadı"), QStringLiteral("Borç"),
                        QStringLiteral("Alacak"), QStringLiteral("Bakiye")},
                       true),
        {Cell::rule(prnx::Sutun)},
    };
    page.reserve = kFooterLines;
    page.foot = {{Cell::rule(prnx::Sutun)}};
    // A test of the printer, not of a report's options.
    page.headingOptions = false;
    return page;
}

} // namespace

bool printSample(PrintContext &context, const QString &company, const QDate &date,
                 SampleSummary *summary) {
    const QString title = QStringLiteral("YAZICI DENEME SAYFASI - ÇĞİÖŞÜ çğıöşü");
    prnx p(context);
    Report report(p, layout(company, title, date));
    if (!report.open(title))
        return false;
    // Graphic printing has just put its own lines per page into the record:
    // rows for one and a half pages of it.
    const int body = std::max(1, int(context.settings.lineCount) - kHeadingLines - kFooterLines);
    SampleRow total;
    const std::vector<SampleRow> rows = sampleRows(body + (body + 1) / 2, total);

    for (size_t i = 0; i < rows.size(); ++i)
        report.row(
            columns().line(QStringList{QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                                       QString::fromUtf16(kNames[i % kNames.size()])} +
                           amounts(rows[i])));
    Line totals = columns().line(
        QStringList{QString(), QStringLiteral("Genel Toplam")} + amounts(total), true);
    totals[0].bold = false;
    if (!report.finish({{Cell::rule(prnx::Sutun)}, totals, {Cell::rule(prnx::Sutun, true)}}))
        return false;
    if (summary) {
        summary->pages = report.pages();
        summary->rows = int(rows.size());
    }
    return true;
}

} // namespace printing
