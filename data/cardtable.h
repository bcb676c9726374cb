#pragma once

#include "base/messages.h"
#include "data/xbase.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <vector>

// The member cards as an office keeps them outside the suite: every field
// but the balance totals, which only postings move.
namespace data {

// kod, isim1, isim2, adr1, adr2, adr3, grp, tip, ozel, asd, muhasebe.
const QStringList &cardFields();
// How many characters the card's text field holds; 0 for `asd`.
int cardFieldSize(const QString &field);

// Every card's fields in cardFields() order (texts, asd a number), by
// code. False after "Sql Rapor Yaratılamıyor".
[[nodiscard]] bool readCardTable(Database &db, std::vector<std::vector<QVariant>> *out,
                                 Messages &messages);

// A new card: the fields given, the other texts empty, kind 0 and every
// balance total 0. False when it was not stored.
[[nodiscard]] bool addCard(TableCursor &carkart, const QHash<QString, QVariant> &values);
// The given fields of the card `kod`, the others as they are. False when
// there is no such card or it was not stored.
[[nodiscard]] bool changeCard(TableCursor &carkart, const QString &kod,
                              const QHash<QString, QVariant> &values);

// The codes on file: of the cards, or of the accounts the ledger has rows
// for. False after "Sql Rapor Yaratılamıyor".
enum class CodesOf { Cards, LedgerAccounts };
[[nodiscard]] bool readCodes(Database &db, CodesOf which, QSet<QString> *out, Messages &messages);

} // namespace data
