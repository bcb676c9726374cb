#pragma once

#include "actions/collection/receipt.h"
#include "base/daynumber.h"
#include "core/company.h"
#include "data/koopdata.h"

#include <QDate>
#include <array>
#include <optional>

namespace printing {
class PrintContext;
}

// A member's cash payment split over the five dues heads: what the member
// owes on each head up to the end of the month, and the posting of one
// cash-box row for the whole payment with one ledger credit per head paid.
// The receipt counter is not advanced here and no integration rows are
// written; the cash desk does both.
namespace headcollection {

using HeadAmounts = std::array<Money, 5>;
constexpr int CashBoxNumber = 1;
// The largest amount an amount field takes.
constexpr double AmountMax = 9999999999.0;

struct Opening {
    bool settingsExist = false;
    qint32 receiptNo = 0; // fisno + 1, or 0 without a settings row
    std::array<QString, 5> captions;
    QDate date;
};
// Reads the settings row; without one says "Ayarlar Yapılmamış...".
Opening open(Company &company);

// The card of the trimmed code, if there is one.
std::optional<data::MemberCard> member(Company &company, const QString &kod);

// The balances count every item up to the last day of the date's month.
inline QDate baseDate(const QDate &date) {
    return officeMonthEnd(date);
}
// Debits less credits per head, items up to baseDate(date); sub-accounts
// other than "1".."5" are left out. Nothing after the query's message.
std::optional<HeadAmounts> balances(Company &company, const QString &kod, const QDate &date);

Money total(const HeadAmounts &amounts);

// One warning for each head paid above its balance, titled "korvane"; the
// number of them. They do not stop the posting.
int warnOverCollection(Messages &messages, const std::array<QString, 5> &captions,
                       const HeadAmounts &balances, const HeadAmounts &amounts);

struct Collection {
    QString kod;  // trimmed
    QString name; // the card's isim1
    QDate date;
    qint32 receiptNo = 0;
    std::array<QString, 5> captions;
    HeadAmounts amounts;
};
// One action: the cash-box row of the total ("isim1 Tahsilat"), then, when
// the card exists, one ledger credit per head paid ("caption Tahsilatı"),
// each under a reference of its own. Nothing for a total not above 0; false
// when nothing was stored.
bool post(Company &company, const Collection &c);

// The member's statement balance at the collection's date, surcharge
// included, taken before the collection is posted: the balance the desk's
// receipt starts from, so both receipts print what the statement says. 0 when
// it cannot be computed.
Money balanceBefore(Company &company, const Collection &c);

// The cash desk's receipt with the heads paid as its lines; the balance
// printed is `balance` (balanceBefore) less the payment.
collection::ReceiptValues receiptValues(Company &company, const Collection &c, Money balance);
[[nodiscard]] bool printReceipt(printing::PrintContext &context, const Collection &c,
                                Money balance);

// A member's balances on the five heads at a date, as the screen shows them.
struct MemberHeads {
    data::MemberCard member;
    Opening opening;
    QDate date;
    HeadAmounts balances;
};
// The member of the trimmed code with the heads' balances at `date`; nothing
// after the message that says why ("Bu kodla bir üye kartı yok: ..." for a
// code without a card, which the screen empties).
std::optional<MemberHeads> memberHeads(Company &company, const QString &kod, const QDate &date);
// The balances as text (amounts as the screens show them, a zero as 0) or
// JSON (plain decimals).
QString asText(const MemberHeads &heads, int tlonda);
QString asJson(const MemberHeads &heads, int tlonda);

} // namespace headcollection
