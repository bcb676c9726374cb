#include "actions/reports/dashboard.h"

#include "actions/generallist/generallistaction.h"
#include "actions/statement/statementaction.h"
#include "base/daynumber.h"
#include "charts/board.h"
#include "data/ledger.h"
#include "data/membersearch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace dashboard {
namespace {

constexpr size_t TopCount = 10;

double chartValue(Money m) {
    return m.toDouble(); // a bar's height, never summed again
}

} // namespace

QString rate(Money collected, Money charged) {
    if (charged <= Money())
        return QString();
    // Tenths of a per cent, rounded half up, in whole numbers.
    const auto tenths = qint64((__int128(collected.units()) * 2000 / charged.units() + 1) / 2);
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(std::abs(tenths % 10));
}

std::optional<Board> build(Company &s, int year, int month, const ProgressFn &progress) {
    if (year < 1900 || year > 9999 || month < 0 || month > 12) {
        s.messages.warning(QStringLiteral("Hatalı yıl ya da ay."));
        return std::nullopt;
    }
    Board b;
    b.year = year;
    const QDate today = s.today();
    b.baseDate = today.year() == year ? today : QDate(year, 12, 31);
    b.month = month > 0 ? month : b.baseDate.month();
    b.unvan = statement::cooperativeName(s);

    std::vector<data::MemberAccount> cards;
    if (!data::readMemberAccounts(s.data, std::nullopt, &cards, s.messages))
        return std::nullopt;
    b.cards = int(cards.size());
    const double faiz = statement::deskSettings(s).faiz;
    if (progress)
        progress({0, b.cards});
    std::vector<Debtor> debtors;
    if (!statement::computeEach(s, statement::cardsOf(cards), b.baseDate, faiz,
                                [&](size_t i, const surcharge::Statement &st) {
                                    for (const surcharge::StatementRow &r : st.rows) {
                                        if (!r.vade.isValid() || r.vade.year() != year)
                                            continue;
                                        const size_t m = size_t(r.vade.month() - 1);
                                        b.charged[m] += r.borc.value_or(Money());
                                        b.collected[m] += r.odeme.value_or(Money());
                                    }
                                    const generallist::Figures f =
                                        generallist::figuresOf(st, b.baseDate);
                                    generallist::add(b.toplam, f);
                                    if (f.kalan > Money())
                                        debtors.push_back({cards[i].kod, cards[i].isim1, f.kalan});
                                    if (progress)
                                        progress({int(i) + 1, b.cards});
                                }))
        return std::nullopt;
    for (size_t m = 0; m < 12; ++m) {
        b.chargedTotal += b.charged[m];
        b.collectedTotal += b.collected[m];
    }
    // Largest first; equal balances in code order.
    const size_t top = std::min(TopCount, debtors.size());
    std::partial_sort(debtors.begin(), debtors.begin() + qsizetype(top), debtors.end(),
                      [](const Debtor &x, const Debtor &y) {
                          return x.kalan != y.kalan ? x.kalan > y.kalan : x.kod < y.kod;
                      });
    b.top.assign(debtors.begin(), debtors.begin() + qsizetype(top));

    const QDate first(year, b.month, 1);
    std::vector<data::CashDay> days;
    if (!data::readCashDays(s.data, first, first.addMonths(1).addDays(-1), &days, s.messages))
        return std::nullopt;
    for (QDate d = first; d.month() == b.month; d = d.addDays(1)) {
        Money total;
        for (const data::CashDay &day : days)
            if (day.tarih == d)
                total = day.total;
        b.cash.push_back({d, total});
    }
    return b;
}

QString asText(const Board &b, int tl) {
    QString out = QString::fromUtf16(Title) + QStringLiteral(" %1  ").arg(b.year) + b.unvan +
                  u'\n' + QStringLiteral("Baz Tarih :") + formatTrDate(b.baseDate) +
                  QStringLiteral("\n\n");
    out += QStringLiteral("Ay").leftJustified(10) + QStringLiteral("Tahakkuk").rightJustified(16) +
           QStringLiteral("Tahsilat").rightJustified(16) +
           QStringLiteral("Oran %").rightJustified(9) + u'\n';
    const auto line = [&](const QString &name, Money charged, Money collected) {
        out += name.leftJustified(10) + formatAmount(charged, tl).rightJustified(16) +
               formatAmount(collected, tl).rightJustified(16) +
               rate(collected, charged).rightJustified(9) + u'\n';
    };
    for (size_t m = 0; m < 12; ++m)
        line(trMonthName(int(m) + 1), b.charged[m], b.collected[m]);
    line(QStringLiteral("Toplam"), b.chargedTotal, b.collectedTotal);
    out += QStringLiteral("\nGecikmiş anapara (yaşlarına göre):\n");
    const QStringList ages = generallist::ageCaptions();
    for (size_t a = 0; a < b.toplam.yas.size(); ++a)
        out += QStringLiteral("  ") + ages[qsizetype(a)].leftJustified(14) +
               formatAmount(b.toplam.yas[a], tl).rightJustified(16) + u'\n';
    out += QStringLiteral("  ") + QStringLiteral("G.Zammı").leftJustified(14) +
           formatAmount(b.toplam.gecikme, tl).rightJustified(16) + u'\n';
    out += QStringLiteral("  ") + QStringLiteral("Toplam borç").leftJustified(14) +
           formatAmount(b.toplam.kalan, tl).rightJustified(16) + u'\n';
    out += QStringLiteral("\nEn çok borçlu on üye:\n");
    for (const Debtor &d : b.top)
        out += QStringLiteral("  ") + d.kod.leftJustified(10) + d.isim.left(30).leftJustified(31) +
               formatAmount(d.kalan, tl).rightJustified(16) + u'\n';
    out += QStringLiteral("\nKasa, %1 %2:\n").arg(trMonthName(b.month)).arg(b.year);
    for (const CashDay &d : b.cash)
        if (d.total != Money())
            out += QStringLiteral("  ") + formatTrDate(d.day) +
                   formatAmount(d.total, tl).rightJustified(16) + u'\n';
    return out;
}

