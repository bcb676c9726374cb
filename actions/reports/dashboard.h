#pragma once

#include "actions/generallist/generallistaction.h"
#include "core/company.h"

#include <QDate>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace charts {
struct Board;
}

// "Genel Durum": a year of the cooperative at a glance. The dues charged
// and collected month by month and the collection rate, the arrears by age,
// the ten largest debtors, and a month of the cash boxes' day totals.
namespace dashboard {

inline constexpr char16_t Title[] = u"GENEL DURUM";

struct Debtor {
    QString kod, isim;
    Money kalan;
};

struct CashDay {
    QDate day;
    Money total;
};

struct Board {
    int year = 0;
    int month = 0;  // the month of the cash line
    QDate baseDate; // the year's last day, or today within the current year
    int cards = 0;
    QString unvan; // the cooperative's name, over the charts
    // Every card's statement rows with a due date in the month: Borç as
    // charged, Ödenen (a void's reversal netting its collection) as collected.
    std::array<Money, 12> charged{}, collected{};
    Money chargedTotal, collectedTotal;
    // Every card's figures at the base date summed as the general list sums
    // them: the open principal by age, the G.Zammı, what they owe.
    generallist::Figures toplam;
    std::vector<Debtor> top;   // the ten largest balances above 0, largest first
    std::vector<CashDay> cash; // every day of the month, 0 where nothing was taken
};

struct Progress {
    int done = 0, count = 0;
};
using ProgressFn = std::function<void(const Progress &)>;

// The year of every card, whatever its kind, as the general list takes
// them. `month` 0 takes the base date's month. Nothing after "Sql Rapor
// Yaratılamıyor" or for a year outside 1900–9999.
std::optional<Board> build(Company &company, int year, int month, const ProgressFn &progress = {});

// Collected as a share of charged, "87.5" (one decimal); empty when nothing
// was charged.
QString rate(Money collected, Money charged);

// The figures as text and as JSON ({"yil", "aylar": [{"ay", "tahakkuk",
// "tahsilat"}], "yas1"…"yas5", "ilkon": [...], "kasa": [...]}).
QString asText(const Board &board, int tlonda);
QString asJson(const Board &board, int tlonda);

// The five charts and the summary as the charts layer draws them.
charts::Board chartsOf(const Board &board, int tlonda);

// The board into a PNG or a PDF (by the name's ending); false after the
// message.
[[nodiscard]] bool write(Company &company, const Board &board, const QString &path);

} // namespace dashboard
