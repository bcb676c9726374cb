#pragma once

#include "core/registry.h"
#include "core/session.h"

#include <QStringList>

namespace startup {

struct CommandLine {
    QString company;
    QString key;
};

// The program's arguments joined by single blanks, as the suite passes one line.
QString joinArguments(const QStringList &arguments);
// Company folder before the first blank, trimmed; the key after it, trimmed
// and upper-cased. No blank: everything is the company folder.
CommandLine splitCommandLine(const QString &line);

// PrgPath and DataPath from the registry, defaulted and written back when
// PrgPath is empty (a warning when they cannot be written).
void readPaths(Session &session, Registry &registry, const QString &programDir);

// Registry paths, command line, imagepath, the two databases, the ten
// shared tables, the money settings and the colour theme, in that order.
// False when start-up must end; its message has been shown.
[[nodiscard]] bool open(Session &session, Registry &registry, const QString &commandLine,
                        const QString &programDir);

// Opens the company's databases, shared tables, money settings and colour
// theme, with start-up's messages; `company` and the paths must be set.
[[nodiscard]] bool openCompany(Session &session);

// Exit code of a start-up that could not open its screen.
constexpr int ExitStartupFailed = 1;

} // namespace startup
