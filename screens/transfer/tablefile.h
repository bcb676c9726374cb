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
// Windows-1254) and XLSX.
namespace tablefile {

struct Cell {
    QString text;
    bool number = false; // a spreadsheet's numeric cell; `text` is its stored value
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

// The file as a table, CSV or XLSX by its content. `sheet` names the XLSX
// sheet (the first one when empty). Nothing, with the reason in *error,
// when it cannot be read.
std::optional<Table> read(const QString &path, const QString &sheet, QString *error);
Table readCsv(const QByteArray &bytes);
std::optional<Table> readXlsx(const QString &path, const QString &sheet, QString *error);

struct Output {
    QString sheet; // the XLSX sheet's name
    QStringList header;
    std::vector<std::vector<Cell>> rows;
};

// UTF-8, comma between fields, "\n" after each row.
QByteArray csvText(const Output &table);
// Both replace the file only when the whole table is written. The XLSX
// file says it was made at `created`, so that one table gives one file.
bool writeCsv(const QString &path, const Output &table, QString *error);
bool writeXlsx(const QString &path, const Output &table, const QDateTime &created, QString *error);

} // namespace tablefile
