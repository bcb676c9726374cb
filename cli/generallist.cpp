#include "cli/generallist.h"

#include "actions/generallist/generallistprint.h"
#include "base/daynumber.h"
#include "base/xlsxexport.h"
#include "core/companyfolder.h"
#include "printing/prnx.h"

#include <QFile>

namespace {

bool writeSpreadsheet(const QString &path, const generallist::List &list, const QString &date,
                      const QString &unvan, int tlonda, bool aging, Messages &messages) {
    xlsx::Sheet sheet;
    sheet.titles = {QString::fromUtf16(aging ? generallist::AgingTitle : generallist::PrintTitle),
                    date, unvan, QString()};
    const QStringList captions =
        generallist::captions().mid(0, aging ? -1 : generallist::Kalan + 1);
    for (int c = 0; c < captions.size(); ++c)
        sheet.columns.push_back(
            {c < 2 ? u'A' : u'N', captions[c], c < 2 ? 0 : tlonda, c < 2 ? 0 : 3});
    const auto amounts = [&](const generallist::Figures &f) {
        QStringList out = generallist::plainAmounts(f, tlonda);
        if (aging)
            out += generallist::ageAmounts(f, tlonda, false);
        return out;
    };
    std::vector<QStringList> cells;
    cells.reserve(list.rows.size() + 1);
    for (const generallist::Row &r : list.rows)
        cells.push_back(QStringList{r.kod, r.isim} + amounts(r.figures));
    cells.push_back(QStringList{QString(), QString::fromUtf16(generallist::TotalCaption)} +
                    amounts(list.toplam));
    sheet.rowCount = int(cells.size());
    sheet.cell = [&](int row, int col) -> QVariant { return cells[size_t(row)][col]; };
    QString error;
    if (xlsx::write(path, sheet, &error))
        return true;
    messages.warning(QStringLiteral("Dosya yazılamadı: ") + path + u'\n' + error);
    return false;
}

} // namespace

bool isListFormat(const QString &v) {
    return v == u"text" || v == u"csv" || v == u"json" || v == u"xlsx";
}

int runGeneralList(const cli::Call &call) {
    const QString dateText = call.value(QStringLiteral("date"));
    const QString format = call.value(QStringLiteral("format"));
    const QString out = call.value(QStringLiteral("out"));
    const bool printing = call.isSet(QStringLiteral("print"));
    const bool aging = call.isSet(QStringLiteral("aging"));
    if (dateText.isEmpty() || (format == u"xlsx" && out.isEmpty()) ||
        (!printing && (call.isSet(QStringLiteral("mode")) || call.isSet(QStringLiteral("rules")))))
        return call.wrongCommandLine();

    Messages &messages = call.messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QDate baseDate = parseTrDate(dateText);
    if (!baseDate.isValid()) {
        messages.warning(QStringLiteral("Hatalı İşlem Tarihi..."));
        return cli::ExitFailed;
    }
    // Without codes, every card, as the screen presets them.
    const generallist::Opening opening = generallist::open(session);
    const QString from =
        call.isSet(QStringLiteral("from")) ? call.value(QStringLiteral("from")) : opening.firstCode;
    const QString to =
        call.isSet(QStringLiteral("to")) ? call.value(QStringLiteral("to")) : opening.lastCode;

    cli::ProgressLine line;
    generallist::ProgressFn progress;
    if (line.shown())
        progress = [&line](const generallist::Progress &p) {
            line.show(QStringLiteral("%1/%2  %3").arg(p.done).arg(p.count).arg(p.kod),
                      p.done == p.count);
        };
    const auto list = generallist::build(session, from, to, baseDate, opening.faiz, progress);
    if (!list)
        return cli::ExitFailed;

    const QString unvan = generallist::cooperativeName(session);
    const int tl = session.tlonda;
    if (printing) {
        printing::PrintContext context(session);
        (aging ? generallist::presetAgingPrinter : generallist::presetPrinter)(context.settings);
        context.printTo(call.dotMatrix(context.settings.dotMatrix),
                        call.value(QStringLiteral("print")));
        prnx printer(context);
        if (!generallist::printList(printer, *list, {dateText, unvan},
                                    call.isSet(QStringLiteral("rules")), tl, aging))
            return cli::ExitFailed;
    }
    bool written = false;
    if (format == u"xlsx")
        written = writeSpreadsheet(out, *list, dateText, unvan, tl, aging, messages);
    else if (format == u"csv")
        written = cli::writeOut(out, generallist::asCsv(*list, tl, aging), messages);
    else if (format == u"json")
        written = cli::writeOut(out, generallist::asJson(*list, baseDate, tl, aging), messages);
    else
        written =
            cli::writeOut(out, generallist::asText(*list, baseDate, unvan, tl, aging), messages);
    return written ? cli::ExitOk : cli::ExitFailed;
}
