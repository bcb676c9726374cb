#pragma once

#include <QString>

// The company's small settings files (korvane.dat and friends) follow the
// old private-profile rules: sections and keys compare case-insensitively,
// a value is at most 254 characters, and a missing file or key gives the
// default. Files written by the old suite are CP1254; we read both that and
// UTF-8, and write UTF-8.
namespace ini {

QString readValue(const QString &section, const QString &key, const QString &defaultValue,
                  const QString &filePath);
// Creates the section and the file as needed; false when the file cannot be written.
[[nodiscard]] bool writeValue(const QString &section, const QString &key, const QString &filePath,
                              const QString &value);

// Bytes of an old file: UTF-8 when they are valid UTF-8, else CP1254.
QString decodeLegacyText(const QByteArray &bytes);

} // namespace ini
