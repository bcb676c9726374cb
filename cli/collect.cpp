#include "cli/collect.h"

#include "actions/collection/collectionaction.h"
#include "actions/statement/statementaction.h"
#include "base/daynumber.h"
#include "core/companyfolder.h"
#include "data/koopdata.h"
#include "printing/printcontext.h"

int runCollect(const cli::Call &call) {
    Messages &messages = call.messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QString kod = call.arguments[1];
    const QString amountText = call.arguments[2];
    const auto amount = parseTypedAmount(amountText, session.tlonda);
    if (!amount || *amount <= Money()) {
        messages.warning(QStringLiteral("Tutar sıfırdan büyük, en çok ") + Money::maxEntryText() +
                         QStringLiteral(" bir sayı olmalı (en çok ") +
                         QString::number(session.tlonda) +
                         QStringLiteral(" ondalık, nokta ile): ") + amountText);
        return cli::ExitFailed;
    }
    // As the description field takes it.
    const QString description =
        call.value(QStringLiteral("aciklama")).left(collection::DescriptionLength);

    const collection::Opening opening = collection::openCollection(session);
    // The balance the statement would hand over: the member's final balance
    // up to the collection date, before this collection.
    Money balance;
    const auto member = data::readMember(session.carkart, kod);
    if (member) {
        const auto settings = data::readSettings(session.ayar);
        const auto st = statement::compute(session, kod, opening.date,
                                           settings ? settings->faiz : 0.0, member->asd);
        if (st)
            balance = st->finalBalance;
    } else if (const QString why = data::failureText(session.data.failure()); !why.isEmpty()) {
        // A card that cannot be read is not a card that is missing.
        messages.warning(QStringLiteral("Üye kartı okunamadı: ") + kod + u'\n' + why);
        return cli::ExitFailed;
    } else {
        messages.warning(QStringLiteral("Bu kodla bir üye kartı yok: ") + kod +
                         QStringLiteral("\nYalnız kasa kaydı yazılır; cari hesap ve "
                                        "entegrasyon kaydı yazılmaz."));
    }
    const QString name = member ? member->isim1 : QString();
    const auto result = collection::collect(session, opening, kod, name, *amount, description);
    if (!result.committed)
        return cli::ExitFailed;
    cli::printOut(QString::number(result.receiptNo) + u'\n' + result.refer + u'\n');

    const int stored = result.dayTotalPending ? cli::ExitDayTotalPending : cli::ExitOk;
    const QString pdf = call.value(QStringLiteral("pdf"));
    if (pdf.isEmpty())
        return stored;
    const collection::ReceiptValues receipt =
        collection::receiptValues(session, {.receiptNo = QString::number(result.receiptNo),
                                            .date = formatTrDate(opening.date),
                                            .kod = kod,
                                            .name = name,
                                            .description = description,
                                            .amountText = formatAmount(*amount, session.tlonda),
                                            .amount = *amount,
                                            .balance = balance});
    // The collection is stored; a receipt that cannot be written is reported
    // but takes nothing back.
    printing::PrintContext print(session);
    print.pdfFile = pdf;
    if (!collection::printReceipt(print, collection::receiptHeader(session), receipt))
        return cli::ExitReceiptNotPrinted;
    return stored;
}
