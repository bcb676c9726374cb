#include "posting/posting.h"

#include "core/unitofwork.h"
#include "data/koopdata.h"
#include "data/ledger.h"

namespace posting {

namespace {

void set(data::TableCursor &c, const char *field, const QVariant &v) {
    data::FieldSet(c, QString::fromLatin1(field), v);
}

QVariant money(Money m) {
    return QVariant::fromValue(m);
}

} // namespace

QString cashDescription(const QString &text) {
    QString out = text.left(35);
    while (!out.isEmpty() && out.back().isSpace())
        out.chop(1);
    return out;
}

bool PostDebt(UnitOfWork &work, const QString &refer, bool credit, const QString &kod, Money amount,
              const QString &ack, int islem, const QString &kod1, const QDate &date) {
    Company &s = work.company();
    const auto say = [&s] {
        data::tellNotStored(s.data, s.messages, QStringLiteral("Cari Hesap Yazılamıyor."));
    };
    const auto refuse = [&] {
        (void)s.data.send(); // rows held back say their word first; a failure ends the action
        say();
        return false;
    };
    // Beyond one entry's limit the ledger could no longer add its rows up.
    if (amount < Money() || amount > Money::maxEntry())
        return refuse();
    const int ba = credit ? ledger::Credit : ledger::Debit;
    // A card that is not there moves no totals; the row is still written.
    bool overflow = false;
    (void)work.addToBucket(kod, !credit, amount, &overflow);
    // The card's totals cannot hold the amount: neither is written.
    if (overflow)
        return refuse();
    // Inside an action on a server the row may go with the next ones; a
    // refusal then says the same, in its turn.
    const data::BatchedRows later(s.carhar, say);
    if (!data::writeLedgerRow(s.carhar, {kod, date, islem, QString(), ba, amount, ack, kod1, amount,
                                         refer, 0, QString()}))
        return refuse();
    return true;
}

bool PostCollection(UnitOfWork &work, const QString &refer, const QString &kod, const QDate &date,
                    const QString &evrak, Money amount, const QString &ack, const QString &kod1,
                    int kasa) {
    return data::writeLedgerRow(work.company().carhar,
                                {kod, date, ledger::Collection, evrak, ledger::Credit, amount, ack,
                                 kod1, Money(), refer, kasa, QString()});
}

bool writeCashRow(UnitOfWork &work, const CashRow &row) {
    Company &s = work.company();
    bool ok = row.tutar >= Money() && row.tutar <= Money::maxEntry() && data::RsAddNew(s.kasa);
    if (ok) {
        set(s.kasa, "carkod", row.carkod);
        set(s.kasa, "evrak", row.evrak);
        set(s.kasa, "ack", cashDescription(row.ack));
        set(s.kasa, "pls", QString());
        set(s.kasa, "kod1", QString());
        set(s.kasa, "ba", 0);
        set(s.kasa, "tutar", money(row.reversal ? -row.tutar : row.tutar));
        set(s.kasa, "kasa", row.kasa);
        set(s.kasa, "tarih", row.tarih);
        set(s.kasa, "sube", 0);
        set(s.kasa, "kur", 0);
        set(s.kasa, "doviz", 0);
        set(s.kasa, "dtip", 0);
        set(s.kasa, "refer", row.refer);
        ok = data::RsUpdate(s.kasa);
    }
    if (!ok)
        data::tellNotStored(s.data, s.messages, QStringLiteral("Kasa Kayıtları İşlenemedi"),
                            Messages::Icon::Question);
    return ok;
}

} // namespace posting
