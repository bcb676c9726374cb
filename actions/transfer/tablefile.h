#pragma once

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// An office's own table files, read as rows of text cells and written back
// the same way: CSV (comma, semicolon or tab between fields; UTF-8 or
// Windows-1254) and XLSX; OpenDocument spreadsheets (.ods) are read too.
namespace tablefile {

struct Cell {
    QString text;
    bool number = false; // a spreadsheet's numeric cell; `text` is its stored value
    // A number as the sheet shows it, where that is known and differs from
    // its value: 1 under the format "0000" shows "0001".
    QString shown{};
    // Why the cell has no value to read: a formula saved without its result.
    QString fault{};
};

struct Row {
    int line = 0; // the CSV line the row starts on, or the sheet's row number
    std::vector<Cell> cells;
    QString fault; // what is wrong with the row as text ("geçersiz UTF-8"), if anything
};

struct Table {
    QString source; // what was read, for the clerk: "CSV, UTF-8, ayraç ';'", "XLSX, sayfa 'Üyeler'"
    std::vector<Row> rows; // rows with no text at all are left out
};

// The file as a table, CSV, XLSX or ODS by its content. `sheet` names the
// spreadsheet's sheet (the first one when empty). Nothing, with the reason
// in *error, when it cannot be read.
std::optional<Table> read(const QString &path, const QString &sheet, QString *error);
Table readCsv(const QByteArray &bytes);

struct Output {
    QString sheet;      // the XLSX sheet's name
    QStringList header; // the field names: the CSV's first line
    // XLSX only: the headings shown instead (the screens' captions, which an
    // import reads back), each with its field name as the cell's note, and
    // the columns that hold amounts, shown with two decimals.
    QStringList captions{};
    std::vector<bool> amounts{};
    std::vector<std::vector<Cell>> rows;
};

// UTF-8, comma between fields, "\n" after each row.
QByteArray csvText(const Output &table);
// Both replace the file only when the whole table is written. The XLSX
// file says it was made at `created`, so that one table gives one file.
bool writeCsv(const QString &path, const Output &table, QString *error);
bool writeXlsx(const QString &path, const Output &table, const QDateTime &created, QString *error);

} // namespace tablefile
