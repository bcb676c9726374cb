#include "actions/integration/integrationaction.h"

#include "actions/statement/statementaction.h"
#include "base/daynumber.h"
#include "base/inifile.h"
#include "core/unitofwork.h"
#include "data/integrationruns.h"
#include "data/koopdata.h"
#include "data/ledger.h"
#include "data/membersearch.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

namespace integration {

namespace {

const QString Section = QStringLiteral("reent");
// The rows of this screen are told apart from the cash desk's by `yer`.
constexpr int Source = 1;

void writeKeys(Company &s, const char *accountKey, const QString &account,
               const char *descriptionKey, const QString &description) {
    const QString file = accountFile(s);
    // The run goes on; only the values offered next time are lost.
    if (!ini::writeValue(Section, QString::fromLatin1(accountKey), file, account) ||
        !ini::writeValue(Section, QString::fromLatin1(descriptionKey), file, description))
        s.messages.warning(QStringLiteral("Hesap kodu ve açıklama saklanamadı:\n") + file);
}

bool accountGiven(Company &s, const QString &account) {
    if (account.trimmed().size() >= 3)
        return true;
    s.messages.warning(QStringLiteral("Muhasebe Kodu Girilmemiş.."));
    return false;
}

// The two dates of a range as typed; nothing after the message for the
// first that is not a date.
std::optional<std::pair<QDate, QDate>> dateRange(Company &s, const QString &from,
                                                 const QString &to) {
    const QDate first = parseTrDate(from);
    if (!first.isValid()) {
        s.messages.warning(QStringLiteral("Hatalı Başlangıç Tarihi .."));
        return std::nullopt;
    }
    const QDate last = parseTrDate(to);
    if (!last.isValid()) {
        s.messages.warning(QStringLiteral("Hatalı Bitiş Tarihi .."));
        return std::nullopt;
    }
    return std::pair{first, last};
}

// The rows of one run, each under a reference of its own, counted as they
// are stored; the account codes of the cards read once each.
class Run {
  public:
    Run(Company &s, Kind kind, const QDate &from, const QDate &to)
        : m_work(s), m_kind(kind), m_from(from), m_to(to) {}
    bool active() const { return m_work.active(); }
    // What the members' side of the run came to.
    void addToTotal(Money amount) { m_total += amount; }

    // The card's account code; nothing when the member has no card.
    std::optional<QString> cardAccount(const QString &kod) {
        const auto found = m_cards.constFind(kod);
        if (found != m_cards.cend())
            return *found;
        std::optional<QString> account;
        if (const auto card = data::readMember(m_work.company().carkart, kod))
            account = card->muhasebe;
        m_cards.insert(kod, account);
        return account;
    }

    void write(const QDate &date, const QString &muhkod, const char *ba, Money tutar,
               const QString &ack) {
        const data::IntegrationRow row{.tarih = date,
                                       .muhkod = muhkod,
                                       .ba = QString::fromLatin1(ba),
                                       .tutar = tutar,
                                       .ack = ack,
                                       .mik = 0,
                                       .yer = Source,
                                       .enttar = date,
                                       .refer = m_work.reference(1)};
        Company &company = m_work.company();
        if (data::writeIntegrationRow(company.ent, company.messages, row))
            ++m_rows;
    }

    // With the record of what was handed over, when anything was.
    std::optional<int> commit() {
        Company &s = m_work.company();
        const QDateTime now = QDateTime::currentDateTime();
        if (m_rows > 0 &&
            !data::recordIntegrationRun(s.koop, {int(m_kind), m_from, m_to, m_rows, m_total,
                                                 s.today(), now.toString(u"HH:mm")})) {
            data::tellNotStored(s.koop, s.messages,
                                QStringLiteral("Entegrasyon kaydı saklanamadı."));
            return std::nullopt;
        }
        if (!m_work.commit())
            return std::nullopt;
        if (!m_work.settingsStored())
            s.messages.warning(data::failureText(m_work.settingsFailure()) + u'\n' +
                               QStringLiteral("Satırlar yazıldı, ama bu entegrasyonun kaydı "
                                              "saklanamadı: bir sonraki çalıştırmada "
                                              "sorulmayacak."));
        return m_rows;
    }

