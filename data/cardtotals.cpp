#include "data/cardtotals.h"

#include "data/koopdata.h"

namespace data {

CardTotals::CardTotals(Database &db, TableCursor &carkart, Messages &messages)
    : m_db(db), m_carkart(carkart), m_messages(messages) {}

bool CardTotals::add(const QString &kod, bool debit, Money amount, bool *overflow) {
    *overflow = false;
    auto found = m_buckets.find(kod);
    if (found == m_buckets.end()) {
        if (!m_held) {
            m_db.beforeReading(m_carkart.tableName(), [this] { handOver(); });
            m_held = true;
        }
        // These reads need no totals stored: they are here.
        m_reading = true;
        // Debts are posted card after card in code order: the cards that
        // follow are read with this one, one round trip for many.
        QueryCursor next;
        if (QueryOpen(m_db, next,
                      QStringLiteral("SELECT kod, id, borc1, alacak1 FROM carkart WHERE kod "
                                     ">= ? ORDER BY kod, id LIMIT 64"),
                      {kod}, m_messages)) {
            do
                m_buckets.try_emplace(next.text(0), Bucket{next.number(1), next.money(2).units(),
                                                           next.money(3).units(), false});
            while (next.moveNext());
        }
        next.finish();
        found = m_buckets.find(kod);
        if (found == m_buckets.end()) {
            // A code the cards do not hold as it was typed: as the seek finds it.
            std::optional<Bucket> b;
            if (findMember(m_carkart, kod)) {
                const auto units = [&](const char *field) {
                    return toMoney(FieldGet(m_carkart, QString::fromLatin1(field))).units();
                };
                b = Bucket{m_carkart.currentId(), units("borc1"), units("alacak1"), false};
            }
            found = m_buckets.emplace(kod, b).first;
        }
        m_reading = false;
    }
    if (!found->second)
        return false;
    Bucket &b = *found->second;
    int64_t &total = debit ? b.debit : b.credit;
    int64_t sum = 0;
    if (__builtin_add_overflow(total, amount.units(), &sum)) {
        *overflow = true;
        return false;
    }
    total = sum;
    b.changed = true;
    return true;
}

void CardTotals::handOver() {
    if (m_reading)
        return;
    static const QStringList totals{QStringLiteral("borc1"), QStringLiteral("alacak1")};
    for (const auto &[kod, b] : m_buckets)
        if (b && b->changed)
            m_db.holdUpdate(m_carkart.tableName(), b->card, totals,
                            {StoredValue::of(b->debit), StoredValue::of(b->credit)});
    // Whoever reads or writes the cards now may change them: read them afresh.
    m_buckets.clear();
}

void CardTotals::clear() {
    m_buckets.clear();
    m_held = false;
}

} // namespace data
