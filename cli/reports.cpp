#include "cli/reports.h"

#include "actions/reports/arrears.h"
#include "actions/reports/bulkstatements.h"
#include "actions/reports/dashboard.h"
#include "base/daynumber.h"
#include "core/companyfolder.h"
#include "printing/printcontext.h"
#include "printing/prnx.h"

namespace {

// An amount typed on the command line, or nothing after the message.
std::optional<Money> amountOption(const cli::Call &call, const QString &name, int tlonda) {
    const QString text = call.value(name);
    const auto amount = parseTypedAmount(text, tlonda);
    if (!amount || *amount < Money())
        call.messages.warning(QStringLiteral("--") + name +
                              QStringLiteral(" sıfır ya da daha büyük bir tutar ister (en çok ") +
                              QString::number(tlonda) + QStringLiteral(" ondalık, nokta ile): ") +
                              text);
    else
        return amount;
    return std::nullopt;
}

bool isPdfName(const QString &path) {
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
}

} // namespace

int runStatements(const cli::Call &call) {
    const QString dateText = call.value(QStringLiteral("date"));
    const QString out = call.value(QStringLiteral("out"));
    std::optional<std::pair<QString, QString>> codes;
    if (call.isSet(QStringLiteral("codes"))) {
        codes = cli::twoEnds(call.value(QStringLiteral("codes")));
        if (!codes)
            return call.wrongCommandLine();
    }
    if (dateText.isEmpty() || out.isEmpty())
        return call.wrongCommandLine();
    Messages &messages = call.messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QDate date = parseTrDate(dateText);
    if (!date.isValid()) {
        messages.warning(QStringLiteral("Hatalı İşlem Tarihi..."));
        return cli::ExitFailed;
    }
    bulkstatements::Selection selection;
    if (codes)
        selection.codes = {codes->first, codes->second};
    selection.group = call.value(QStringLiteral("group"));
    if (call.isSet(QStringLiteral("min-balance"))) {
        selection.minBalance = amountOption(call, QStringLiteral("min-balance"), session.tlonda);
        if (!selection.minBalance)
            return cli::ExitFailed;
    }
    cli::ProgressLine line;
    bulkstatements::ProgressFn progress;
    if (line.shown())
        progress = [&line](const bulkstatements::Progress &p) {
            line.show(QStringLiteral("%1/%2  %3").arg(p.done).arg(p.count).arg(p.kod),
                      p.done == p.count);
        };
    printing::PrintContext context(session);
    const auto result =
        bulkstatements::print(session, context, selection, date, out, !isPdfName(out), progress);
    if (!result)
        return cli::ExitFailed;
    messages.done(QStringLiteral("%1 üyeden %2 ekstre yazıldı.")
                      .arg(result->members)
                      .arg(result->statements));
    return cli::ExitOk;
}

int runArrears(const cli::Call &call) {
    const QString dateText = call.value(QStringLiteral("date"));
    const QString format = call.value(QStringLiteral("format"));
    // A printer's mode only for a print.
    if (dateText.isEmpty() ||
        (call.isSet(QStringLiteral("mode")) && !call.isSet(QStringLiteral("print"))))
        return call.wrongCommandLine();
    Messages &messages = call.messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    arrears::Criteria criteria;
    criteria.date = parseTrDate(dateText);
    if (!criteria.date.isValid()) {
        messages.warning(QStringLiteral("Hatalı İşlem Tarihi..."));
        return cli::ExitFailed;
    }
    if (call.isSet(QStringLiteral("months")))
        criteria.months = int(*cli::wholeNumber(call.value(QStringLiteral("months")), 1, 600));
    if (call.isSet(QStringLiteral("min"))) {
        criteria.minimum = amountOption(call, QStringLiteral("min"), session.tlonda);
        if (!criteria.minimum)
            return cli::ExitFailed;
    }
    // Neither: owing for more than three months, as the screen opens.
    if (!criteria.months && !criteria.minimum)
        criteria.months = 3;

    cli::ProgressLine line;
    arrears::ProgressFn progress;
    if (line.shown())
        progress = [&line](const arrears::Progress &p) {
            line.show(QStringLiteral("%1/%2  %3").arg(p.done).arg(p.count).arg(p.kod),
                      p.done == p.count);
        };
    const auto list = arrears::build(session, criteria, progress);
    if (!list)
        return cli::ExitFailed;
    const QString unvan = generallist::cooperativeName(session);
    const int tl = session.tlonda;

    if (call.isSet(QStringLiteral("letters")) && list->rows.empty()) {
        messages.information(QStringLiteral("İhtar yazılacak üye yok; mektup dosyası yazılmadı."));
    } else if (call.isSet(QStringLiteral("letters"))) {
        const auto letter = arrears::letterTemplate(session);
        if (!letter)
            return cli::ExitFailed;
        printing::PrintContext context(session);
        arrears::presetLettersPrinter(context.settings);
        context.printTo(false, call.value(QStringLiteral("letters")));
        prnx printer(context);
        if (!arrears::printLetters(printer, *list, *letter, criteria, unvan, tl, session.tlnick))
            return cli::ExitFailed;
    }
    if (call.isSet(QStringLiteral("print"))) {
        printing::PrintContext context(session);
        arrears::presetPrinter(context.settings);
        context.printTo(call.dotMatrix(context.settings.dotMatrix),
                        call.value(QStringLiteral("print")));
        prnx printer(context);
        if (!arrears::printList(printer, *list, criteria, unvan, tl))
            return cli::ExitFailed;
    }
    const QString text = format == u"csv"    ? arrears::asCsv(*list, tl)
                         : format == u"json" ? arrears::asJson(*list, criteria, tl)
                                             : arrears::asText(*list, criteria, unvan, tl);
    return cli::writeOut(call.value(QStringLiteral("out")), text, messages) ? cli::ExitOk
                                                                            : cli::ExitFailed;
}

int runDashboard(const cli::Call &call) {
    const auto year = cli::wholeNumber(call.value(QStringLiteral("year")), 1900, 9999);
    const QString out = call.value(QStringLiteral("out"));
    if (!year || (!out.isEmpty() && !out.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) &&
                  !out.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)))
        return call.wrongCommandLine();
    const int month = call.isSet(QStringLiteral("month"))
                          ? int(*cli::wholeNumber(call.value(QStringLiteral("month")), 1, 12))
                          : 0;
    Messages &messages = call.messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    cli::ProgressLine line;
    dashboard::ProgressFn progress;
    if (line.shown())
        progress = [&line](const dashboard::Progress &p) {
            line.show(QStringLiteral("%1/%2").arg(p.done).arg(p.count), p.done == p.count);
        };
    const auto board = dashboard::build(session, int(*year), month, progress);
    if (!board)
        return cli::ExitFailed;
    if (!out.isEmpty() && !dashboard::write(session, *board, out))
        return cli::ExitFailed;
    // The figures too, unless only the file was asked for.
    if (out.isEmpty() || call.isSet(QStringLiteral("format")))
        cli::printOut(call.value(QStringLiteral("format")) == u"json"
                          ? dashboard::asJson(*board, session.tlonda)
                          : dashboard::asText(*board, session.tlonda));
    return cli::ExitOk;
}
