#include "cli/integrate.h"

#include "actions/integration/integrationaction.h"
#include "base/daynumber.h"
#include "core/companyfolder.h"

namespace {

// The option's value, or the one the screen would have filled in from the
// account-code file.
QString orStored(const cli::Call &call, const char *option, const QString &stored) {
    const QString name = QString::fromLatin1(option);
    return call.isSet(name) ? call.value(name) : stored;
}

// "done/count  kod" on a terminal; nothing when standard error is not one.
integration::RowProgress terminalProgress() {
    cli::ProgressLine line;
    if (!line.shown())
        return {};
    return [line](int done, int count, const QString &kod) mutable {
        line.show(QStringLiteral("%1/%2  %3").arg(done).arg(count).arg(kod), done == count);
    };
}

// The same line as the surcharge run computes its members.
integration::Progress surchargeProgress() {
    const integration::RowProgress line = terminalProgress();
    if (!line)
        return {};
    return [line](const integration::SurchargeProgress &p) { line(p.done, p.count, p.kod); };
}

bool isIntegrationAction(const QString &value) {
    return value == u"debts" || value == u"collections" || value == u"surcharge";
}

} // namespace

int runIntegrate(const cli::Call &call) {
    const QString action = call.arguments[1];
    const bool debts = action == u"debts";
    if (!isIntegrationAction(action) ||
        (debts ? !call.isSet(QStringLiteral("year")) || !call.isSet(QStringLiteral("month"))
               : !call.isSet(QStringLiteral("from")) || !call.isSet(QStringLiteral("to"))))
        return call.wrongCommandLine();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const integration::Accounts stored = integration::readAccounts(session);
    const QString from = call.value(QStringLiteral("from"));
    const QString to = call.value(QStringLiteral("to"));
    // A period handed over before is written again only when asked for.
    const auto period = debts
                            ? integration::debtsPeriod(call.value(QStringLiteral("year")),
                                                       call.value(QStringLiteral("month")).toInt())
                            : std::optional(std::pair{parseTrDate(from), parseTrDate(to)});
    const auto kind = debts                      ? integration::Kind::Debts
                      : action == u"collections" ? integration::Kind::Collections
                                                 : integration::Kind::Surcharge;
    if (period && !call.mayRepeat(
                      integration::handedOverBefore(session, kind, period->first, period->second)))
        return cli::ExitFailed;
    std::optional<int> rows;
    if (debts) {
        rows = integration::postMonthlyDebts(session, call.value(QStringLiteral("year")),
                                             call.value(QStringLiteral("month")).toInt(),
                                             orStored(call, "account", stored.borchesapkod),
                                             orStored(call, "description", stored.borcack),
                                             terminalProgress());
    } else if (action == u"collections") {
        rows = integration::postCollections(
            session, from, to, orStored(call, "account", stored.kasahesapkod),
            orStored(call, "description", stored.kasaack), terminalProgress());
    } else {
        const double faiz = integration::surchargeRate(session);
        rows = integration::postPaidSurcharge(
            session, from, to, orStored(call, "account", stored.faizhesapkod),
            orStored(call, "description", stored.faizack), faiz, surchargeProgress());
    }
    if (!rows)
        return cli::ExitFailed;
    cli::printOut(QString::number(*rows) + u'\n');
    return cli::ExitOk;
}
