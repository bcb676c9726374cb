#include "cli/headcollect.h"

#include "actions/headcollection/headcollectionaction.h"
#include "core/companyfolder.h"
#include "printing/printcontext.h"

int runHeadBalances(const cli::Call &call) {
    if (!call.isSet(QStringLiteral("date")))
        return call.wrongCommandLine();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const auto m = headcollection::memberHeads(session, call.arguments[1],
                                               parseTrDate(call.value(QStringLiteral("date"))));
    if (!m)
        return cli::ExitFailed;
    cli::printOut(call.value(QStringLiteral("format")) == u"json"
                      ? headcollection::asJson(*m, session.tlonda)
                      : headcollection::asText(*m, session.tlonda));
    return cli::ExitOk;
}

int runCollectHeads(const cli::Call &call) {
    if (!call.isSet(QStringLiteral("date")) || !call.isSet(QStringLiteral("amounts")))
        return call.wrongCommandLine();
    Messages &messages = call.messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QString amountText = call.value(QStringLiteral("amounts"));
    const auto amounts =
        cli::headAmounts(amountText, session.tlonda, headcollection::AmountMax, true);
    if (!amounts) {
        messages.warning(
            QStringLiteral("--amounts virgülle ayrılmış beş tutar ister (ör. 50,0,0,25,0): her "
                           "biri 0 ile 9999999999 arasında, en çok ") +
            QString::number(session.tlonda) + QStringLiteral(" ondalık, nokta ile: ") + amountText);
        return cli::ExitFailed;
    }
    if (headcollection::total(*amounts) <= Money()) {
        messages.warning(QStringLiteral("Tahsilat toplamı sıfırdan büyük olmalı."));
        return cli::ExitFailed;
    }
    const auto m = headcollection::memberHeads(session, call.arguments[1],
                                               parseTrDate(call.value(QStringLiteral("date"))));
    if (!m)
        return cli::ExitFailed;
    headcollection::warnOverCollection(messages, m->opening.captions, m->balances, *amounts);
    const headcollection::Collection c{.kod = m->member.kod,
                                       .name = m->member.isim1,
                                       .date = m->date,
                                       .receiptNo = m->opening.receiptNo,
                                       .captions = m->opening.captions,
                                       .amounts = *amounts};
    const Money before = headcollection::balanceBefore(session, c);
    if (!headcollection::post(session, c))
        return cli::ExitFailed;
    cli::printOut(QString::number(c.receiptNo) + u'\n');

    const QString pdf = call.value(QStringLiteral("pdf"));
    if (pdf.isEmpty())
        return cli::ExitOk;
    // The collection is stored; a receipt that cannot be written takes
    // nothing back.
    printing::PrintContext context(session);
    context.pdfFile = pdf;
    return headcollection::printReceipt(context, c, before) ? cli::ExitOk
                                                            : cli::ExitReceiptNotPrinted;
}
