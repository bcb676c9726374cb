#include "posting/cashcollection.h"

#include "data/koopdata.h"
#include "posting/posting.h"
#include "startup/base/cashbox.h"
#include "startup/unitofwork.h"

#include <optional>

namespace posting {

CashCollectionResult postCashCollection(Session &s, const CashCollection &c) {
    CashCollectionResult result;
    if (c.amount <= Money())
        return result;
    // A collection is an action of its own, or one step of a larger one.
    std::optional<UnitOfWork> own;
    if (!s.work) {
        own.emplace(s);
        if (!own->active())
            return result;
    }
    UnitOfWork &work = *s.work;

    const QString refer = work.reference(1);
    const QString receipt = QString::number(c.receiptNo);
    const QString dayFile = s.companyFile(cashbox::fileName(QString::number(c.cashBox)));

    if (writeCashRow(s, {c.kod, receipt, c.name, c.amount, c.cashBox, c.date, refer}) &&
        data::findMember(s.carkart, c.kod)) {
        const QString muhasebe = data::FieldGet(s.carkart, QStringLiteral("muhasebe")).toString();
        PostCollection(s, refer, c.kod, c.date, receipt, c.amount, c.description, QString(),
                       c.cashBox);
        // The cash screen writes its two rows field by field in its own order;
        // neither row checks its account code.
        const auto entRow = [&](const QString &muhkod, const char *ba, const QString &ack) {
            const std::pair<const char *, QVariant> fields[] = {
                {"refer", refer},   {"enttar", c.date},
                {"tarih", c.date},  {"yer", 5},
                {"muhkod", muhkod}, {"ba", QString::fromLatin1(ba)},
                {"ack", ack},       {"tutar", QVariant::fromValue(c.amount)},
                {"mik", 0.0}};
            bool stored = data::RsAddNew(s.ent);
            for (const auto &[field, value] : fields)
                data::FieldSet(s.ent, QString::fromLatin1(field), value);
            stored = stored && data::RsUpdate(s.ent);
            if (!stored)
                s.messages.information(QStringLiteral("Entegrasyon Yapılamadı"));
        };
        entRow(muhasebe, "A", receipt + QStringLiteral(" Mkb. ile Tahsilat"));
        entRow(cashbox::accountCode(dayFile), "B",
               (c.description + QStringLiteral(" Mkb. ile Tahsilat ") + c.name).left(35));
    }

    if (c.settingsExist && !data::storeReceiptNumber(s.ayar, c.receiptNo))
        s.messages.warning(QStringLiteral("Makbuz No Kaydedilemedi."));

    // The day total moves only once the rows are safely stored.
    work.afterCommit([&s, dayFile, c] {
        if (!cashbox::addToDayTotal(dayFile, c.date, c.amount.toDouble()))
            s.messages.warning(QStringLiteral("Kasa gün toplamı yazılamadı:\n") + dayFile);
    });
    result.committed = own ? own->commit() : true;
    result.refer = refer;
    return result;
}

} // namespace posting
