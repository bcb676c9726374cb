#include "actions/generallist/generallistaction.h"

#include "actions/statement/statementaction.h"
#include "base/csv.h"
#include "base/daynumber.h"
#include "data/koopdata.h"
#include "data/membersearch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace generallist {

namespace {

constexpr int CodeWidth = 15;
constexpr int NameWidth = 35;
constexpr int AmountWidth = 15;

QJsonObject amounts(const Figures &f, int tlonda, bool aging) {
    QJsonObject out{{"borc", plainAmount(f.borc, tlonda)},
                    {"odenen", plainAmount(f.odenen, tlonda)},
                    {"gecikme", plainAmount(f.gecikme, tlonda)},
                    {"kalan", plainAmount(f.kalan, tlonda)}};
    if (aging)
        for (size_t i = 0; i < f.yas.size(); ++i)
            out.insert(QStringLiteral("yas%1").arg(i + 1), plainAmount(f.yas[i], tlonda));
    return out;
}

QString textLine(const QString &kod, const QString &isim, const QStringList &figures) {
    QString line = kod.left(CodeWidth).leftJustified(CodeWidth) + u' ' +
                   isim.left(NameWidth).leftJustified(NameWidth);
    for (const QString &f : figures)
        line += u' ' + f.rightJustified(AmountWidth);
    return line + u'\n';
}

} // namespace

void add(Figures &total, const Figures &f) {
    total.borc += f.borc;
    total.odenen += f.odenen;
    total.gecikme += f.gecikme;
    total.kalan += f.kalan;
    for (size_t i = 0; i < total.yas.size(); ++i)
        total.yas[i] += f.yas[i];
}

Figures figuresOf(const surcharge::Statement &st, const QDate &baseDate) {
    return {st.totalDebt, st.totalPaid, st.totalSurcharge,
            st.totalDebt + st.totalSurcharge - st.totalPaid, surcharge::ages(st, baseDate)};
}

QStringList shownAmounts(const Figures &f, int tlonda) {
    QStringList out;
    for (const Money &m : {f.borc, f.odenen, f.gecikme, f.kalan})
        out << formatAmount(m, tlonda);
    return out;
}

QStringList plainAmounts(const Figures &f, int tlonda) {
    QStringList out;
    for (const Money &m : {f.borc, f.odenen, f.gecikme, f.kalan})
        out << plainAmount(m, tlonda);
    return out;
}

QStringList ageAmounts(const Figures &f, int tlonda, bool shown) {
    QStringList out;
    for (const Money &m : f.yas)
        out << (shown ? formatAmount(m, tlonda) : plainAmount(m, tlonda));
    return out;
}

Opening open(Company &s) {
    Opening o;
    o.faiz = statement::deskSettings(s).faiz;
    if (const auto range = data::cardCodeRange(s.data, s.messages)) {
        o.firstCode = range->first;
        o.lastCode = range->last;
    }
    return o;
}

std::optional<List> build(Company &s, const QString &firstCode, const QString &lastCode,
                          const QDate &baseDate, double faiz, const ProgressFn &progress) {
    std::vector<data::MemberAccount> cards;
    if (!data::readMemberAccounts(s.data, std::nullopt, &cards, s.messages,
                                  data::CodeRange{firstCode, lastCode}))
        return std::nullopt;
    List list;
    list.rows.reserve(cards.size());
    const int count = int(cards.size());
    const auto listed = [&](size_t i, const surcharge::Statement *st) {
        Row row{cards[i].kod, cards[i].isim1, {}};
        if (st)
            row.figures = figuresOf(*st, baseDate);
        add(list.toplam, row.figures);
        list.rows.push_back(std::move(row));
        if (progress)
            progress({cards[i].kod, int(i) + 1, count, st});
    };
    if (progress && count > 0)
        progress({cards.front().kod, 0, count, nullptr});
    if (!baseDate.isValid()) {
        // Every card says so, and its figures stay 0.
        for (size_t i = 0; i < cards.size(); ++i) {
            (void)statement::compute(s, cards[i].kod, baseDate, faiz, cards[i].asd);
            listed(i, nullptr);
        }
        return list;
    }
    if (!statement::computeEach(s, statement::cardsOf(cards), baseDate, faiz,
                                [&](size_t i, const surcharge::Statement &st) { listed(i, &st); }))
        return std::nullopt;
    const Figures &t = list.toplam;
    if (t.borc.outOfRange() || t.odenen.outOfRange() || t.gecikme.outOfRange() ||
        t.kalan.outOfRange()) {
        s.messages.warning(outOfRangeMessage(QStringLiteral("Genel listenin toplamı")));
        return std::nullopt;
    }
    return list;
}