QString asJson(const Board &b, int tl) {
    QJsonArray months;
    for (size_t m = 0; m < 12; ++m)
        months.append(QJsonObject{{"ay", int(m) + 1},
                                  {"tahakkuk", plainAmount(b.charged[m], tl)},
                                  {"tahsilat", plainAmount(b.collected[m], tl)}});
    QJsonArray top;
    for (const Debtor &d : b.top)
        top.append(
            QJsonObject{{"kod", d.kod}, {"isim", d.isim}, {"kalan", plainAmount(d.kalan, tl)}});
    QJsonArray cash;
    for (const CashDay &d : b.cash)
        cash.append(
            QJsonObject{{"tarih", formatTrDate(d.day)}, {"tutar", plainAmount(d.total, tl)}});
    QJsonObject doc{{"yil", b.year},
                    {"tarih", formatTrDate(b.baseDate)},
                    {"kartlar", b.cards},
                    {"aylar", months},
                    {"tahakkuk", plainAmount(b.chargedTotal, tl)},
                    {"tahsilat", plainAmount(b.collectedTotal, tl)},
                    {"oran", rate(b.collectedTotal, b.chargedTotal)},
                    {"gecikme", plainAmount(b.toplam.gecikme, tl)},
                    {"kalan", plainAmount(b.toplam.kalan, tl)},
                    {"ilkon", top},
                    {"kasaay", b.month},
                    {"kasa", cash}};
    for (size_t a = 0; a < b.toplam.yas.size(); ++a)
        doc.insert(QStringLiteral("yas%1").arg(a + 1), plainAmount(b.toplam.yas[a], tl));
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

charts::Board chartsOf(const Board &b, int tl) {
    QStringList shortMonths;
    for (int m = 1; m <= 12; ++m)
        shortMonths << trMonthName(m).left(3);
    charts::Board out;
    out.title = QStringLiteral("Genel Durum %1").arg(b.year);
    out.subtitle = b.unvan + QStringLiteral("   Baz Tarih: ") + formatTrDate(b.baseDate);

    charts::Chart dues{charts::Chart::Kind::Bars,
                       QStringLiteral("Aylık Tahakkuk ve Tahsilat"),
                       shortMonths,
                       {{QStringLiteral("Tahakkuk"), {}}, {QStringLiteral("Tahsilat"), {}}},
                       QString()};
    charts::Chart rates{charts::Chart::Kind::Line,
                        QStringLiteral("Tahsilat Oranı (%, yılbaşından)"),
                        shortMonths,
                        {{QStringLiteral("Oran"), {}}},
                        QStringLiteral("%")};
    Money charged, collected;
    for (size_t m = 0; m < 12; ++m) {
        dues.series[0].values.push_back(chartValue(b.charged[m]));
        dues.series[1].values.push_back(chartValue(b.collected[m]));
        charged += b.charged[m];
        collected += b.collected[m];
        rates.series[0].values.push_back(rate(collected, charged).toDouble());
    }
    charts::Chart ages{charts::Chart::Kind::Pie,
                       QStringLiteral("Gecikmiş Borcun Yaşları"),
                       generallist::ageCaptions(),
                       {{QString(), {}}},
                       QString()};
    for (const Money &a : b.toplam.yas)
        ages.series[0].values.push_back(chartValue(a));
    charts::Chart top{charts::Chart::Kind::HorizontalBars,
                      QStringLiteral("En Çok Borçlu On Üye"),
                      {},
                      {{QStringLiteral("Kalan"), {}}},
                      QString()};
    // The largest at the top: a horizontal bar axis starts at the bottom.
    for (auto d = b.top.rbegin(); d != b.top.rend(); ++d) {
        top.categories << d->kod + u' ' + d->isim.left(18);
        top.series[0].values.push_back(chartValue(d->kalan));
    }
    charts::Chart cash{
        charts::Chart::Kind::Line,
        QStringLiteral("Kasa Gün Toplamları, %1 %2").arg(trMonthName(b.month)).arg(b.year),
        {},
        {{QStringLiteral("Kasa"), {}}},
        QString()};
    for (const CashDay &d : b.cash)
        cash.series[0].values.push_back(chartValue(d.total));
    out.charts = {dues, rates, ages, top, cash};
    out.summary = {
        QStringLiteral("Kart sayısı: %1").arg(b.cards),
        QStringLiteral("Tahakkuk: ") + formatAmount(b.chargedTotal, tl),
        QStringLiteral("Tahsilat: ") + formatAmount(b.collectedTotal, tl),
        QStringLiteral("Tahsilat oranı: %") + rate(b.collectedTotal, b.chargedTotal),
        QStringLiteral("Gecikme zammı: ") + formatAmount(b.toplam.gecikme, tl),
        QStringLiteral("Toplam borç: ") + formatAmount(b.toplam.kalan, tl),
    };
    return out;
}

bool write(Company &s, const Board &b, const QString &path) {
    QString error;
    if (charts::writeBoard(path, chartsOf(b, s.tlonda), &error))
        return true;
    s.messages.warning(QStringLiteral("Dosya yazılamadı: ") + path + u'\n' + error);
    return false;
}

} // namespace dashboard
