#include "printing/sampleprint.h"

#include "printing/prnx.h"
#include "startup/base/money.h"

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

void heading(prnx &p, const QString &company, const QString &title, const QDate &date) {
    const qint16 page = p.YeniSayfa();
    p.Lprint(company, 66);
    p.Lprint(QStringLiteral("Tarih: ") + date.toString(QStringLiteral("dd.MM.yyyy")), 66, true,
             prnx::Saga);
    p.Lprint(title, prnx::Sutun, true, prnx::Ortala, true);
    p.Lprint(QStringLiteral("Sayfa: ") + QString::number(page), prnx::Sutun, true, prnx::Saga);
    p.LinePrint(prnx::Sutun, false, true);
    p.Lprint(QStringLiteral("Kod"), 10, false, prnx::Sola, true);
    p.Lprint(QStringLiteral("Adı Soyadı"), 50, false, prnx::Sola, true);
    p.Lprint(QStringLiteral("Borç"), 24, false, prnx::Saga, true);
    p.Lprint(QStringLiteral("Alacak"), 24, false, prnx::Saga, true);
    p.Lprint(QStringLiteral("Bakiye"), 24, true, prnx::Saga, true);
    p.LinePrint(prnx::Sutun, false, true);
}

void amounts(prnx &p, Money debt, Money credit, bool newLine, bool bold) {
    p.Lprint(formatAmount(debt, 2), 24, false, prnx::Saga, bold);
    p.Lprint(formatAmount(credit, 2), 24, false, prnx::Saga, bold);
    p.Lprint(formatAmount(debt - credit, 2), 24, newLine, prnx::Saga, bold);
}

} // namespace

bool printSample(PrintContext &context, const QString &company, const QDate &date,
                 SampleSummary *summary) {
    const QString title = QStringLiteral("YAZICI DENEME SAYFASI - ÇĞİÖŞÜ çğıöşü");
    prnx p(context);
    if (!p.OpenPrinter(context.settings.mode(), title, true))
        return false;
    // Graphic printing has just put its own lines per page into the record.
    const int lineCount = context.settings.lineCount;
    const int body = std::max(1, lineCount - kHeadingLines - kFooterLines);
    const int rows = body + (body + 1) / 2;

    Money totalDebt, totalCredit;
    for (int i = 0; i < rows; ++i) {
        if (p.SatirSayisi() == 0)
            heading(p, company, title, date);
        const Money debt = Money::fromUnits(qint64((i * 7919) % 250000 + 1000) * 100);
        const Money credit = Money::fromUnits(qint64((i * 3571) % 180000) * 100);
        totalDebt += debt;
        totalCredit += credit;
        p.Lprint(QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')), 10);
        p.Lprint(QString::fromUtf16(kNames[size_t(i) % kNames.size()]), 50);
        amounts(p, debt, credit, true, false);
        if (p.SatirSayisi() >= lineCount - kFooterLines && i + 1 < rows) {
            p.LinePrint(prnx::Sutun, false, true);
            p.SayfaBitti(true);
        }
    }
    p.LinePrint(prnx::Sutun, false, true);
    p.Lprint(QString(), 10);
    p.Lprint(QStringLiteral("Genel Toplam"), 50, false, prnx::Sola, true);
    amounts(p, totalDebt, totalCredit, true, true);
    p.LinePrint(prnx::Sutun, true, true);
    p.SayfaBitti(true);
    p.ClosePrinter();
    if (summary) {
        summary->pages = p.SayfaSayisi();
        summary->rows = rows;
    }
    return true;
}

} // namespace printing
