#include "posting/cashcollection.h"

#include "core/unitofwork.h"
#include "data/cashbox.h"
#include "data/koopdata.h"
#include "posting/posting.h"

namespace posting {

CashCollectionResult postCashCollection(UnitOfWork &work, const CashCollection &c) {
    CashCollectionResult result;
    if (c.amount <= Money())
        return result;
    Company &s = work.company();

    const QString refer = work.reference(1);
    qint32 receiptNo = c.receiptNo;
    if (c.settingsExist) {
        // Read under the lock: what other desks issued is all there.
        if (const auto settings = data::readSettings(s.ayar))
            receiptNo = std::max(receiptNo, data::lastReceiptNumber(*settings, s.genel) + 1);
    }
    const QString receipt = QString::number(receiptNo);
    const QString dayFile = s.companyFile(cashbox::fileName(QString::number(c.cashBox)));

    if (writeCashRow(work, {c.kod, receipt, c.name, c.amount, c.cashBox, c.date, refer}) &&
        data::findMember(s.carkart, c.kod)) {
        const QString muhasebe = data::FieldGet(s.carkart, QStringLiteral("muhasebe")).toString();
        // A ledger row the table turns down is passed over, as the desk always
        // has; one the engine failed has ended the action, which says so.
        (void)PostCollection(work, refer, c.kod, c.date, receipt, c.amount, c.description,
                             QString(), c.cashBox);
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
                data::tellNotStored(s.data, s.messages, QStringLiteral("Entegrasyon Yapılamadı"),
                                    Messages::Icon::Information);
        };
        entRow(muhasebe, "A", receipt + QStringLiteral(" Mkb. ile Tahsilat"));
        entRow(cashbox::accountCode(dayFile), "B",
               (c.description + QStringLiteral(" Mkb. ile Tahsilat ") + c.name).left(35));
    }

    bool receiptStored = true;
    if (c.settingsExist) {
        receiptStored = data::setNamedValue(s.genel, s.messages, data::receiptCounterName(),
                                            QString(), false, receiptNo);
        if (!data::storeReceiptNumber(s.ayar, receiptNo)) {
            receiptStored = false;
            data::tellNotStored(s.koop, s.messages, QStringLiteral("Makbuz No Kaydedilemedi."));
        }
    }

    // The day total moves exactly when the rows are stored.
    work.addToDayTotal(dayFile, c.date, c.amount, refer);
    result.committed = true;
    result.refer = refer;
    result.receiptNo = receiptNo;
    result.receiptStored = receiptStored;
    return result;
}

CashCollectionResult postCashCollection(Company &company, const CashCollection &c) {
    // Nothing to post takes no lock.
    if (c.amount <= Money())
        return {};
    UnitOfWork work(company);
    if (!work.active())
        return {};
    CashCollectionResult result = postCashCollection(work, c);
    result.committed = work.commit();
    result.dayTotalPending = work.dayTotalsPending();
    // The number is safe beside the rows in any case; the settings row
    // catches up with the next collection.
    if (result.committed && result.receiptStored && !work.settingsStored())
        company.messages.warning(data::failureText(work.settingsFailure()) + u'\n' +
                                 QStringLiteral("Makbuz No Kaydedilemedi."));
    return result;
}

} // namespace posting
