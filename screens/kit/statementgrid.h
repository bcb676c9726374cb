#pragma once

#include "actions/statement/statementaction.h"
#include "surcharge/engine.h"

class dclist;

// The statement table on a grid, as the statement, the general list and the
// integration screen show it: Açıklama, Vade, Devir, G.Zammı, Borç, Ödenen,
// Kalan, then the hidden open principal, receipt number and, on the
// statement and integration screens, an empty column.
namespace screenkit {

enum StatementColumn {
    Ack = statement::Ack,
    Vade = statement::Vade,
    Devir = statement::Devir,
    Faiz = statement::Faiz,
    Borc = statement::Borc,
    Odeme = statement::Odeme,
    Kalan = statement::Kalan,
    Anapara = statement::Anapara,
    Evrak = statement::Evrak,
    Bos,
    StatementColumnCount
};

// Defines the columns on an empty grid; amounts with `tlonda` decimals. The
// general list's grid has two hidden columns, not three: its export holds no
// unnamed empty column.
enum class EmptyColumn { With, Without };
void addStatementColumns(dclist &grid, int tlonda, EmptyColumn empty = EmptyColumn::With);

// Shows the rows in place of what the grid held; a grid full at its row limit
// shows the rows that fit. The receipt number column stays empty on a screen
// that reprints no receipt.
void showStatement(dclist &grid, const surcharge::Statement &statement, int tlonda,
                   bool receiptNumbers = true);

} // namespace screenkit
