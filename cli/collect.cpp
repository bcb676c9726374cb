#include "cli/collect.h"

#include "actions/collection/collectionaction.h"
#include "core/companyfolder.h"
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
    // The desk opens as the statement hands it over: the member's final
    // balance up to the collection date, before this collection.
    collection::Desk desk(session, kod);
    if (!desk.cardUnreadable().isEmpty()) {
        messages.warning(QStringLiteral("Üye kartı okunamadı: ") + kod + u'\n' +
                         desk.cardUnreadable());
        return cli::ExitFailed;
    }
    if (!desk.card())
        messages.warning(QStringLiteral("Bu kodla bir üye kartı yok: ") + kod +
                         QStringLiteral("\nYalnız kasa kaydı yazılır; cari hesap ve "
                                        "entegrasyon kaydı yazılmaz."));
    // As the description field takes it.
    const QString description =
        call.value(QStringLiteral("aciklama")).left(collection::DescriptionLength);
    const auto result = desk.take(*amount, description);
    if (!result.committed)
        return cli::ExitFailed;
    cli::printOut(QString::number(result.receiptNo) + u'\n' + result.refer + u'\n');

    const int stored = result.dayTotalPending ? cli::ExitDayTotalPending : cli::ExitOk;
    const QString pdf = call.value(QStringLiteral("pdf"));
    if (pdf.isEmpty())
        return stored;
    // The collection is stored; a receipt that cannot be written is reported
    // but takes nothing back.
    printing::PrintContext print(session);
    print.pdfFile = pdf;
    if (!desk.print(print, desk.receipt()))
        return cli::ExitReceiptNotPrinted;
    return stored;
}
