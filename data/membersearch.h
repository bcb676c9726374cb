#pragma once

#include "base/messages.h"
#include "data/database.h"
#include "data/koopdata.h"

#include <QString>
#include <optional>
#include <vector>

// The member search of the lookup window: cards whose code or first name
// starts with, or holds, what the clerk typed.
namespace data {

struct MemberMatch {
    QString kod;
    QString isim1;
};

enum class MemberOrder { ByCode = 0, ByName = 1 };

// The typed text as a LIKE pattern that matches it literally: %, _ and the
// escape character "\" lose their meaning.
QString likeLiteral(const QString &text);

// Fills `out` with the matches, by code (binary) or by name (Turkish order).
// The match ignores case the Turkish way. False when the query fails; text
// that cannot be stored (a lone surrogate) matches nothing.
[[nodiscard]] bool searchMembers(Database &db, const QString &text, MemberOrder order,
                                 bool contains, std::vector<MemberMatch> *out);

// A range of member codes, both ends included; codes compare as text.
struct CodeRange {
    QString first;
    QString last;
};
// The lowest and the highest code on the card table, whatever the kind; both
// empty when there are no cards. A card with an empty code counts, or is
// passed over. Nothing after "Sql Rapor Yaratılamıyor".
enum class EmptyCode { Counted, Skipped };
[[nodiscard]] std::optional<CodeRange> cardCodeRange(Database &db, Messages &messages,
                                                     EmptyCode empty = EmptyCode::Counted);

// The cards of one kind (`asd`), or of every kind, in code order, with their
// names and account codes; all of them, or those within `range`.
struct MemberAccount {
    QString kod;
    QString isim1;
    QString muhasebe;
    int asd = 0;
};
// False after "Sql Rapor Yaratılamıyor" when the query fails.
[[nodiscard]] bool readMemberAccounts(Database &db, std::optional<int> asd,
                                      std::vector<MemberAccount> *out, Messages &messages,
                                      const std::optional<CodeRange> &range = {});

// The groups of the members (kind 0): every group a card names, as stored,
// an empty or blank group left out, in code order. Nothing after "Sql
// Rapor Yaratılamıyor".
[[nodiscard]] std::optional<QStringList> readGroups(Database &db, Messages &messages);

// The cards of one group, or of every group, whatever their kind, in code
// order: code, name and address lines. False after "Sql Rapor Yaratılamıyor".
[[nodiscard]] bool readGroupCards(Database &db, const std::optional<QString> &group,
                                  std::vector<MemberCard> *out, Messages &messages);

// Which cards a member list takes: a code range (codes compare as text), and
// optionally ranges on the group, the type and the special code, which
// compare in Turkish order with an unset field reading as empty text; the
// kinds (`asd`) it takes, every kind when none is named; and its order, by
// code or by first name.
struct CardSelection {
    CodeRange codes;
    std::optional<CodeRange> groups, types, specials;
    std::vector<int> kinds;
    MemberOrder order = MemberOrder::ByCode;
};
// The selected cards with their names and address lines. False after "Sql
// Rapor Yaratılamıyor"; a bound the database cannot hold selects nothing.
[[nodiscard]] bool readCards(Database &db, const CardSelection &selection,
                             std::vector<MemberCard> *out, Messages &messages);

} // namespace data
