#pragma once

#include "core/company.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// The general assembly's attendance list: the members (kind 0) of a code
// range, by code or by name, and the page groups that let each table of the
// assembly take its own sheets. The groups live in the company's
// "hazirun.ini".
namespace attendance {

inline constexpr char16_t GroupFileName[] = u"hazirun.ini";
inline constexpr int GroupCount = 10;
constexpr int CodeLength = 15; // as the card holds it

// The lowest and the highest code on the card table; both empty without cards.
struct Opening {
    QString firstCode, lastCode;
};
Opening open(Company &company);

// What the list is read for; a list read for the same query is not read again.
struct Query {
    QString first, last;
    bool byName = false;
    bool operator==(const Query &) const = default;
};

// One row of the list.
struct Member {
    QString kod;
    QString unvan; // both name lines
    QString adres; // the three address lines
};
// The members of the range, in the query's order. Nothing after "Sql Rapor
// Yaratılamıyor".
std::optional<std::vector<Member>> load(Company &company, const Query &query);

// False after "Liste Getirilmemiş.." when there is nothing to print.
bool listed(Messages &messages, const std::vector<Member> &members);

// The start and end code of each page group, as stored.
struct Group {
    QString start, end;
};
using Groups = std::array<Group, GroupCount>;

QString groupFile(const Company &company);
// The groups of `file`; a missing file or key gives the office's defaults.
Groups readGroups(const QString &file);
// Writes all twenty keys; "Kaydedilemedi." when the file cannot be written.
bool storeGroups(const QString &file, const Groups &groups, Messages &messages);

// Where grouped pages end. Walking the list in order, a member whose code
// (trimmed, upper-case, compared as text) is at or beyond the current
// group's end code ends its page, and the next group's end is looked for
// from then on; an empty end code, or the tenth passed, ends the grouping.
class PageGroups {
  public:
    explicit PageGroups(const Groups &groups);
    // Whether the page ends after this member.
    bool endsPage(const QString &kod);

  private:
    std::array<QString, GroupCount> m_ends;
    int m_next = 0;
};

} // namespace attendance
