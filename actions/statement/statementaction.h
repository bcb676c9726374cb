#pragma once

#include "core/company.h"
#include "data/koopdata.h"
#include "surcharge/engine.h"

#include <functional>
#include <optional>
#include <vector>

// A member's statement at a base date: the member's ledger run through the
// surcharge engine.
namespace statement {

// What the collection desk reads from the settings row when it opens; all 0
// after "Ayarlar Yapılmamış..." when there is none.
struct DeskSettings {
    qint32 nextReceipt = 0; // fisno + 1
    double faiz = 0;
};
DeskSettings deskSettings(Company &company);
// The next receipt number without a word when there is no settings row (0):
// the desk reads it again after every collection.
qint32 nextReceipt(Company &company);

// The member card of the code, if there is one.
std::optional<data::MemberCard> member(Company &company, const QString &kod);

// The cooperative's name, as the statement's page head prints it.
QString cooperativeName(Company &company);

// Nothing, after "Hatalı İşlem Tarihi...", for an invalid base date.
std::optional<surcharge::Statement> compute(Company &company, const QString &kod,
                                            const QDate &baseDate, double faiz, int asd);

// The final balance the statement hands the collection desk: the member's
// balance up to `date`, surcharge included, at the settings' rate; 0 when it
// cannot be computed.
Money finalBalance(Company &company, const data::MemberCard &member, const QDate &date);

// The statements of many cards at one valid base date, their ledgers read
// a few dozen cards to a query: `each` gets the index of every card and its
// statement, in the cards' order. False after "Sql Rapor Yaratılamıyor".
struct Card {
    QString kod;
    int asd = 0;
};
// The code and kind of each of the cards read (member cards, member accounts).
template <typename C> std::vector<Card> cardsOf(const std::vector<C> &cards) {
    std::vector<Card> out;
    out.reserve(cards.size());
    for (const C &c : cards)
        out.push_back({c.kod, c.asd});
    return out;
}
bool computeEach(Company &company, const std::vector<Card> &cards, const QDate &baseDate,
                 double faiz,
                 const std::function<void(size_t, const surcharge::Statement &)> &each);

// The statement's columns, in the order of captions().
enum Column { Ack, Vade, Devir, Faiz, Borc, Odeme, Kalan, Anapara, Evrak };
// The captions of the statement columns.
QStringList captions();

// The statement as text, CSV or JSON. Amounts in CSV and JSON are plain
// decimals with tlonda places; text shows them as the screens do.
QString asText(const surcharge::Statement &st, const data::MemberCard &m, const QDate &baseDate,
               int tlonda);
QString asCsv(const surcharge::Statement &st, int tlonda);
QString asJson(const surcharge::Statement &st, const QString &kod, const QDate &baseDate,
               int tlonda);

} // namespace statement
