#include "actions/monthlydebt/voucherprint.h"

#include "base/daynumber.h"
#include "base/userstore.h"
#include "printing/printersettings.h"
#include "printing/report.h"

namespace monthlydebt {

namespace {

using printing::Cell;
using printing::Line;

const QString &storeSection() {
    static const QString s = QStringLiteral("dalun");
    return s;
}
const QString &storeKey() {
    static const QString k = QStringLiteral("caption");
    return k;
}

// The item table: description, period, amount.
const printing::Columns &headColumns() {
    static const printing::Columns c({{30}, {20}, {15}});
    return c;
}
const printing::Columns &itemColumns() {
    static const printing::Columns c({{30}, {20, prnx::Ortala}, {15, prnx::Saga}});
    return c;
}

Line labelled(const QString &label, const QString &text, qint16 width) {
    return {Cell::plain(label, 10, prnx::Saga), Cell::plain(text, width)};
}

std::vector<Line> voucher(const Member &m, qint32 number, Money total, const VoucherRun &run) {
    const QString blankLabel = QStringLiteral("         :");
    std::vector<Line> lines{
        {},
        {Cell::title(run.title, 80)},
        labelled(QStringLiteral("Fiş No :"), QString::number(number), 10),
        {Cell::plain(QStringLiteral("Tarih  :"), 10, prnx::Saga),
         Cell::plain(formatTrDate(run.date), 20), Cell::company(run.unvan, 50, prnx::Saga)},
        labelled(QStringLiteral("Üye Kodu :"), m.kod, 15),
        labelled(QStringLiteral("Ünvan    :"), m.unvan, 35),
        labelled(QStringLiteral("Adres    :"), m.adr1, 35),
        labelled(blankLabel, m.adr2, 35),
        labelled(blankLabel, m.adr3, 35),
        {},
        headColumns().line(
            {QStringLiteral("AÇIKLAMA"), QStringLiteral("DÖNEM"), QStringLiteral("TUTAR")}, true),
        headColumns().rules(),
    };
    for (size_t head = 0; head < m.prices.size(); ++head)
        if (m.prices[head] > Money())
            lines.push_back(itemColumns().line(
                {run.captions[head], run.period, formatAmount(m.prices[head], run.tlonda)}));
    lines.push_back({});
    lines.push_back(headColumns().rules());
    lines.push_back({Cell::plain(QString(22, u' '), 30, prnx::Sola, true),
                     Cell::plain(QStringLiteral(" "), 1),
                     Cell::plain(QStringLiteral("TOPLAM :"), 20, prnx::Saga, true),
                     Cell::plain(QStringLiteral(" "), 1),
                     Cell::plain(formatAmount(total, run.tlonda), 15, prnx::Saga)});
    lines.push_back(
        {Cell::plain(QStringLiteral("Yalnız,") + amountInWords(total, run.tlnick, run.krnick), 0)});
    lines.push_back(
        {Cell::plain(QStringLiteral("Alacağınıza Kaydedilmiştir."), 0, prnx::Sola, true)});
    return lines;
}

} // namespace

QString voucherTitle() {
    return userstore::read(storeSection(), storeKey(), QString::fromUtf16(DefaultVoucherTitle));
}

bool storeVoucherTitle(const QString &title) {
    return userstore::write(storeSection(), storeKey(), title);
}

void presetPrinter(printing::PrinterSettings &s) {
    s.presetReport(voucherTitle(), 33, true);
}

Money voucherTotal(const HeadPrices &prices) {
    Money total;
    for (const Money &p : prices)
        total += p;
    return total;
}

std::optional<int> printVouchers(prnx &printer, const std::vector<Member> &members, Rows rows,
                                 const VoucherRun &run) {
    std::vector<size_t> due;
    for (int row = std::max(rows.first, 0); row <= rows.last && row < int(members.size()); ++row)
        if (voucherTotal(members[size_t(row)].prices) > Money())
            due.push_back(size_t(row));
    // Nothing owed is no print: opening the printer would already eject a page.
    if (due.empty())
        return 0;
    printing::Report report(printer, {});
    // A printer that does not open says "Yazıcı Yazdırılamıyor.." with its cause.
    if (!report.open(run.title, false))
        return std::nullopt;
    int printed = 0;
    for (const size_t row : due) {
        const Member &m = members[row];
        report.row(voucher(m, run.firstNo + printed, voucherTotal(m.prices), run));
        report.endPage();
        ++printed;
    }
    if (!report.finish({}))
        return std::nullopt;
    return printed;
}

} // namespace monthlydebt
