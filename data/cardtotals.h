#pragma once

#include "base/messages.h"
#include "base/money.h"
#include "data/xbase.h"

#include <QString>
#include <map>
#include <optional>

namespace data {

// The balance totals (bucket 0) of the member cards one writing action
// moves. A card's totals are read at its first posting, summed in memory and
// handed to the database's held changes once, before anything reads the
// cards and before the commit: a run of thousands of debts then changes
// each card once.
class CardTotals {
  public:
    // The cursor over carkart in `db`, and where a failed read-ahead says so.
    CardTotals(Database &db, TableCursor &carkart, Messages &messages);
    CardTotals(const CardTotals &) = delete;
    CardTotals &operator=(const CardTotals &) = delete;

    // Moves the debit total when `debit`, else the credit total. False when
    // there is no card, or when the total would leave the range of an
    // amount (*overflow set, nothing added).
    [[nodiscard]] bool add(const QString &kod, bool debit, Money amount, bool *overflow);
    // Forgets what was summed; the action that held it has ended.
    void clear();

  private:
    struct Bucket {
        qint64 card = 0; // the card's id
        int64_t debit = 0, credit = 0;
        bool changed = false;
    };
    void handOver();

    Database &m_db;
    TableCursor &m_carkart;
    Messages &m_messages;
    std::map<QString, std::optional<Bucket>> m_buckets; // nothing: no card
    bool m_held = false;
    bool m_reading = false;
};

} // namespace data
