#pragma once

#include "core/company.h"
#include "data/prices.h"

#include <QDate>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

// The month's dues: the members of a group with their five standing prices,
// which the clerk may change (stored at once), every price above 0 posted as
// a debt, and a debt voucher per member. Posting again posts again; the
// screen and the command line ask first (alreadyPosted).
namespace monthlydebt {

using data::HeadPrices;

// The largest price a head takes.
constexpr double PriceMax = 999999999.0;
// The largest voucher number.
constexpr qint32 VoucherNoMax = 99999999;

inline constexpr char16_t AllGroups[] = u"Tümü";

struct Opening {
    QStringList groups;              // "Tümü", then every group of the members
    std::array<QString, 5> captions; // the heads' captions, "Fiyat1"... without settings
    qint32 fisno = 0;                // the settings' last receipt number, not advanced
};
// Reads the groups and the settings row; without a settings row the captions
// are "Fiyat1".."Fiyat5" and the number 0, without a message.
Opening open(Company &company);

// The cooperative's name, as the vouchers print it.
QString cooperativeName(Company &company);

// "Aralık DÖNEMİ": the month of `date` in Turkish and " DÖNEMİ".
QString periodOf(const QDate &date);

// One row of the member grid.
struct Member {
    QString kod, unvan;
    HeadPrices prices{};
    QString adr1, adr2, adr3;
};

// The cards of the group (an empty group, or "Tümü", lists every card),
// whatever their kind, in code order, each with its stored prices (0 without
// a price row). Nothing after "Sql Rapor Yaratılamıyor".
std::optional<std::vector<Member>> load(Company &company, const QString &group);

// Stores a member's five prices as one action. A code without a card says
// "Cari Hesabı Bulunamadı", a row that is not stored "Kaydedilemedi."; an
// empty code stores nothing and says nothing. True when stored.
bool savePrices(Company &company, const QString &kod, const HeadPrices &prices);

// Where a posting is: `done` of `count` rows, the next one's code.
struct Progress {
    int done = 0, count = 0;
    QString kod;
};
// Posts, in one action, one debt per member with a card and per price above
// 0: the head's caption as description, `kod1` the head's number, dated
// `date`. A date that is no date says "Hatalı Tarih.." and posts nothing.
// The number of debt rows stored; nothing when the action did not go through.
std::optional<int> post(Company &company, const QDate &date, const std::vector<Member> &members,
                        const std::array<QString, 5> &captions,
                        const std::function<void(const Progress &)> &progress = {});

// "Bu tarihte grubun N üyesinde bu borçlar zaten var (Aidat).", when members
// of the list already have debts of `date` under the captions of the heads
// this posting would post; nothing otherwise.
std::optional<QString> alreadyPosted(Company &company, const QDate &date,
                                     const std::vector<Member> &members,
                                     const std::array<QString, 5> &captions);

// The rows a print button prints: every row, from the current row on, or the
// current row alone; the end cut to the last row. Empty (first > last) when
// there is nothing to print.
enum class Range { All, FromCurrent, Current };
struct Rows {
    int first = 0, last = -1;
};
Rows rowsOf(Range range, int current, int count);

// The five prices as plain decimals of tlonda places, as the command line
// writes them.
QStringList plainPrices(const HeadPrices &prices, int tlonda);

// The members' prices as the command line writes them.
QString asText(const std::vector<Member> &members, const std::array<QString, 5> &captions,
               int tlonda);
QString asCsv(const std::vector<Member> &members, int tlonda);
QString asJson(const std::vector<Member> &members, int tlonda);

} // namespace monthlydebt