  private:
    UnitOfWork m_work;
    Kind m_kind;
    QDate m_from, m_to;
    Money m_total;
    QHash<QString, std::optional<QString>> m_cards;
    int m_rows = 0;
};

// The detail rows of the members, then their total on the counter account,
// but only when the query gave anything.
std::optional<int> postItems(Company &s, Kind kind, const QDate &from, const QDate &to,
                             const QDate &rowDate, const QString &account,
                             const std::function<QString(const data::PostedItem &)> &ack,
                             const QString &totalAck, const RowProgress &progress) {
    const bool credit = kind == Kind::Collections;
    const int islem = credit ? ledger::Collection : ledger::Debt;
    Run run(s, kind, from, to);
    if (!run.active())
        return std::nullopt;
    std::vector<data::PostedItem> items;
    if (!data::readPostedItems(s.data, islem, credit, from, to, &items, s.messages))
        return std::nullopt;
    const char *memberSide = credit ? "A" : "B";
    const char *totalSide = credit ? "B" : "A";
    // A void in the range takes its collection back: its row on the other
    // side, its amount off the total.
    std::vector<data::PostedItem> reversals;
    if (credit && !data::readReversals(s.data, from, to, &reversals, s.messages))
        return std::nullopt;
    const int count = int(items.size() + reversals.size());
    int done = 0;
    Money total;
    for (const auto &[list, sign] : {std::pair{&items, 1}, std::pair{&reversals, -1}}) {
        for (const data::PostedItem &item : *list) {
            if (progress)
                progress(++done, count, item.kod);
            const auto muhasebe = run.cardAccount(item.kod);
            if (!muhasebe)
                continue;
            total += sign > 0 ? item.tutar : -item.tutar;
            run.write(rowDate, *muhasebe, sign > 0 ? memberSide : totalSide, item.tutar, ack(item));
        }
    }
    if (total.outOfRange()) {
        s.messages.warning(outOfRangeMessage(QStringLiteral("Entegrasyon toplamı")));
        return std::nullopt;
    }
    if (!items.empty() || !reversals.empty()) {
        if (total < Money())
            run.write(rowDate, account, memberSide, -total, totalAck);
        else
            run.write(rowDate, account, totalSide, total, totalAck);
    }
    run.addToTotal(total);
    return run.commit();
}

} // namespace

std::optional<std::pair<QDate, QDate>> debtsPeriod(const QString &year, int month) {
    const QDate start = firstOfMonth(month, year);
    if (!start.isValid())
        return std::nullopt;
    return std::pair{start, officeMonthEnd(start)};
}

std::optional<QString> handedOverBefore(Company &s, Kind kind, const QDate &from, const QDate &to) {
    std::vector<data::IntegrationRun> runs;
    if (!from.isValid() || !to.isValid() ||
        !data::readIntegrationRuns(s.koop, int(kind), from, to, &runs) || runs.empty())
        return std::nullopt;
    const data::IntegrationRun &last = runs.front();
    return QStringLiteral("Bu dönem daha önce entegre edildi (%1 %2, %3 satır).")
        .arg(formatTrDate(last.date), last.time)
        .arg(last.rows);
}

QString confirmation(Company &s, Kind kind, const QDate &from, const QDate &to) {
    QString question = QStringLiteral("Entegrasyon yapılsın mı?");
    if (kind == Kind::Surcharge || !from.isValid() || !to.isValid())
        return question;
    std::vector<data::PostedItem> items;
    if (!data::readPostedItems(s.data, kind == Kind::Debts ? ledger::Debt : ledger::Collection,
                               kind == Kind::Collections, from, to, &items, s.messages))
        return question;
    QHash<QString, bool> skippedCard; // code -> the writer skips its rows
    QSet<QString> members;
    int rows = 0;
    Money total;
    for (const data::PostedItem &item : items) {
        auto found = skippedCard.find(item.kod);
        if (found == skippedCard.end()) {
            const auto card = data::readMember(s.carkart, item.kod);
            found = skippedCard.insert(item.kod, card && !data::integrationTakes(card->muhasebe));
        }
        if (!*found)
            continue;
        ++rows;
        members.insert(item.kod);
        total += item.tutar;
    }
    if (rows > 0)
        question += QStringLiteral("\n\nMuhasebe kodu olmayan %1 üyenin %2 satırı (toplam %3) "
                                   "yazılmayacak; tutarları toplam satırında olacak.")
                        .arg(members.size())
                        .arg(rows)
                        .arg(formatAmount(total, s.tlonda));
    return question;
}

QString accountFile(Company &s) {
    return s.companyFile(QStringLiteral("dalun.ayr"));
}

Accounts readAccounts(Company &s) {
    const QString file = accountFile(s);
    const auto key = [&file](const char *name) {
        return ini::readValue(Section, QString::fromLatin1(name), QString(), file);
    };
    return {key("borchesapkod"), key("borcack"),      key("kasahesapkod"),
            key("kasaack"),      key("faizhesapkod"), key("faizack")};
}

double surchargeRate(Company &s) {
    return statement::deskSettings(s).faiz;
}

std::optional<int> postMonthlyDebts(Company &s, const QString &year, int month,
                                    const QString &account, const QString &description,
                                    const RowProgress &progress) {
    const auto period = debtsPeriod(year, month);
    if (!period) {
        s.messages.warning(QStringLiteral("Hatalı Tarih.."));
        return std::nullopt;
    }
    writeKeys(s, "borchesapkod", account, "borcack", description);
    if (!accountGiven(s, account))
        return std::nullopt;
    const auto [start, end] = *period;
    return postItems(
        s, Kind::Debts, start, end, start, account,
        [](const data::PostedItem &item) { return item.ack; }, description, progress);
}

std::optional<int> postCollections(Company &s, const QString &from, const QString &to,
                                   const QString &account, const QString &description,
                                   const RowProgress &progress) {
    const auto range = dateRange(s, from, to);
    if (!range)
        return std::nullopt;
    const auto [first, last] = *range;
    if (!accountGiven(s, account))
        return std::nullopt;
    writeKeys(s, "kasahesapkod", account, "kasaack", description);
    // Every row says what the screen says, not what the receipt said.
    return postItems(
        s, Kind::Collections, first, last, last, account,
        [&description](const data::PostedItem &) { return description; }, description, progress);
}

std::optional<int> postPaidSurcharge(Company &s, const QString &from, const QString &to,
                                     const QString &account, const QString &description,
                                     double faiz, const Progress &progress) {
    const auto range = dateRange(s, from, to);
    if (!range)
        return std::nullopt;
    const auto [first, base] = *range;
    writeKeys(s, "faizhesapkod", account, "faizack", description);
    std::vector<data::MemberAccount> cards;
    if (!data::readMemberAccounts(s.data, 0, &cards, s.messages))
        return std::nullopt;
    // The members are computed, and the clerk told about those to book by
    // hand, before the company is locked for the rows: the other desks wait
    // for the writing only, not for the clerk.
    struct Paid {
        QDate vade;
        QString muhasebe;
        Money amount;
    };
    std::vector<Paid> paid, member;
    const std::vector<statement::Card> members = statement::cardsOf(cards);
    const auto computed = [&](size_t i, const surcharge::Statement &st) {
        const data::MemberAccount &card = cards[i];
        member.clear();
        for (const surcharge::StatementRow &row : st.rows)
            if (row.surchargeCleared && *row.surchargeCleared > Money() && row.vade >= first)
                member.push_back({row.vade, card.muhasebe, *row.surchargeCleared});
        // The suite's member accounts are longer than a group code.
        const bool byHand = card.muhasebe.trimmed().size() <= 3;
        if (progress)
            progress({int(i) + 1, int(cards.size()), card.kod, &st, byHand && !member.empty()});
        if (!byHand) {
            paid.insert(paid.end(), member.begin(), member.end());
            return;
        }
        for (size_t n = member.size(); n > 0; --n)
            s.messages.show(Messages::Icon::None, Messages::korvane(),
                            card.kod + QStringLiteral(" Kodlu Carinin Muhasebe Kodu Yok..\n") +
                                QStringLiteral("Elle Yapınız.."));
    };
    if (!statement::computeEach(s, members, base, faiz, computed))
        return std::nullopt;
    Run run(s, Kind::Surcharge, first, base);
    if (!run.active())
        return std::nullopt;
    // Blanks after the card's code need no trimming: the writer pads the
    // description with blanks to its 35 characters anyway.
    const QString creditAck = description.left(35) + QLatin1Char('-');
    for (const Paid &p : paid) {
        run.write(p.vade, p.muhasebe, "B", p.amount, description);
        run.write(p.vade, account, "A", p.amount, creditAck + p.muhasebe);
        run.addToTotal(p.amount);
    }
    return run.commit();
}

} // namespace integration
