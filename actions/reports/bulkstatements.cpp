#include "actions/reports/bulkstatements.h"

#include "actions/statement/statementaction.h"
#include "actions/statement/statementprint.h"
#include "base/daynumber.h"
#include "printing/printcontext.h"
#include "printing/prnx.h"
#include "printing/report.h"

#include <QDir>
#include <QSet>

namespace bulkstatements {

QString fileNameOf(const QString &kod) {
    QString name;
    for (const QChar c : kod.trimmed())
        name += c.isLetterOrNumber() || c == u'-' || c == u'.' ? c : QChar(u'_');
    if (name.isEmpty() || name.startsWith(u'.'))
        name.prepend(u'_');
    return name + QStringLiteral(".pdf");
}

std::optional<Result> print(Company &s, printing::PrintContext &context, const Selection &sel,
                            const QDate &date, const QString &out, bool perMember,
                            const ProgressFn &progress) {
    if (!date.isValid()) {
        s.messages.warning(QStringLiteral("Hatalı İşlem Tarihi..."));
        return std::nullopt;
    }
    data::CardSelection cards;
    cards.codes = sel.codes;
    if (cards.codes.first.isEmpty() || cards.codes.last.isEmpty()) {
        const auto range = data::cardCodeRange(s.data, s.messages);
        if (!range)
            return std::nullopt;
        if (cards.codes.first.isEmpty())
            cards.codes.first = range->first;
        if (cards.codes.last.isEmpty())
            cards.codes.last = range->last;
    }
    if (!sel.group.isEmpty())
        cards.groups = data::CodeRange{sel.group, sel.group};
    cards.kinds = {0};
    std::vector<data::MemberCard> members;
    if (!data::readCards(s.data, cards, &members, s.messages))
        return std::nullopt;
    Result result;
    result.members = int(members.size());

    const double faiz = statement::deskSettings(s).faiz;
    const QString unvan = statement::cooperativeName(s);
    const QString dateText = formatTrDate(date);
    statement::presetPrinter(context.settings);
    context.settings.dotMatrix = false; // a PDF
    if (perMember && !QDir().mkpath(out)) {
        s.messages.warning(QStringLiteral("Klasör yaratılamadı: ") + out);
        return std::nullopt;
    }
    const QString before = context.pdfFile;
    const QString title = QString::fromUtf16(statement::PrintTitle);

    // One job for the single PDF, opened at the first statement it takes.
    prnx printer(context);
    printing::Report report(printer, {});
    bool opened = false, failed = false;
    QSet<QString> names;
    if (progress && !members.empty())
        progress({0, result.members, members.front().kod});
    const bool read = statement::computeEach(
        s, statement::cardsOf(members), date, faiz, [&](size_t i, const surcharge::Statement &st) {
            const data::MemberCard &m = members[i];
            if (progress)
                progress({int(i) + 1, result.members, m.kod});
            if (failed || (sel.minBalance && st.finalBalance <= *sel.minBalance))
                return;
            const statement::PrintHead head{m.isim1, m.adr1, m.adr2, m.adr3, unvan, dateText};
            if (perMember) {
                // Two codes that make the same name get a number after it.
                QString name = fileNameOf(m.kod);
                for (int n = 2; names.contains(name.toLower()); ++n)
                    name = fileNameOf(m.kod).chopped(4) + QStringLiteral("-%1.pdf").arg(n);
                names.insert(name.toLower());
                context.pdfFile = QDir(out).filePath(name);
                prnx one(context);
                if (!statement::printStatement(one, st, 0, head, s.tlonda)) {
                    failed = true;
                    return;
                }
                result.files << context.pdfFile;
            } else {
                if (!opened) {
                    context.pdfFile = out;
                    if (!report.open(title)) {
                        failed = true;
                        return;
                    }
                    opened = true;
                }
                statement::printSection(report, st, head, s.tlonda);
            }
            ++result.statements;
        });
    if (opened && (!read || failed))
        printer.abandon(); // no half a run in place of the PDF
    else if (opened && !report.finish({}))
        failed = true;
    else if (opened)
        result.files << out;
    context.pdfFile = before;
    if (!read || failed)
        return std::nullopt;
    if (result.statements == 0)
        s.messages.information(QStringLiteral("Seçime uyan ekstre yok; dosya yazılmadı."));
    return result;
}

} // namespace bulkstatements
