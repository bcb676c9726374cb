#include "cli/labels.h"

#include "actions/labels/labelsaction.h"
#include "actions/labels/labelsprint.h"
#include "core/companyfolder.h"
#include "printing/prnx.h"

bool isRange(const QString &value) {
    return cli::twoEnds(value).has_value();
}

bool isStatusList(const QString &value) {
    for (const QString &s : value.split(u','))
        if (s != u"A" && s != u"S" && s != u"D")
            return false;
    return true;
}

int runLabels(const cli::Call &call) {
    if (!call.isSet(QStringLiteral("out")))
        return call.wrongCommandLine();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    printing::PrintContext context(session);
    context.dotMatrixCopy = call.value(QStringLiteral("out"));
    prnx printer(context);
    if (call.isSet(QStringLiteral("test"))) {
        if (!labels::printTest(printer))
            return cli::ExitFailed;
        return cli::ExitOk;
    }

    const labels::Opening opening = labels::open(session);
    labels::Selection selection;
    selection.codes = {opening.firstCode, opening.lastCode};
    const std::pair<const char *, labels::Range *> ranges[] = {{"codes", &selection.codes},
                                                               {"groups", &selection.groups},
                                                               {"types", &selection.types},
                                                               {"special", &selection.specials}};
    for (const auto &[name, range] : ranges)
        if (call.isSet(QString::fromLatin1(name))) {
            const auto ends = cli::twoEnds(call.value(QString::fromLatin1(name)));
            *range = {ends->first, ends->second};
        }
    const QStringList status = call.value(QStringLiteral("status")).split(u',');
    selection.members = status.contains(QStringLiteral("A"));
    selection.sellers = status.contains(QStringLiteral("S"));
    selection.others = status.contains(QStringLiteral("D"));
    labels::orderCodes(selection);
    const auto cards = labels::load(session, selection);
    if (!cards)
        return cli::ExitFailed;
    const auto printed = labels::printLabels(printer, *cards);
    if (!printed)
        return cli::ExitFailed;
    labels::sayFinished(call.messages);
    cli::printOut(QStringLiteral("%1\n").arg(*printed));
    return cli::ExitOk;
}
