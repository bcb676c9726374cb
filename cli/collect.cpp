#include "cli/collect.h"

#include "cli/company.h"
#include "data/koopdata.h"
#include "screens/collection/collectionaction.h"
#include "screens/statement/statementaction.h"
#include "startup/base/daynumber.h"
#include "startup/companyfolder.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace {

// AMOUNT as the amount field takes it: "." as point, at most tlonda
// decimals. Nothing for text that is no such number.
std::optional<Money> parseAmount(const QString &text, int tlonda) {
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0 && text.size() - point - 1 > tlonda)
        return std::nullopt;
    return Money::parse(text);
}

} // namespace

int runCollect(const QStringList &args, Messages &messages) {
    QStringList positional;
    QString description = collection::defaultDescription(), pdf;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--aciklama" && i + 1 < args.size()) {
            description = args[++i];
        } else if (a == u"--pdf" && i + 1 < args.size()) {
            pdf = args[++i];
        } else if (a.startsWith(u"--")) {
            messages.warning(QStringLiteral("Bilinmeyen seçenek: ") + a);
            return 2;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 3) {
        messages.warning(QStringLiteral("Kullanım: koop-cli collect KLASÖR KOD TUTAR "
                                        "[--aciklama METİN] [--pdf DOSYA]"));
        return 2;
    }
    Session session(messages);
    if (!startup::openCompanyFolder(session, positional[0]))
        return 1;
    const QString kod = positional[1];
    const auto amount = parseAmount(positional[2], session.tlonda);
    if (!amount || *amount <= Money()) {
        messages.warning(QStringLiteral("Tutar sıfırdan büyük bir sayı olmalı (en çok ") +
                         QString::number(session.tlonda) +
                         QStringLiteral(" ondalık, nokta ile): ") + positional[2]);
        return 1;
    }
    description = description.left(collection::DescriptionLength);

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
    } else {
        messages.warning(QStringLiteral("Bu kodla bir üye kartı yok: ") + kod +
                         QStringLiteral("\nYalnız kasa kaydı yazılır; cari hesap ve "
                                        "entegrasyon kaydı yazılmaz."));
    }
    const QString name = member ? member->isim1 : QString();
    const auto result = collection::collect(session, opening, kod, name, *amount, description);
    if (!result.committed)
        return 1;
    const QByteArray out =
        (QString::number(opening.receiptNo) + u'\n' + result.refer + u'\n').toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);

    if (!pdf.isEmpty()) {
        const collection::ReceiptValues v =
            collection::receiptValues(session, {.receiptNo = QString::number(opening.receiptNo),
                                                .date = formatTrDate(opening.date),
                                                .kod = kod,
                                                .name = name,
                                                .description = description,
                                                .amountText = formatAmount(*amount, session.tlonda),
                                                .amount = *amount,
                                                .balance = balance});
        // The collection is stored; a receipt that cannot be written is
        // reported but takes nothing back.
        if (!collection::printReceipt(session, collection::receiptHeader(session), v, pdf))
            return 3;
    }
    return 0;
}

namespace cli {

std::unique_ptr<QCoreApplication> makeCollectApplication(int &argc, char **argv) {
    if (argc < 2 || std::strcmp(argv[1], "collect") != 0)
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace cli
