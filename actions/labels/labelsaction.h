#pragma once

#include "core/company.h"
#include "data/koopdata.h"

#include <QStringList>
#include <optional>
#include <vector>

// Address labels: the cards selected by code, group, type and special-code
// ranges and by kind, printed two across on continuous label stock by the
// dot-matrix printer, with a ruler page to line the stock up first.
namespace labels {

// The text ranges' default end: beyond every group, type and special code.
inline constexpr char16_t RangeEnd[] = u"zzzz";

// The lowest and the highest code on the card table; both empty without cards.
struct Opening {
    QString firstCode, lastCode;
};
Opening open(Company &company);

struct Range {
    QString first, last;
};
struct Selection {
    Range codes;
    Range groups{{}, QString::fromUtf16(RangeEnd)};
    Range types{{}, QString::fromUtf16(RangeEnd)};
    Range specials{{}, QString::fromUtf16(RangeEnd)};
    // The status boxes A, S and D: the kinds 0, 1 and 2.
    bool members = true, sellers = false, others = false;
};

// The code range in order: true when its ends were reversed and swapped.
bool orderCodes(Selection &selection);

// The selected cards in code order. "A/S/D Seceneklerinden biri veya
// fazlası işaretlenmelidir.." without a status box; nothing after "Sql Rapor
// Yaratılamıyor" too.
std::optional<std::vector<data::MemberCard>> load(Company &company, const Selection &selection);

// "Etiketler Bitmiştir..", once the labels are printed.
void sayFinished(Messages &messages);

} // namespace labels
