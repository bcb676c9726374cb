#pragma once

#include "core/session.h"

namespace startup {

// Opens the company in `folder` (a path) as start-up opens it for a screen,
// without the registry: PrgPath is the running program's folder, DataPath the
// company folder's parent, the image folder "image/soft/". False after a
// message when the folder or its files are missing or damaged.
[[nodiscard]] bool openCompanyFolder(Session &session, const QString &folder);

} // namespace startup
