#pragma once

#include "data/database.h"

#include <QSqlField>
#include <QString>
#include <QStringList>
#include <vector>

// Field type codes of the data store, as the table-creation calls use them.
namespace data {

enum TypeCode : int {
    tBoolean = 1,
    tByte = 2,
    tInteger = 3,
    tLong = 4,
    tCurrency = 5,
    tSingle = 6,
    tDouble = 7,
    tDate = 8,
    tLongBinary = 9,
    tText = 10,
    tOle = 11,
    tMemo = 12,
};

struct FieldDef {
    QString name;
    int type = tText;
    int size = 0;
    bool required = false;
    bool allowZeroLength = true;
};

struct IndexDef {
    QString name;
    QStringList fields;
    bool unique = false;
    bool primary = false;
    bool ignoreNulls = false;
    bool required = false;
};

struct TableDef {
    QString name;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;

    const FieldDef *field(const QString &fieldName) const;
    const IndexDef *index(const QString &indexName) const;
};

// The one description of every table the program opens or creates; the SQL
// of both engines is generated from it.
namespace schema {
const TableDef &ayar();
const TableDef &fiat();
const TableDef &borc();
// The program's own record of receipt numbers that will never be issued,
// first to last, with the day and the reason; made at its first use.
const TableDef &fisbos();
// The program's own list of voided receipts; made at the first void.
const TableDef &fisiptal();
// The program's own record of what each integration run handed over; made at
// the first run.
const TableDef &entkayit();
// The program's own tables made at their first use, when they exist.
std::vector<const TableDef *> madeOnUse();
const TableDef &carkart();
const TableDef &carhar();
const TableDef &kasa();
const TableDef &ent();
const TableDef &genel();
const TableDef &stkkart();
const TableDef &stkhar();
const TableDef &ftu();
// The suite's tables in xdata.dat, in the order they are created.
std::vector<const TableDef *> suiteTables();
// A known table by name (case-insensitive), or nullptr.
const TableDef *find(const QString &tableName);
} // namespace schema

// The column type the SQL engine declares for a field. A server keeps
// Single and Double as DOUBLE PRECISION: its REAL has 4 bytes, SQLite's 8,
// and a rate must read back the same on both.
QString sqlColumnType(const FieldDef &f, Engine engine = Engine::SQLite);
// The type code of a column no description names.
int inferredType(const QSqlField &f);
// Creates a whole table from its description, with its indexes, or nothing;
// false when it exists.
[[nodiscard]] bool createTable(Database &db, const TableDef &def);

} // namespace data
