#include "cli/company.h"

#include "actions/company/companyinfo.h"
#include "core/companyfolder.h"

int runCompany(const cli::Call &call) {
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    companyinfo::Info info = companyinfo::load(session);
    const auto sets = call.keyValues(QStringLiteral("set"));
    if (!sets.empty()) {
        companyinfo::Info edited = info;
        if (const auto refusal = companyinfo::apply(edited, sets)) {
            call.messages.warning(*refusal + QStringLiteral("\nŞirket bilgileri kaydedilmedi."));
            return cli::ExitFailed;
        }
        if (!companyinfo::save(session, info, edited))
            return cli::ExitFailed;
        info = companyinfo::load(session);
    }
    cli::printOut(call.value(QStringLiteral("format")) == u"json" ? companyinfo::asJson(info)
                                                                  : companyinfo::asText(info));
    return cli::ExitOk;
}
