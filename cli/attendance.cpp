#include "cli/attendance.h"

#include "actions/attendance/attendanceprint.h"
#include "core/companyfolder.h"
#include "printing/prnx.h"

bool isListOrder(const QString &value) {
    return value == u"code" || value == u"name";
}

int runAttendance(const cli::Call &call) {
    if (!call.isSet(QStringLiteral("out")))
        return call.wrongCommandLine();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const attendance::Opening opening = attendance::open(session);
    const attendance::Query query{
        call.isSet(QStringLiteral("from")) ? call.value(QStringLiteral("from")) : opening.firstCode,
        call.isSet(QStringLiteral("to")) ? call.value(QStringLiteral("to")) : opening.lastCode,
        call.value(QStringLiteral("order")) == u"name"};
    const auto members = attendance::load(session, query);
    if (!members)
        return cli::ExitFailed;

    attendance::PrintOptions options;
    if (call.isSet(QStringLiteral("grouped")))
        options.groups = attendance::readGroups(attendance::groupFile(session));
    options.marks = call.isSet(QStringLiteral("marks"));
    printing::PrintContext context(session);
    attendance::presetPrinter(context.settings);
    context.printTo(call.value(QStringLiteral("mode")) != u"1", call.value(QStringLiteral("out")));
    prnx printer(context);
    const auto pages = attendance::printList(printer, call.messages, *members, options);
    if (!pages)
        return cli::ExitFailed;
    cli::printOut(QStringLiteral("%1 üye, %2 sayfa\n").arg(members->size()).arg(*pages));
    return cli::ExitOk;
}
