#include "posting/voidcollection.h"

#include "base/ledger.h"
#include "data/cashbox.h"
#include "data/ledger.h"
#include "posting/posting.h"

namespace posting {

QString voidDescription(const QString &receiptNo) {
    return receiptNo + QStringLiteral(" Nolu Makbuz İptali");
}

QString postVoid(UnitOfWork &work, const CollectionVoid &v) {
    Company &s = work.company();
    const data::StoredCollection &c = v.collection;
    const QString refer = work.reference(1);
    if (refer.isEmpty() || work.over())
        return {};
    const QString ack = voidDescription(c.evrak);
    if (!writeCashRow(work, {c.carkod, c.evrak, QStringLiteral("İPTAL ") + c.ack, c.tutar, c.kasa,
                             v.date, refer, true}))
        return {};
    for (const data::CollectedRow &row : c.ledger) {
        data::LedgerRow debit{row.kod,   v.date,   ledger::Collection, c.evrak, ledger::Debit,
                              row.tutar, ack,      row.kod1,           Money(), refer,
                              c.kasa,    row.refer};
        if (!data::writeLedgerRow(s.carhar, debit)) {
            data::tellNotStored(s.data, s.messages, QStringLiteral("Cari Hesap Yazılamıyor."));
            return {};
        }
    }
    // Field by field in the cash desk's order, whatever the account code
    // holds: each row the collection wrote is taken back exactly.
    for (const data::CollectedEntry &e : c.integration) {
        const std::pair<const char *, QVariant> fields[] = {
            {"refer", refer},
            {"enttar", v.date},
            {"tarih", v.date},
            {"yer", e.yer},
            {"muhkod", e.muhkod},
            {"ba", e.ba.trimmed().compare(u"A", Qt::CaseInsensitive) == 0 ? QStringLiteral("B")
                                                                          : QStringLiteral("A")},
            {"ack", (c.evrak + QStringLiteral(" Mkb. İptali")).left(35)},
            {"tutar", QVariant::fromValue(e.tutar)},
            {"mik", e.mik}};
        bool stored = data::RsAddNew(s.ent);
        for (const auto &[field, value] : fields)
            data::FieldSet(s.ent, QString::fromLatin1(field), value);
        if (!stored || !data::RsUpdate(s.ent)) {
            data::tellNotStored(s.data, s.messages, QStringLiteral("Entegrasyon Yapılamadı"),
                                Messages::Icon::Information);
            return {};
        }
    }
    if (!c.byHead)
        work.addToDayTotal(s.companyFile(cashbox::fileName(QString::number(c.kasa))), v.date,
                           -c.tutar, refer);
    if (!data::recordVoidedReceipt(s.koop, {c.evrak.toInt(), v.date, c.carkod, c.tarih, c.tutar,
                                            v.reason, c.refer, refer})) {
        data::tellNotStored(s.koop, s.messages,
                            QStringLiteral("İptal edilen makbuzlar listesine yazılamadı."));
        return {};
    }
    return refer;
}

} // namespace posting
