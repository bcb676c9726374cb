#include "actions/headcollection/headcollectionaction.h"

#include "actions/collection/collectionaction.h"
#include "actions/statement/statementaction.h"
#include "core/unitofwork.h"
#include "data/ledger.h"
#include "posting/posting.h"
#include "printing/printcontext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace headcollection {

Opening open(Company &s) {
    Opening o;
    o.date = s.today();
    if (const auto settings = data::requireSettings(s.ayar, s.messages)) {
        o.settingsExist = true;
        o.receiptNo = data::lastReceiptNumber(*settings, s.genel) + 1;
        o.captions = settings->ack;
    }
    return o;
}

std::optional<data::MemberCard> member(Company &s, const QString &kod) {
    const QString code = kod.trimmed();
    if (code.isEmpty())
        return std::nullopt;
    return data::readMember(s.carkart, code);
}

namespace {

Money magnitude(Money m) {
    return m < Money() ? -m : m;
}

} // namespace

std::optional<HeadAmounts> balances(Company &s, const QString &kod, const QDate &date) {
    std::vector<data::SubAccountTotal> totals;
    if (!data::readSubAccountTotals(s.data, kod.trimmed(), baseDate(date), &totals, s.messages))
        return std::nullopt;
    HeadAmounts out{};
    for (const auto &t : totals)
        if (const int head = ledger::duesHead(t.kod1))
            out[size_t(head - 1)] += magnitude(t.debit) - magnitude(t.credit);
    return out;
}

Money total(const HeadAmounts &amounts) {
    Money sum;
    for (Money m : amounts)
        sum += m;
    return sum;
}

int warnOverCollection(Messages &messages, const std::array<QString, 5> &captions,
                       const HeadAmounts &balances, const HeadAmounts &amounts) {
    int warnings = 0;
    for (size_t i = 0; i < 5; ++i) {
        if (amounts[i] > balances[i]) {
            messages.show(Messages::Icon::Warning, QStringLiteral("korvane"),
                          captions[i] + QStringLiteral(" borcundan daha büyük tahsilat yapılıyor"));
            ++warnings;
        }
    }
    return warnings;
}

bool post(Company &s, const Collection &c) {
    const Money sum = total(c.amounts);
    if (sum <= Money())
        return false;
    UnitOfWork work(s, UnitOfWork::Data);
    if (!work.active())
        return false;
    const QString receipt = QString::number(c.receiptNo);
    if (posting::writeCashRow(work, {c.kod, receipt, c.name + QStringLiteral(" Tahsilat"), sum,
                                     CashBoxNumber, c.date, work.reference(1)}) &&
        data::findMember(s.carkart, c.kod)) {
        for (size_t i = 0; i < 5; ++i) {
            if (c.amounts[i] <= Money())
                continue;
            if (!posting::PostCollection(work, work.reference(1), c.kod, c.date, receipt,
                                         c.amounts[i], c.captions[i] + QStringLiteral(" Tahsilatı"),
                                         QString::number(i + 1), CashBoxNumber))
                data::tellNotStored(s.data, s.messages,
                                    QStringLiteral("Cari Hareket Kaydedilemedi."),
                                    Messages::Icon::Warning, QStringLiteral("korvane"));
        }
    }
    return work.commit();
}

Money balanceBefore(Company &s, const Collection &c) {
    const auto card = statement::member(s, c.kod);
    return card ? statement::finalBalance(s, *card, c.date) : Money();
}

collection::ReceiptValues receiptValues(Company &s, const Collection &c, Money balance) {
    collection::ReceiptValues v;
    v.receiptNo = QString::number(c.receiptNo);
    v.date = formatTrDate(c.date);
    v.kod = c.kod;
    v.name = c.name;
    v.amount = total(c.amounts);
    v.amountText = formatAmount(v.amount, s.tlonda);
    v.balance = balance;
    for (size_t i = 0; i < 5; ++i)
        if (c.amounts[i] > Money())
            v.items.push_back({c.captions[i], formatAmount(c.amounts[i], s.tlonda)});
    v.tlnick = s.tlnick;
    v.krnick = s.krnick;
    v.tlonda = s.tlonda;
    return v;
}

bool printReceipt(printing::PrintContext &context, const Collection &c, Money balance) {
    Company &s = context.company();
    return collection::printReceipt(context, collection::receiptHeader(s),
                                    receiptValues(s, c, balance));
}

std::optional<MemberHeads> memberHeads(Company &s, const QString &kod, const QDate &date) {
    const auto card = member(s, kod);
    if (!card) {
        s.messages.warning(QStringLiteral("Bu kodla bir üye kartı yok: ") + kod);
        return std::nullopt;
    }
    MemberHeads m{*card, open(s), date, {}};
    const auto heads = balances(s, card->kod, date);
    if (!heads)
        return std::nullopt;
    m.balances = *heads;
    return m;
}

QString asText(const MemberHeads &heads, int tlonda) {
    const data::MemberCard &m = heads.member;
    const HeadAmounts &b = heads.balances;
    QString out = QStringLiteral("Üye Kodu : ") + m.kod + u'\n';
    out += QStringLiteral("Unvan    : ") + m.isim1 + u'\n';
    if (!m.isim2.isEmpty())
        out += QStringLiteral("           ") + m.isim2 + u'\n';
    out += QStringLiteral("Tarih    : ") + formatTrDate(baseDate(heads.date)) +
           QStringLiteral(" dahil\n\nBORÇ  DÖKÜMÜ\n");
    const auto line = [&](const QString &caption, Money amount) {
        // A zero shows as 0 here, not as the screen's empty display.
        const QString shown =
            amount.isZero() ? plainAmount(amount, tlonda) : formatAmount(amount, tlonda);
        out += QStringLiteral("%1 %2\n").arg(caption, -20).arg(shown, 20);
    };
    for (size_t i = 0; i < 5; ++i)
        line(heads.opening.captions[i], b[i]);
    line(QStringLiteral("TOPLAM"), total(b));
    return out;
}

QString asJson(const MemberHeads &m, int tlonda) {
    QJsonArray heads;
    for (size_t i = 0; i < 5; ++i)
        heads.append(QJsonObject{{"no", int(i) + 1},
                                 {"ack", m.opening.captions[i]},
                                 {"bakiye", plainAmount(m.balances[i], tlonda)}});
    const QJsonObject doc{{"kod", m.member.kod},
                          {"isim1", m.member.isim1},
                          {"isim2", m.member.isim2},
                          {"heads", heads},
                          {"toplam", plainAmount(total(m.balances), tlonda)}};
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

} // namespace headcollection
