#include "cli/voids.h"

#include "actions/collection/voidaction.h"
#include "actions/collection/voidsprint.h"
#include "base/daynumber.h"
#include "core/companyfolder.h"
#include "printing/printcontext.h"
#include "printing/prnx.h"

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
    if (!call.isSet(QStringLiteral("print")) && call.isSet(QStringLiteral("mode")))
        return call.wrongCommandLine();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QDate from = parseTrDate(call.value(QStringLiteral("from")));
    const QDate to = parseTrDate(call.value(QStringLiteral("to")));
    const auto lines = collection::voidsList(session, from, to);
    if (!lines)
        return cli::ExitFailed;
    const int tl = session.tlonda;
    if (call.isSet(QStringLiteral("print"))) {
        printing::PrintContext context(session);
        collection::presetVoidsPrinter(context.settings);
        context.printTo(call.dotMatrix(context.settings.dotMatrix),
                        call.value(QStringLiteral("print")));
        prnx printer(context);
        if (!collection::printVoids(printer, *lines, collection::voidsHead(session, from, to), tl))
            return cli::ExitFailed;
    }
    const QString format = call.value(QStringLiteral("format"));
    cli::printOut(format == u"csv"    ? collection::voidsAsCsv(*lines, tl)
                  : format == u"json" ? collection::voidsAsJson(*lines, tl)
                                      : collection::voidsAsText(*lines, tl));
    return cli::ExitOk;
}
