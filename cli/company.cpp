#include "cli/company.h"

#include "actions/company/companyinfo.h"
#include "core/companyfolder.h"

int runCompany(const cli::Call &call) {
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    companyinfo::Info info = companyinfo::load(session);
    const QStringList sets = call.values(QStringLiteral("set"));
    if (!sets.isEmpty()) {
        companyinfo::Info edited = info;
        for (const QString &set : sets) {
            const qsizetype eq = set.indexOf(u'=');
            if (const auto refusal = companyinfo::apply(edited, set.left(eq), set.mid(eq + 1))) {
                call.messages.warning(*refusal +
                                      QStringLiteral("\nŞirket bilgileri kaydedilmedi."));
                return cli::ExitFailed;
            }
        }
        if (!companyinfo::save(session, info, edited))
            return cli::ExitFailed;
        info = companyinfo::load(session);
    }
    cli::printOut(call.value(QStringLiteral("format")) == u"json" ? companyinfo::asJson(info)
                                                                  : companyinfo::asText(info));
    return cli::ExitOk;
}
