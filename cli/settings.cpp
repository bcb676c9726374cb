#include "cli/settings.h"

#include "actions/settings/settingsaction.h"
#include "core/companyfolder.h"

int runSettings(const cli::Call &call) {
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    auto row = settingsform::load(session);
    const QStringList sets = call.values(QStringLiteral("set"));
    if (!sets.isEmpty()) {
        data::Settings changed = row.value_or(data::Settings{});
        for (const QString &set : sets) {
            const qsizetype eq = set.indexOf(u'=');
            if (const auto refusal = settingsform::apply(changed, set.left(eq), set.mid(eq + 1))) {
                call.messages.warning(*refusal + QStringLiteral("\nAyarlar kaydedilmedi."));
                return cli::ExitFailed;
            }
        }
        if (!settingsform::save(session, row, changed))
            return cli::ExitFailed;
        row = settingsform::load(session);
    }
    const QString out = call.value(QStringLiteral("format")) == u"json" ? settingsform::asJson(row)
                                                                        : settingsform::asText(row);
    cli::printOut(out);
    return cli::ExitOk;
}