std::optional<surcharge::Statement> statementOf(Company &s, const QString &kod,
                                                const QDate &baseDate, double faiz) {
    const auto card = statement::member(s, kod);
    return statement::compute(s, kod, baseDate, faiz, card ? card->asd : 0);
}

QString cooperativeName(Company &s) {
    return statement::cooperativeName(s);
}

QStringList captions() {
    return QStringList{QStringLiteral("Kod"),     QStringLiteral("İsim"),
                       QStringLiteral("Borcu"),   QStringLiteral("Ödenen"),
                       QStringLiteral("Gecikme"), QStringLiteral("Kalan")} +
           ageCaptions();
}

QStringList ageCaptions() {
    return {QStringLiteral("0-30 Gün"), QStringLiteral("31-90 Gün"), QStringLiteral("91-180 Gün"),
            QStringLiteral("181-365 Gün"), QStringLiteral("365+ Gün")};
}

QString asText(const List &list, const QDate &baseDate, const QString &unvan, int tlonda,
               bool aging) {
    QString out = QStringLiteral("ÜYE GENEL BORÇ ALACAK LİSTESİ\n") +
                  QStringLiteral("Baz Tarih :") + formatTrDate(baseDate) + QStringLiteral("  ") +
                  unvan + QStringLiteral("\n\n");
    QStringList heads{QStringLiteral("BORÇ"), QStringLiteral("ÖDENEN"), QStringLiteral("GECİKME"),
                      QStringLiteral("KALAN")};
    if (aging)
        heads += ageCaptions();
    const auto figures = [&](const Figures &f) {
        return aging ? shownAmounts(f, tlonda) + ageAmounts(f, tlonda, true)
                     : shownAmounts(f, tlonda);
    };
    out += textLine(QStringLiteral("KOD"), QStringLiteral("UNVAN"), heads);
    for (const Row &r : list.rows)
        out += textLine(r.kod, r.isim, figures(r.figures));
    out += textLine(QString(), QString::fromUtf16(TotalCaption), figures(list.toplam));
    return out;
}

QString asCsv(const List &list, int tlonda, bool aging) {
    QString out = aging ? QStringLiteral("kod,isim,borc,odenen,gecikme,kalan,yas1,yas2,yas3,yas4,"
                                         "yas5\n")
                        : QStringLiteral("kod,isim,borc,odenen,gecikme,kalan\n");
    const auto line = [&](const QString &kod, const QString &isim, const Figures &f) {
        QStringList cells = QStringList{csvField(kod), csvField(isim)} + plainAmounts(f, tlonda);
        if (aging)
            cells += ageAmounts(f, tlonda, false);
        out += cells.join(u',') + u'\n';
    };
    for (const Row &r : list.rows)
        line(r.kod, r.isim, r.figures);
    line(QString(), QString::fromUtf16(TotalCaption), list.toplam);
    return out;
}

QString asJson(const List &list, const QDate &baseDate, int tlonda, bool aging) {
    QJsonArray rows;
    for (const Row &r : list.rows) {
        QJsonObject row = amounts(r.figures, tlonda, aging);
        row.insert(QStringLiteral("kod"), r.kod);
        row.insert(QStringLiteral("isim"), r.isim);
        rows.append(row);
    }
    const QJsonObject doc{{"tarih", formatTrDate(baseDate)},
                          {"rows", rows},
                          {"toplam", amounts(list.toplam, tlonda, aging)}};
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

} // namespace generallist
