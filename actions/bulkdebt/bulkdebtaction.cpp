#include "actions/bulkdebt/bulkdebtaction.h"

#include "base/daynumber.h"
#include "base/ledger.h"
#include "core/unitofwork.h"
#include "data/koopdata.h"
#include "data/ledger.h"
#include "data/membersearch.h"
#include "posting/posting.h"

namespace bulkdebt {

namespace {

// The rows of this screen for the accounting suite are told apart by `yer`.
constexpr int Source = 0;

// The suite takes an account code longer than three characters.
bool hasAccount(const QString &code) {
    return code.size() > 3;
}

// "Mart 2024 Aidat": the month, its year and the head's caption.
QString description(const QDate &month, const QString &caption) {
    return trMonthName(month.month()) + u' ' +
           QString::number(month.year()).rightJustified(4, u'0') + u' ' + caption;
}

} // namespace

Opening open(Company &s) {
    Opening o;
    const auto settings = data::requireSettings(s.ayar, s.messages);
    for (size_t i = 0; i < o.captions.size(); ++i)
        o.captions[i] = settings ? settings->ack[i] : QStringLiteral("Tutar%1").arg(i + 1);
    if (const auto range = data::cardCodeRange(s.data, s.messages)) {
        o.firstCode = range->first;
        o.lastCode = range->last;
    }
    o.year = s.today().year();
    return o;
}

QString progressText(const Progress &p) {
    return p.kod + QStringLiteral(" - ") + p.isim1 + QStringLiteral(" - ") +
           trMonthName(p.month.month()) + QStringLiteral(" Dönemi..");
}

std::optional<QString> alreadyPosted(Company &s, const Request &r) {
    const auto settings = data::readSettings(s.ayar);
    if (!settings || r.firstMonth > r.lastMonth || r.firstCode > r.lastCode)
        return std::nullopt;
    QStringList descriptions;
    for (int month = r.firstMonth; month <= r.lastMonth; ++month) {
        const QDate date = firstOfMonth(month, r.year);
        if (!date.isValid())
            return std::nullopt;
        for (size_t head = 0; head < r.amounts.size(); ++head)
            if (r.amounts[head] > Money())
                descriptions << description(date, settings->ack[head]);
    }
    data::PostedDebts found;
    if (!data::readPostedDebts(s.data, descriptions, std::pair{r.firstCode, r.lastCode}, {},
                               &found) ||
        found.codes.empty())
        return std::nullopt;
    return QStringLiteral("Kod aralığındaki %1 üyede bu borçlar zaten var (%2).")
        .arg(found.codes.size())
        .arg(found.example);
}

std::optional<Result> run(Company &s, const Request &r, const ProgressFn &progress) {
    Money sum;
    for (const Money &amount : r.amounts)
        sum += amount;
    if (sum <= Money()) {
        s.messages.warning(QStringLiteral("Tutar Yazılmamış...."));
        return std::nullopt;
    }
    if (r.firstMonth > r.lastMonth) {
        s.messages.warning(QStringLiteral("Başlangıç ve Bitiş Dönem Hatalı.."));
        return std::nullopt;
    }
    if (r.firstCode > r.lastCode) {
        s.messages.warning(QStringLiteral("Cari Kod Sıralaması Hatalı..."));
        return std::nullopt;
    }
    const auto settings = data::requireSettings(s.ayar, s.messages);
    if (!settings)
        return std::nullopt;
    const auto monthStart = [&r](int month) { return firstOfMonth(month, r.year); };
    if (!monthStart(r.firstMonth).isValid() || !monthStart(r.lastMonth).isValid()) {
        s.messages.warning(QStringLiteral("Hatalı Tarih.."));
        return std::nullopt;
    }

    UnitOfWork work(s, UnitOfWork::Data);
    if (!work.active())
        return std::nullopt;
    std::vector<data::MemberAccount> members;
    if (!data::readMemberAccounts(s.data, 0, &members, s.messages,
                                  data::CodeRange{r.firstCode, r.lastCode}))
        return std::nullopt;
    const int months = r.lastMonth - r.firstMonth + 1;
    Progress where;
    where.count = int(members.size()) * months;
    Result result;
    for (const data::MemberAccount &member : members) {
        for (int month = r.firstMonth; month <= r.lastMonth; ++month) {
            const QDate date = monthStart(month);
            if (progress) {
                where.kod = member.kod;
                where.isim1 = member.isim1;
                where.month = date;
                progress(where);
            }
            ++where.done;
            for (size_t head = 0; head < r.amounts.size(); ++head) {
                const Money amount = r.amounts[head];
                if (amount <= Money())
                    continue;
                const QString refer = work.reference(1);
                const QString ack = description(date, settings->ack[head]);
                // A debt the ledger did not take is not handed to the suite.
                if (!posting::PostDebt(work, refer, false, member.kod, amount, ack, ledger::Debt,
                                       QString::number(head + 1), date))
                    continue;
                ++result.debts;
                const QString &headAccount = settings->muh[head];
                if (!hasAccount(member.muhasebe) || !hasAccount(headAccount))
                    continue;
                for (const auto &[account, side] :
                     {std::pair{member.muhasebe, "B"}, std::pair{headAccount, "A"}}) {
                    if (data::writeIntegrationRow(s.ent, s.messages,
                                                  {.tarih = date,
                                                   .muhkod = account,
                                                   .ba = QString::fromLatin1(side),
                                                   .tutar = amount,
                                                   .ack = ack,
                                                   .mik = 0,
                                                   .yer = Source,
                                                   .enttar = date,
                                                   .refer = refer}))
                        ++result.integrationRows;
                }
            }
        }
    }
    if (progress && !members.empty()) {
        where.done = where.count;
        progress(where);
    }
    if (!work.commit())
        return std::nullopt;
    return result;
}

} // namespace bulkdebt
