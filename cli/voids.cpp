#include "cli/voids.h"

#include "actions/collection/voidaction.h"
#include "base/daynumber.h"
#include "core/companyfolder.h"

int runVoid(const cli::Call &call) {
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QString date = call.value(QStringLiteral("date"));
    collection::VoidRequest request;
    request.receiptNo = call.arguments[1];
    request.kod = call.value(QStringLiteral("kod"));
    request.date = date.isEmpty() ? session.today() : parseTrDate(date);
    request.reason = call.value(QStringLiteral("reason"));
    const auto voided = collection::voidReceipt(session, request);
    if (!voided)
        return cli::ExitFailed;
    cli::printOut(voided->refer + u'\n');
    if (voided->dayTotalPending)
        return cli::ExitDayTotalPending;
    return voided->listed ? cli::ExitOk : cli::ExitFailed;
}

int runVoids(const cli::Call &call) {
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const auto lines =
        collection::voidsList(session, parseTrDate(call.value(QStringLiteral("from"))),
                              parseTrDate(call.value(QStringLiteral("to"))));
    if (!lines)
        return cli::ExitFailed;
    const QString format = call.value(QStringLiteral("format"));
    const int tl = session.tlonda;
    cli::printOut(format == u"csv"    ? collection::voidsAsCsv(*lines, tl)
                  : format == u"json" ? collection::voidsAsJson(*lines, tl)
                                      : collection::voidsAsText(*lines, tl));
    return cli::ExitOk;
}
