#include "actions/statement/statementaction.h"

#include "base/csv.h"
#include "base/daynumber.h"
#include "data/ledger.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace statement {

namespace {

QString shown(const std::optional<Money> &m, int tlonda) {
    return m ? formatAmount(*m, tlonda) : QString();
}

} // namespace

DeskSettings deskSettings(Company &s) {
    const auto settings = data::requireSettings(s.ayar, s.messages);
    return settings ? DeskSettings{data::lastReceiptNumber(*settings, s.genel) + 1, settings->faiz}
                    : DeskSettings{};
}

qint32 nextReceipt(Company &s) {
    const auto settings = data::readSettings(s.ayar);
    return settings ? data::lastReceiptNumber(*settings, s.genel) + 1 : 0;
}

std::optional<data::MemberCard> member(Company &s, const QString &kod) {
    return data::readMember(s.carkart, kod);
}

QString cooperativeName(Company &s) {
    return data::cooperativeName(s.genel);
}

std::optional<surcharge::Statement> compute(Company &s, const QString &kod, const QDate &baseDate,
                                            double faiz, int asd) {
    if (!baseDate.isValid()) {
        s.messages.warning(QStringLiteral("Hatalı İşlem Tarihi..."));
        return std::nullopt;
    }
    std::vector<surcharge::LedgerItem> items;
    if (!data::readLedger(s.data, kod, baseDate, &items, s.messages))
        return std::nullopt;
    auto st = surcharge::compute(items, {baseDate, faiz, s.tlonda, asd});
    if (st && st->outOfRange()) {
        s.messages.warning(outOfRangeMessage(kod + QStringLiteral(" hesabının ekstresi")));
        return std::nullopt;
    }
    return st;
}

Money finalBalance(Company &s, const data::MemberCard &member, const QDate &date) {
    const auto settings = data::readSettings(s.ayar);
    const auto st = compute(s, member.kod, date, settings ? settings->faiz : 0.0, member.asd);
    return st ? st->finalBalance : Money();
}

bool computeEach(Company &s, const std::vector<Card> &cards, const QDate &baseDate, double faiz,
                 const std::function<void(size_t, const surcharge::Statement &)> &each) {
    // On a server a query per card would be a round trip per card, and one
    // query over them all would hold the whole ledger in memory. A SQLite
    // file has no round trips to save: there a card's own query is quickest.
    const size_t batch = s.data.isServer() ? 64 : 1;
    if (!baseDate.isValid())
        return false;
    if (cards.size() > 1)
        s.data.freshenStatistics(QStringLiteral("carhar"));
    std::vector<QString> codes;
    std::vector<std::vector<surcharge::LedgerItem>> items;
    for (size_t first = 0; first < cards.size(); first += batch) {
        const size_t end = std::min(cards.size(), first + batch);
        codes.clear();
        for (size_t i = first; i < end; ++i)
            codes.push_back(cards[i].kod);
        if (!data::readLedgers(s.data, codes, baseDate, &items, s.messages))
            return false;
        for (size_t i = first; i < end; ++i) {
            const auto st =
                surcharge::compute(items[i - first], {baseDate, faiz, s.tlonda, cards[i].asd});
            if (st->outOfRange()) {
                s.messages.warning(
                    outOfRangeMessage(cards[i].kod + QStringLiteral(" hesabının ekstresi")));
                return false;
            }
            each(i, *st);
        }
    }
    return true;
}

QStringList captions() {
    return {QStringLiteral("Açıklama"), QStringLiteral("Vade"),    QStringLiteral("Devir"),
            QStringLiteral("G.Zammı"),  QStringLiteral("Borç"),    QStringLiteral("Ödenen"),
            QStringLiteral("Kalan"),    QStringLiteral("Anapara"), QStringLiteral("Evrak")};
}

QString asText(const surcharge::Statement &st, const data::MemberCard &m, const QDate &baseDate,
               int tlonda) {
    QString out = m.kod + QStringLiteral("  ") + m.isim1 + QStringLiteral("  Tarih: ") +
                  formatTrDate(baseDate) + u'\n';
    const QStringList c = captions();
    const auto line = [](const QStringList &cells) {
        QString l = cells[0].leftJustified(30, u' ', true) + u' ' + cells[1].leftJustified(10);
        for (qsizetype i = 2; i < 7; ++i)
            l += u' ' + cells[i].rightJustified(14);
        return l + u'\n';
    };
    out += line(c);
    for (const auto &r : st.rows)
        out += line({r.ack, formatTrDate(r.vade), shown(r.devir, tlonda), shown(r.faiz, tlonda),
                     shown(r.borc, tlonda), shown(r.odeme, tlonda), shown(r.kalan, tlonda)});
    out += line({QStringLiteral("Toplam"), QString(), QString(), shown(st.totalSurcharge, tlonda),
                 shown(st.totalDebt, tlonda), shown(st.totalPaid, tlonda),
                 shown(st.finalBalance, tlonda)});
    return out;
}

QString asCsv(const surcharge::Statement &st, int tlonda) {
    QString out = captions().join(u',') + u'\n';
    for (const auto &r : st.rows) {
        const QStringList cells{csvField(r.ack),
                                formatTrDate(r.vade),
                                plainAmount(r.devir, tlonda),
                                plainAmount(r.faiz, tlonda),
                                plainAmount(r.borc, tlonda),
                                plainAmount(r.odeme, tlonda),
                                plainAmount(r.kalan, tlonda),
                                plainAmount(r.openPrincipal, tlonda),
                                csvField(r.evrak)};
        out += cells.join(u',') + u'\n';
    }
    return out;
}

QString asJson(const surcharge::Statement &st, const QString &kod, const QDate &baseDate,
               int tlonda) {
    QJsonArray rows;
    for (const auto &r : st.rows)
        rows.append(QJsonObject{{"ack", r.ack},
                                {"vade", formatTrDate(r.vade)},
                                {"devir", plainAmount(r.devir, tlonda)},
                                {"faiz", plainAmount(r.faiz, tlonda)},
                                {"borc", plainAmount(r.borc, tlonda)},
                                {"odeme", plainAmount(r.odeme, tlonda)},
                                {"kalan", plainAmount(r.kalan, tlonda)},
                                {"anapara", plainAmount(r.openPrincipal, tlonda)},
                                {"evrak", r.evrak}});
    const QJsonObject doc{{"kod", kod},
                          {"tarih", formatTrDate(baseDate)},
                          {"rows", rows},
                          {"bakiye", plainAmount(st.finalBalance, tlonda)}};
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

} // namespace statement
