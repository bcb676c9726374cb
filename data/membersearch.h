#pragma once

#include "data/database.h"
#include "startup/base/messages.h"

#include <QString>
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
bool searchMembers(Database &db, const QString &text, MemberOrder order, bool contains,
                   std::vector<MemberMatch> *out);

// The cards of one kind (`asd`) in code order, with their account codes.
struct MemberAccount {
    QString kod;
    QString muhasebe;
};
// False after "Sql Rapor Yaratılamıyor" when the query fails.
bool readMemberAccounts(Database &db, int asd, std::vector<MemberAccount> *out, Messages &messages);

} // namespace data
