#include "cli/printtest.h"

#include "core/companyfolder.h"
#include "printing/sampleprint.h"

int runPrintTest(const cli::Call &call) {
    const bool dotMatrix = call.value(QStringLiteral("mode")).toInt() == 2;
    const QString out = call.value(QStringLiteral("out"));
    Messages &messages = call.messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;

    printing::PrintContext context(session);
    context.settings.lineCount = 66;
    context.settings.copies = 1;
    context.settings.orientation = 1;
    context.printTo(dotMatrix, out);

    printing::SampleSummary summary;
    if (!printing::printSample(context, session.company, session.today(), &summary))
        return cli::ExitFailed;
    cli::printOut(QStringLiteral("%1 sayfa, %2 satır\n").arg(summary.pages).arg(summary.rows));
    return cli::ExitOk;
}
