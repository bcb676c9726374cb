#include "posting/posting.h"

#include "data/koopdata.h"

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

bool PostDebt(Session &s, const QString &refer, bool credit, const QString &kod, Money amount,
              const QString &ack, int islem, const QString &kod1, const QDate &date) {
    if (amount < Money() || !data::RsAddNew(s.carhar)) {
        s.messages.warning(QStringLiteral("Cari Hesap Yazılamıyor."));
        return false;
    }
    set(s.carhar, "kod", kod);
    set(s.carhar, "tarih", date);
    set(s.carhar, "islem", islem & 0xff);
    set(s.carhar, "evrak", QString());
    set(s.carhar, "vade", date);
    set(s.carhar, "ba", credit ? 1 : 0);
    const QString side = credit ? QStringLiteral("A") : QStringLiteral("B");

    bool overflow = false;
    data::updateBalanceBucket(s.carkart, kod, 0, Money(), Money(), side, amount, &overflow);
    if (overflow) {
        // The card's totals cannot hold the amount: neither is written.
        data::RsCancelUpdate(s.carhar);
        s.messages.warning(QStringLiteral("Cari Hesap Yazılamıyor."));
        return false;
    }

    set(s.carhar, "tutar", money(amount));
    set(s.carhar, "ack", ack);
    set(s.carhar, "pls", QString());
    set(s.carhar, "dtip", 0);
    set(s.carhar, "kod1", kod1);
    set(s.carhar, "doviz", amount.toDouble());
    set(s.carhar, "kur", 0);
    set(s.carhar, "kapanan", 0);
    set(s.carhar, "puan", 0);
    set(s.carhar, "refer", refer);
    set(s.carhar, "krefer", QString());
    set(s.carhar, "sube", 0);
    set(s.carhar, "para", 0);
    set(s.carhar, "kasa", 0);
    if (data::RsUpdate(s.carhar))
        return true;
    s.messages.warning(QStringLiteral("Cari Hesap Yazılamıyor."));
    return false;
}

bool PostCollection(Session &s, const QString &refer, const QString &kod, const QDate &date,
                    const QString &evrak, Money amount, const QString &ack, const QString &kod1,
                    int kasa) {
    if (amount < Money() || !data::RsAddNew(s.carhar))
        return false;
    set(s.carhar, "refer", refer);
    set(s.carhar, "kod", kod);
    set(s.carhar, "tarih", date);
    set(s.carhar, "islem", IslemCollection);
    set(s.carhar, "evrak", evrak);
    set(s.carhar, "vade", date);
    set(s.carhar, "ba", 1);
    set(s.carhar, "tutar", money(amount));
    set(s.carhar, "ack", ack);
    set(s.carhar, "pls", QString());
    set(s.carhar, "kod1", kod1);
    set(s.carhar, "dtip", 0);
    set(s.carhar, "doviz", 0);
    set(s.carhar, "kur", 0);
    set(s.carhar, "kapanan", 0);
    set(s.carhar, "puan", 0);
    set(s.carhar, "krefer", QString());
    set(s.carhar, "sube", 0);
    set(s.carhar, "para", 0);
    set(s.carhar, "kasa", kasa);
    return data::RsUpdate(s.carhar);
}

bool writeCashRow(Session &s, const CashRow &row) {
    bool ok = row.tutar >= Money() && data::RsAddNew(s.kasa);
    if (ok) {
        set(s.kasa, "carkod", row.carkod);
        set(s.kasa, "evrak", row.evrak);
        set(s.kasa, "ack", cashDescription(row.ack));
        set(s.kasa, "pls", QString());
        set(s.kasa, "kod1", QString());
        set(s.kasa, "ba", 0);
        set(s.kasa, "tutar", money(row.tutar));
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
        s.messages.show(Messages::Icon::Question, Messages::korvane(),
                        QStringLiteral("Kasa Kayıtları İşlenemedi"));
    return ok;
}

} // namespace posting
