#pragma once

// Names sort and match as a Turkish clerk expects, in SQLite files as on the
// server: the collation "tr" and a LIKE that folds i/İ and ı/I.

#include <QChar>
#include <QSqlDatabase>
#include <QString>

namespace data {

// Registers the collation "tr" and the Turkish LIKE on a raw SQLite handle
// (the driver's handle, or sqlite3's own); false when the handle is not SQLite.
[[nodiscard]] bool registerTurkishFunctions(QSqlDatabase &db);

// Turkish lower case (I -> ı, İ -> i); the folding of every search.
QString turkishFold(const QString &text);
// Turkish LIKE with % and _ and an optional escape character.
[[nodiscard]] bool turkishLike(const QString &pattern, const QString &value,
                               QChar escape = QChar());

} // namespace data
