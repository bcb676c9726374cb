#include "cli/transfer.h"

#include "actions/transfer/transferaction.h"
#include "base/daynumber.h"
#include "core/companyfolder.h"

bool isTransferKind(const QString &value) {
    return transfer::kindNamed(value).has_value();
}

bool isOnDuplicate(const QString &value) {
    return value == u"stop" || value == u"skip" || value == u"update";
}

bool isTransferFormat(const QString &value) {
    return value == u"csv" || value == u"xlsx";
}

bool isDecimalMark(const QString &value) {
    return value == u"," || value == u".";
}

bool isHeadingName(const QString &value) {
    return !value.trimmed().isEmpty();
}

int runImport(const cli::Call &call) {
    const auto kind = transfer::kindNamed(call.arguments[1]);
    if (!kind)
        return call.wrongCommandLine();
    transfer::ImportRequest request;
    request.kind = *kind;
    request.path = call.arguments[2];
    request.sheet = call.value(QStringLiteral("sheet"));
    request.dryRun = call.isSet(QStringLiteral("dry-run"));
    if (call.isSet(QStringLiteral("decimal")))
        request.decimal = call.value(QStringLiteral("decimal")).front();
    request.ignoreColumns = call.values(QStringLiteral("ignore-column"));
    request.ignoreUnknownColumns = call.isSet(QStringLiteral("ignore-unknown-columns"));
    const QString duplicate = call.value(QStringLiteral("on-duplicate"));
    request.onDuplicate = duplicate == u"skip"     ? transfer::OnDuplicate::Skip
                          : duplicate == u"update" ? transfer::OnDuplicate::Update
                                                   : transfer::OnDuplicate::Stop;
    if (*kind == transfer::Kind::Balances) {
        // An opening balance is added to the ledger, never written over it.
        if (request.onDuplicate == transfer::OnDuplicate::Update) {
            call.messages.warning(
                QStringLiteral("Açılış bakiyeleri güncellenemez: --on-duplicate skip ya da stop."));
            return cli::ExitWrongCommandLine;
        }
        request.date = parseTrDate(call.value(QStringLiteral("date")));
        if (!request.date.isValid())
            return call.wrongCommandLine();
    }

    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    cli::ProgressLine line;
    if (line.shown())
        request.progress = [&line](int done, int count) {
            line.show(QStringLiteral("%1/%2 satır yazılıyor").arg(done).arg(count), done == count);
        };
    const auto report = transfer::importFile(session, request);
    if (!report)
        return cli::ExitFailed;
    cli::printOut(QStringLiteral("Okunan: ") + report->source + u'\n');
    if (!report->faults.isEmpty()) {
        cli::printErr(report->faults.join(u'\n') + u'\n');
        call.messages.warning(transfer::summary(*report, request.dryRun));
        return cli::ExitFailed;
    }
    if (request.dryRun && !report->plan.isEmpty())
        cli::printOut(report->plan.join(u'\n') + u'\n');
    cli::printOut(transfer::summary(*report, request.dryRun) + u'\n');
    return cli::ExitOk;
}

int runExport(const cli::Call &call) {
    const auto kind = transfer::kindNamed(call.arguments[1]);
    if (!kind || !call.isSet(QStringLiteral("out")))
        return call.wrongCommandLine();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QString path = call.value(QStringLiteral("out"));
    int rows = 0;
    const auto format = call.value(QStringLiteral("format")) == u"xlsx" ? transfer::Format::Xlsx
                                                                        : transfer::Format::Csv;
    if (!transfer::exportFile(session, *kind, format, path, &rows))
        return cli::ExitFailed;
    cli::printOut(QStringLiteral("%1 satır yazıldı: %2\n").arg(rows).arg(path));
    return cli::ExitOk;
}
