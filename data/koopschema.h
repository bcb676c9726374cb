#pragma once

#include "base/messages.h"
#include "data/database.h"

namespace data {

// Creates the program's own database (ayar, fiat, borc) at `filePath`. Every
// failure shows its message and returns false: start-up then ends. The file
// must not exist yet.
[[nodiscard]] bool createKoopDatabase(const QString &filePath, Messages &messages);
// The same tables in an open, empty database (a new file, or a schema on a
// server); on a server the tables already there are kept.
[[nodiscard]] bool createKoopTables(Database &db, Messages &messages);

// Creates the accounting suite's tables in a new xdata.dat, as the suite
// itself would; used where there is no suite (init, tests).
[[nodiscard]] bool createSuiteDatabase(const QString &filePath, QString *error);
[[nodiscard]] bool createSuiteTables(Database &db, QString *error);

} // namespace data
