#pragma once

#include "base/messages.h"

#include <QString>
#include <optional>

// A working company's backup and its return into a new folder.
namespace backup {

// Every file of a working company (the two databases, its settings files,
// the cash boxes' day files and their journals) as they stood at one
// moment, each copy checked, with the manifest yedek.txt (name, size,
// SHA-256 of every file) written last. A server company's tables come as a
// pg_dump file beside the folder's files. The backup is built in a folder
// beside `target` named as unfinished and takes its name only when
// complete. What to tell ("Yedek alındı: …"), or nothing after the message
// (messages.busy() when another desk held the files).
std::optional<QString> take(const QString &company, const QString &target, Messages &messages);

// A backup back into a new company folder, refused whole (the file and the
// fault named) unless every file matches the manifest, nothing else lies
// beside them and both databases pass their integrity check. `company`
// must not exist; it is built beside its place and takes its name only
// when complete. A server company's backup goes into the server
// `serverText` names ("HOST[:PORT]/DATABASE[?user=U]").
std::optional<QString> restore(const QString &backupFolder, const QString &company,
                               const std::optional<QString> &serverText, Messages &messages);

} // namespace backup
