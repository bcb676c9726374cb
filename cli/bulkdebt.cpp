#include "cli/bulkdebt.h"

#include "actions/bulkdebt/bulkdebtaction.h"
#include "core/companyfolder.h"
#include "data/membersearch.h"

bool isMonthRange(const QString &value) {
    const auto ends = cli::twoEnds(value);
    return ends && cli::wholeNumber(ends->first, 1, 12) && cli::wholeNumber(ends->second, 1, 12);
}

int runBulkDebt(const cli::Call &call) {
    for (const char *required : {"year", "months", "amounts"})
        if (!call.isSet(QString::fromLatin1(required)))
            return call.wrongCommandLine();
    const auto codes = call.isSet(QStringLiteral("codes"))
                           ? cli::twoEnds(call.value(QStringLiteral("codes")))
                           : std::optional<std::pair<QString, QString>>();
    const QString amountText = call.value(QStringLiteral("amounts"));
    if ((call.isSet(QStringLiteral("codes")) && !codes) || amountText.count(u',') > 4)
        return call.wrongCommandLine();

    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    bulkdebt::Request request;
    request.year = call.value(QStringLiteral("year"));
    const auto months = cli::twoEnds(call.value(QStringLiteral("months")));
    request.firstMonth = months->first.toInt();
    request.lastMonth = months->second.toInt();
    const auto amounts = cli::headAmounts(amountText, session.tlonda, bulkdebt::AmountMax, false);
    if (!amounts) {
        call.messages.warning(QStringLiteral("Tutar 0 ile %1 arasında bir sayı "
                                             "olmalı (en çok %2 ondalık, nokta ile): ")
                                  .arg(Money::maxEntryText())
                                  .arg(session.tlonda) +
                              amountText);
        return cli::ExitFailed;
    }
    request.amounts = *amounts;
    // Without codes, every card, as the screen presets them.
    if (codes) {
        request.firstCode = codes->first;
        request.lastCode = codes->second;
    } else {
        const auto cards = data::cardCodeRange(session.data, call.messages);
        if (!cards)
            return cli::ExitFailed;
        request.firstCode = cards->first;
        request.lastCode = cards->last;
    }

    if (!call.mayRepeat(bulkdebt::alreadyPosted(session, request)))
        return cli::ExitFailed;
    cli::ProgressLine line(call.isSet(QStringLiteral("progress")));
    bulkdebt::ProgressFn progress;
    if (line.shown())
        progress = [&line](const bulkdebt::Progress &p) {
            line.show(QStringLiteral("%1/%2  ").arg(p.done).arg(p.count) +
                          bulkdebt::progressText(p),
                      p.done == p.count);
        };
    const auto result = bulkdebt::run(session, request, progress);
    if (!result)
        return cli::ExitFailed;
    cli::printOut(QStringLiteral("%1 %2\n").arg(result->debts).arg(result->integrationRows));
    return cli::ExitOk;
}
