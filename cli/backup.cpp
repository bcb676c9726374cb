#include "cli/backup.h"

#include "actions/company/backup.h"

int runBackup(const cli::Call &call) {
    const auto told = backup::take(call.arguments[0], call.arguments[1], call.messages);
    if (!told)
        return cli::ExitFailed;
    cli::printOut(*told + u'\n');
    return cli::ExitOk;
}

int runRestore(const cli::Call &call) {
    std::optional<QString> server;
    if (call.isSet(QStringLiteral("server")))
        server = call.value(QStringLiteral("server"));
    const auto told = backup::restore(call.arguments[0], call.arguments[1], server, call.messages);
    if (!told)
        return cli::ExitFailed;
    cli::printOut(*told + u'\n');
    return cli::ExitOk;
}
