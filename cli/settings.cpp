#include "cli/settings.h"

#include "actions/settings/settingsaction.h"
#include "core/companyfolder.h"

int runSettings(const cli::Call &call) {
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    auto row = settingsform::load(session);
    const auto sets = call.keyValues(QStringLiteral("set"));
    if (!sets.empty()) {
        data::Settings changed = row.value_or(data::Settings{});
        for (const auto &[key, value] : sets) {
            if (const auto refusal = settingsform::apply(changed, key, value)) {
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
