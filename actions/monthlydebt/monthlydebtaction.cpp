#include "actions/monthlydebt/monthlydebtaction.h"

#include "base/csv.h"
#include "base/daynumber.h"
#include "base/ledger.h"
#include "core/unitofwork.h"
#include "data/koopdata.h"
#include "data/ledger.h"
#include "data/membersearch.h"
#include "posting/posting.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>

namespace monthlydebt {

namespace {

// The monthly debts' references are told apart from the other postings' by
// their first character.
constexpr int ReferenceMark = 21;

constexpr int CodeWidth = 8;
constexpr int NameWidth = 35;
constexpr int PriceWidth = 15;

} // namespace

Opening open(Company &s) {
    Opening o;
    o.groups << QString::fromUtf16(AllGroups);
    if (const auto groups = data::readGroups(s.data, s.messages))
        o.groups += *groups;
    const auto settings = data::readSettings(s.ayar);
    for (size_t i = 0; i < o.captions.size(); ++i)
        o.captions[i] = settings ? settings->ack[i] : QStringLiteral("Fiyat%1").arg(i + 1);
    o.fisno = settings ? settings->fisno : 0;
    return o;
}

QString cooperativeName(Company &s) {
    return data::cooperativeName(s.genel);
}

QString periodOf(const QDate &date) {
    return (date.isValid() ? trMonthName(date.month()) : QString()) + QStringLiteral(" DÖNEMİ");
}

std::optional<std::vector<Member>> load(Company &s, const QString &group) {
    std::vector<data::MemberCard> cards;
    const bool all = group.isEmpty() || group == QString::fromUtf16(AllGroups);
    if (!data::readGroupCards(s.data, all ? std::nullopt : std::optional(group), &cards,
                              s.messages))
        return std::nullopt;
    QHash<QString, HeadPrices> prices;
    if (!data::readPrices(s.koop, &prices, s.messages))
        return std::nullopt;
    std::vector<Member> members;
    members.reserve(cards.size());
    for (data::MemberCard &c : cards)
        members.push_back({std::move(c.kod),
                           std::move(c.isim1),
                           {},
                           std::move(c.adr1),
                           std::move(c.adr2),
                           std::move(c.adr3)});
    for (Member &m : members)
        m.prices = prices.value(m.kod);
    return members;
}

bool savePrices(Company &s, const QString &kod, const HeadPrices &prices) {
    if (kod.isEmpty())
        return false;
    if (!data::findMember(s.carkart, kod)) {
        s.messages.show(Messages::Icon::Question, Messages::korvane(),
                        QStringLiteral("Cari Hesabı Bulunamadı"));
        return false;
    }
    UnitOfWork work(s, UnitOfWork::Koop);
    if (!work.active())
        return false;
    if (data::storePrices(s.fiat, kod, prices) && work.commit())
        return true;
    s.messages.show(Messages::Icon::Question, Messages::korvane(),
                    QStringLiteral("Kaydedilemedi."));
    return false;
}

std::optional<int> post(Company &s, const QDate &date, const std::vector<Member> &members,
                        const std::array<QString, 5> &captions,
                        const std::function<void(const Progress &)> &progress) {
    if (!date.isValid()) {
        s.messages.warning(QStringLiteral("Hatalı Tarih.."));
        return std::nullopt;
    }
    UnitOfWork work(s, UnitOfWork::Data);
    if (!work.active())
        return std::nullopt;
    // The cards as the action finds them, read once: a seek per member would
    // also hand the buckets gathered so far to the database each time.
    std::vector<data::MemberAccount> cards;
    if (!data::readMemberAccounts(s.data, std::nullopt, &cards, s.messages))
        return std::nullopt;
    QSet<QString> carded;
    carded.reserve(qsizetype(cards.size()));
    for (const data::MemberAccount &c : cards)
        carded.insert(c.kod);
    cards.clear();
    Progress where{0, int(members.size()), {}};
    int posted = 0;
    for (const Member &m : members) {
        if (progress) {
            where.kod = m.kod;
            progress(where);
        }
        ++where.done;
        if (m.kod.isEmpty() || !carded.contains(m.kod))
            continue;
        for (size_t head = 0; head < m.prices.size(); ++head) {
            if (m.prices[head] <= Money())
                continue;
            if (posting::PostDebt(work, work.reference(ReferenceMark), false, m.kod, m.prices[head],
                                  captions[head], ledger::Debt, QString::number(head + 1), date))
                ++posted;
        }
    }
    if (progress && !members.empty())
        progress(where);
    if (!work.commit())
        return std::nullopt;
    return posted;
}

std::optional<QString> alreadyPosted(Company &s, const QDate &date,
                                     const std::vector<Member> &members,
                                     const std::array<QString, 5> &captions) {
    QStringList descriptions;
    for (size_t head = 0; head < captions.size(); ++head)
        if (std::any_of(members.begin(), members.end(),
                        [head](const Member &m) { return m.prices[head] > Money(); }))
            descriptions << captions[head];
    data::PostedDebts found;
    if (!date.isValid() || !data::readPostedDebts(s.data, descriptions, std::nullopt, date, &found))
        return std::nullopt;
    const QSet<QString> posted(found.codes.begin(), found.codes.end());
    const auto count = std::count_if(members.begin(), members.end(),
                                     [&](const Member &m) { return posted.contains(m.kod); });
    if (count == 0)
        return std::nullopt;
    return QStringLiteral("Bu tarihte grubun %1 üyesinde bu borçlar zaten var (%2).")
        .arg(count)
        .arg(found.example);
}

Rows rowsOf(Range range, int current, int count) {
    const int last = count - 1;
    switch (range) {
    case Range::All:
        return {0, last};
    case Range::FromCurrent:
        return {current, last};
    case Range::Current:
        return {current, std::min(current, last)};
    }
    return {};
}

QStringList plainPrices(const HeadPrices &prices, int tlonda) {
    QStringList out;
    for (const Money &m : prices)
        out << plainAmount(m, tlonda);
    return out;
}

QString asText(const std::vector<Member> &members, const std::array<QString, 5> &captions,
               int tlonda) {
    QString out = QStringLiteral("Kod").leftJustified(CodeWidth) + u' ' +
                  QStringLiteral("Ünvan").leftJustified(NameWidth);
    for (const QString &c : captions)
        out += u' ' + c.left(PriceWidth).rightJustified(PriceWidth);
    out += u'\n';
    for (const Member &m : members) {
        out += m.kod.leftJustified(CodeWidth) + u' ' +
               m.unvan.left(NameWidth).leftJustified(NameWidth);
        for (const Money &p : m.prices)
            out += u' ' + formatAmount(p, tlonda).rightJustified(PriceWidth);
        out += u'\n';
    }
    return out;
}

QString asCsv(const std::vector<Member> &members, int tlonda) {
    QString out = QStringLiteral("kod,unvan,fiat1,fiat2,fiat3,fiat4,fiat5\n");
    for (const Member &m : members)
        out += (QStringList{csvField(m.kod), csvField(m.unvan)} + plainPrices(m.prices, tlonda))
                   .join(u',') +
               u'\n';
    return out;
}

QString asJson(const std::vector<Member> &members, int tlonda) {
    QJsonArray rows;
    for (const Member &m : members) {
        QJsonObject row{{"kod", m.kod}, {"unvan", m.unvan}};
        const QStringList prices = plainPrices(m.prices, tlonda);
        for (int head = 0; head < prices.size(); ++head)
            row.insert(QStringLiteral("fiat%1").arg(head + 1), prices[head]);
        rows.append(row);
    }
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"rows", rows}}).toJson());
}

} // namespace monthlydebt
