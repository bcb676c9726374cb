#pragma once

#include "cli/command.h"

// koop-cli backup DIR TARGET: every file of a working company (the two
// databases, its settings files, the cash boxes' day files and their
// journals) as they stood at one moment, each copy checked, with the
// manifest yedek.txt (name, size, SHA-256 of every file) written last. A
// server company's tables come as a pg_dump file beside the folder's files.
// The backup is built in a folder beside TARGET named as unfinished and
// takes TARGET's name only when complete.
int runBackup(const cli::Call &call);

// koop-cli restore BACKUP DIR [--server ADDRESS]: a backup back into a new
// company folder, refused whole (exit 1, the file and the fault named)
// unless every file matches the manifest, nothing else lies beside them and
// both databases pass their integrity check. DIR must not exist; it is
// built beside its place and takes its name only when complete.
int runRestore(const cli::Call &call);
