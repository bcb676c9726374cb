#pragma once

#include "startup/session.h"

namespace cli {

// Opens the company in `folder` (a path) as start-up opens it for a screen,
// without the registry: DataPath is the folder's parent. False after a
// message when the folder or its files are missing or damaged.
bool openCompanyFolder(Session &session, const QString &folder);

// A whole number within [min, max], or false.
bool parseNumber(const QString &text, qint64 min, qint64 max, qint64 *out);

} // namespace cli
