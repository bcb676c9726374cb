#include "screens/statement/statementprint.h"

#include "printing/printersettings.h"
#include "printing/prnx.h"

namespace statement {
namespace {

constexpr qint16 AckWidth = 30;
constexpr qint16 DateWidth = 10;
constexpr qint16 AmountWidth = 15;
constexpr qint16 HeadWidth = 108;
constexpr qint16 LineWidth = AckWidth + 1 + DateWidth + 5 * (1 + AmountWidth);
// The page head's lines: the rows share the rest of the page with them.
constexpr int HeadLines = 6;

QString amountText(const std::optional<Money> &m, int tlonda) {
    return m ? formatAmount(*m, tlonda) : QString();
}

void blank(prnx &p) {
    p.Lprint(QStringLiteral(" "), 1);
}

void pageHead(prnx &p, const PrintHead &h) {
    p.YeniSayfa();
    p.Lprint(QString::fromUtf16(PrintTitle), HeadWidth, true, prnx::Ortala, true);
    p.Lprint(QStringLiteral("Adı Soyadı : "), 13);
    p.Lprint(h.isim1, 50);
    p.Lprint(h.unvan, 43, true, prnx::Saga);
    const QString continued = QStringLiteral("           : ");
    const std::pair<QString, QString> address[] = {
        {QStringLiteral("Adres      : "), h.adr1}, {continued, h.adr2}, {continued, h.adr3}};
    for (const auto &[label, line] : address) {
        p.Lprint(label, 13);
        p.Lprint(line, HeadWidth - 13, true);
    }
    p.Lprint(QStringLiteral("Tarih : ") + h.date, HeadWidth, true);
    p.LinePrint(LineWidth, false, true);

    p.Lprint(QStringLiteral("Açıklama"), AckWidth);
    blank(p);
    p.Lprint(QStringLiteral("Vade"), DateWidth);
    const char16_t *amounts[] = {u"Devir", u"G.Zammı", u"Borç", u"Ödeme", u"Kalan"};
    for (size_t i = 0; i < std::size(amounts); ++i) {
        blank(p);
        p.Lprint(QString::fromUtf16(amounts[i]), AmountWidth, i + 1 == std::size(amounts),
                 prnx::Saga);
    }
    p.LinePrint(AckWidth);
    blank(p);
    p.LinePrint(DateWidth);
    for (int i = 0; i < 5; ++i) {
        blank(p);
        p.LinePrint(AmountWidth, false, i == 4);
    }
}

void rowLine(prnx &p, const surcharge::StatementRow &r, int tlonda) {
    p.Lprint(r.ack.left(AckWidth), AckWidth);
    blank(p);
    p.Lprint(r.vade.isValid() ? r.vade.toString(QStringLiteral("dd.MM.yyyy")) : QString(),
             DateWidth);
    const std::optional<Money> cells[] = {r.devir, r.faiz, r.borc, r.odeme, r.kalan};
    for (size_t i = 0; i < std::size(cells); ++i) {
        blank(p);
        p.Lprint(amountText(cells[i], tlonda), AmountWidth, i + 1 == std::size(cells), prnx::Saga);
    }
}

} // namespace

void presetPrinter(printing::PrinterSettings &s) {
    s.title = QString::fromUtf16(PrintTitle);
    s.printTitle = s.printDate = s.printPageNo = s.printCompany = true;
    s.orientation = 1;
    s.lineCount = 33;
    s.copies = 1;
    s.dotMatrix = false;
}

int firstPrintedRow(int rowCount, int startRow, bool fullList, int lineCount) {
    if (startRow > 0)
        return startRow;
    if (fullList)
        return 0;
    return std::max(0, rowCount - (lineCount - HeadLines));
}

bool printStatement(prnx &p, printing::PrinterSettings &settings, const surcharge::Statement &st,
                    int firstRow, const PrintHead &head, int tlonda) {
    if (!p.OpenPrinter(settings.mode(), settings.title, true))
        return false;
    Money surcharge, debt, paid;
    for (size_t i = 0; i < st.rows.size(); ++i) {
        const surcharge::StatementRow &r = st.rows[i];
        if (p.SatirSayisi() == 0)
            pageHead(p, head);
        surcharge += r.faiz.value_or(Money());
        debt += r.borc.value_or(Money());
        paid += r.odeme.value_or(Money());
        if (int(i) >= firstRow)
            rowLine(p, r, tlonda);
        if (p.SatirSayisi() >= settings.lineCount)
            p.SayfaBitti(true);
    }
    if (p.SatirSayisi() == 0)
        pageHead(p, head);
    p.LinePrint(LineWidth, false, true);
    p.Lprint(QStringLiteral("T O P L A M : "), 44);
    const Money totals[] = {surcharge, debt, paid};
    for (size_t i = 0; i < std::size(totals); ++i)
        p.Lprint(formatAmount(totals[i], tlonda), AmountWidth, i + 1 == std::size(totals),
                 prnx::Saga);
    p.LinePrint(LineWidth, false, true);
    p.SayfaBitti(true);
    p.ClosePrinter();
    return true;
}

} // namespace statement
