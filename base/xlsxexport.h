#pragma once

#include <QChar>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <vector>

// The grid's spreadsheet layout written as an .xlsx file (libxlsxwriter):
// title 1 (bold) in A1, title 2 in A2 (a date value when it reads as
// "dd.MM.yyyy"), title 3 in A3 and title 4 in row 3 of the last column; the
// captions bold in row 4; grid row r in sheet row r + 5. N and B cells are
// written as numbers, T cells as date values (empty when they hold no date),
// all others as they are held. Amount columns (grouped thousands) show at
// least two decimals; every column is as wide as what it holds.
// A cell value that is a number of any width, as sorting and the export see it.
bool isNumberValue(const QVariant &v);

namespace xlsx {

struct Column {
    QChar type; // the grid's type letter, either case
    QString caption;
    int decimals = 0; // number format of N and B cells
    int grouping = 0; // 3 groups thousands
};

struct Sheet {
    QString name; // the sheet's tab; title 1 when empty, else "Liste"
    std::array<QString, 4> titles;
    std::vector<Column> columns;
    int rowCount = 0;
    std::function<QVariant(int row, int column)> cell;
    double captionFontSize = 10;
};

// False with a reason in `error` when the file cannot be written.
bool write(const QString &path, const Sheet &sheet, QString *error = nullptr);

} // namespace xlsx
