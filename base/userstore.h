#pragma once

#include <QString>

// The clerk's own settings of the program (application "korvane"), kept per
// user by section and key: the controls' fonts, the monthly vouchers' title.
namespace userstore {

QString read(const QString &section, const QString &key, const QString &fallback);
// False when the store could not be written.
[[nodiscard]] bool write(const QString &section, const QString &key, const QString &value);

} // namespace userstore
