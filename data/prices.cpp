#include "data/prices.h"

namespace data {

namespace {

const QString &priceField(size_t head) {
    static const QString fields[] = {QStringLiteral("fiat1"), QStringLiteral("fiat2"),
                                     QStringLiteral("fiat3"), QStringLiteral("fiat4"),
                                     QStringLiteral("fiat5")};
    return fields[head];
}

} // namespace

bool readPrices(Database &koop, QHash<QString, HeadPrices> *out, Messages &messages) {
    out->clear();
    QueryCursor q;
    if (!QueryOpen(koop, q,
                   QStringLiteral("SELECT cari, fiat1, fiat2, fiat3, fiat4, fiat5 FROM fiat"), {},
                   messages))
        return !q.failed();
    do {
        HeadPrices &prices = (*out)[q.text(0)];
        for (size_t head = 0; head < prices.size(); ++head)
            prices[head] = q.money(int(head) + 1);
    } while (q.moveNext());
    return true;
}

bool storePrices(TableCursor &fiat, const QString &kod, const HeadPrices &prices) {
    if (kod.size() > PriceCodeLength || !isValidUtf16(kod))
        return false;
    const QString index = QStringLiteral("cari");
    if (!(RsSeek(fiat, index, kod) ? RsEdit(fiat) : RsAddNew(fiat)))
        return false;
    FieldSet(fiat, index, kod);
    for (size_t head = 0; head < prices.size(); ++head)
        FieldSet(fiat, priceField(head), QVariant::fromValue(prices[head]));
    return RsUpdate(fiat);
}

} // namespace data
