#pragma once

#include "base/messages.h"
#include "base/money.h"
#include "data/xbase.h"

#include <QHash>
#include <array>

// The members' standing monthly prices, one per dues head, in `fiat` of the
// program's own database.
namespace data {

using HeadPrices = std::array<Money, 5>;

// The longest member code `fiat` can hold.
constexpr int PriceCodeLength = 8;

// Every price row, by member code. False after "Sql Rapor Yaratılamıyor".
[[nodiscard]] bool readPrices(Database &koop, QHash<QString, HeadPrices> *out, Messages &messages);

// Stores the member's five prices, adding the row when there is none. False
// when the row is not stored, also for a code longer than `fiat` holds: cut
// short it would be another member's row.
[[nodiscard]] bool storePrices(TableCursor &fiat, const QString &kod, const HeadPrices &prices);

} // namespace data
