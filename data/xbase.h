#pragma once

#include "base/messages.h"
#include "base/money.h"
#include "data/database.h"
#include "data/schema.h"

#include <QMetaType>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

Q_DECLARE_METATYPE(Money)

// The flat table operations every screen uses. None of them lets an engine
// error escape: they return a success flag and the caller shows its message.
// Values: Text -> QString, Currency -> Money, Date -> QDate, the whole-number
// types -> int (Long as qint32, Boolean as -1/0), Single/Double -> double.
namespace data {

// A table cursor: a current record, an end flag, a current index and a
// no-match flag, over SQL with the surrogate `id` for positioning.
class TableCursor {
  public:
    TableCursor() = default;
    TableCursor(const TableCursor &) = delete;
    TableCursor &operator=(const TableCursor &) = delete;

    [[nodiscard]] bool isOpen() const { return m_db != nullptr; }
    const QString &tableName() const { return m_table; }
    Database *database() const { return m_db; }
    const TableDef *definition() const { return m_def; }
    [[nodiscard]] bool hasCurrent() const { return m_hasCurrent; }
    qint64 currentId() const { return m_currentId; }

  private:
    friend bool RsOpen(Database &, TableCursor &, const QString &);
    friend bool RsClose(TableCursor &);
    friend bool RsMoveFirst(TableCursor &);
    friend bool RsMoveLast(TableCursor &);
    friend bool RsMoveNext(TableCursor &);
    friend bool RsSeek(TableCursor &, const QString &, const QVariant &);
    friend bool RsSetIndex(TableCursor &, const QString &);
    friend bool RsEdit(TableCursor &);
    friend bool RsAddNew(TableCursor &);
    friend bool RsUpdate(TableCursor &);
    friend bool RsInsert(TableCursor &, const RowShape &, const StoredValue *);
    friend bool RsCancelUpdate(TableCursor &);
    friend bool RsDelete(TableCursor &);
    friend bool RsEof(const TableCursor &);
    friend QVariant FieldGet(const TableCursor &, const QString &);
    friend void FieldSet(TableCursor &, const QString &, const QVariant &);
    friend class BatchedRows;

    enum class Mode { Browse, Adding, Editing };

    [[nodiscard]] bool loadFrom(QSqlQuery &q);
    [[nodiscard]] bool moveEnd(bool last);
    // A statement kept for the cursor under a short key; `sql` builds its
    // text the first time only.
    QSqlQuery &prepared(const QString &key, const std::function<QString()> &sql);
    QString orderBy(bool descending) const;
    QString selectFrom() const;
    // Position in m_columns, -1 when the table has no such field.
    qsizetype columnIndex(const QString &fieldName) const;

    Database *m_db = nullptr;
    QString m_table;
    const TableDef *m_def = nullptr;
    QStringList m_columns;
    std::vector<FieldDef> m_fields; // the definition of each column
    QStringList m_indexFields;      // empty: order of entry
    bool m_hasCurrent = false;
    bool m_eof = true;
    bool m_noMatch = false;
    qint64 m_currentId = 0;
    std::vector<QVariant> m_values; // the current record, by column
    Mode m_mode = Mode::Browse;
    std::vector<std::pair<qsizetype, QVariant>> m_buffer; // column, stored value
    std::vector<std::pair<QString, std::unique_ptr<QSqlQuery>>> m_statements;
    std::function<void()> m_refused;   // set while the new rows may be held back
    const RowShape *m_shape = nullptr; // the shape last written whole, and
    bool m_shapeFits = false;          // whether the table has all its columns
};

// While it lives, the new rows RsUpdate stores on `cursor` inside a writing
// action on a server may be held back and sent with the next ones
// (Database::holdInsert): RsUpdate then answers true at once, and `refused`
// runs in the row's turn, before anything reads the table and at the latest
// before the commit, should the server not store the row.
class BatchedRows {
  public:
    BatchedRows(TableCursor &cursor, std::function<void()> refused);
    ~BatchedRows();
    BatchedRows(const BatchedRows &) = delete;
    BatchedRows &operator=(const BatchedRows &) = delete;

  private:
    TableCursor &m_cursor;
};

// A query cursor over the rows of a SELECT with bound values.
class QueryCursor {
  public:
    QueryCursor() = default;
    ~QueryCursor();
    QueryCursor(const QueryCursor &) = delete;
    QueryCursor &operator=(const QueryCursor &) = delete;
    // Before QdOpen / QueryOpen: the rows are read with the typed reads
    // alone, through the engine's own calls (field() then reads nothing).
    void scanOnly() { m_scanOnly = true; }
    [[nodiscard]] bool eof() const { return m_eof; }
    // The last QueryOpen failed in the engine (as opposed to finding no
    // rows), or a scan's step did (moveNext).
    [[nodiscard]] bool failed() const { return m_failed; }
    bool moveNext();
    QVariant field(const QString &name) const;
    QVariant field(int column) const;
    // Typed reads for long scans, with the Null replacement of their type
    // (empty text, an invalid date, 0).
    QString text(int column) const;
    QDate date(int column) const;
    Money money(int column) const;
    qint64 number(int column) const;
    // Ends the read so no old snapshot is held into the next action.
    void finish();
    // Typing of Null replacement and conversions for the fields of this table.
    void setTable(const TableDef *def) { m_def = def; }

  private:
    // The columns' names and types, at the first read by name or with the
    // table's typing: the typed reads of a long scan never need them.
    void describeColumns() const;
    friend bool QdOpen(Database &, QueryCursor &, const QString &, const QVariantList &);
    enum class Scan { Unavailable, Failed, Open };
    // Opens the read on the engine's own calls, on its first row.
    Scan openScan(Database &db, const QString &sql, const QVariantList &binds);
    bool scanning() const { return m_scan || m_pg; }
    // The type of a server scan's column is one of the whole-number types.
    bool serverWhole(int column) const;
    // A value of the scan's current row as Qt SQL would have handed it over.
    QVariant scanned(int column) const;
    bool scanLive() const;
    void endScan();
    std::unique_ptr<QSqlQuery> m_query;
    bool m_scanOnly = false;
    Database *m_scanDb = nullptr;
    sqlite3_stmt *m_scan = nullptr;
    quint64 m_scanGeneration = 0;
    pg_result *m_pg = nullptr; // a server's rows, whole
    int m_row = 0, m_rows = 0;
    std::vector<StoredValue> m_binds;
    const TableDef *m_def = nullptr;
    mutable bool m_described = false;
    mutable QStringList m_names;
    mutable std::vector<int> m_types;
    bool m_eof = true;
    bool m_failed = false;
};

[[nodiscard]] bool DbOpen(Database &db, const QString &filePath);
[[nodiscard]] bool DbCreate(Database &db, const QString &filePath);
[[nodiscard]] bool RsOpen(Database &db, TableCursor &cursor, const QString &tableName);
bool RsClose(TableCursor &cursor);
[[nodiscard]] bool RsMoveFirst(TableCursor &cursor);
[[nodiscard]] bool RsMoveLast(TableCursor &cursor);
[[nodiscard]] bool RsMoveNext(TableCursor &cursor);
[[nodiscard]] bool RsSeek(TableCursor &cursor, const QString &indexName, const QVariant &key);
[[nodiscard]] bool RsSetIndex(TableCursor &cursor, const QString &indexName);
[[nodiscard]] bool RsEdit(TableCursor &cursor);
[[nodiscard]] bool RsAddNew(TableCursor &cursor);
// A new row on one of the program's own tables made at their first use
// (schema::madeOnUse): the table is made when missing, then opened.
[[nodiscard]] bool RsAddNewMadeOnUse(Database &db, TableCursor &cursor, const TableDef &def);
[[nodiscard]] bool RsUpdate(TableCursor &cursor);
// A whole new row on the cursor's table, `values` in the order of
// `shape.columns`, stored as they are: texts already cut to their fields
// (storedText), dates as day numbers, amounts in units. Held back as a line
// of COPY in a batching action on a server (BatchedRows), bound straight to
// the engine on a SQLite file. False when the row was not stored.
[[nodiscard]] bool RsInsert(TableCursor &cursor, const RowShape &shape, const StoredValue *values);
// Drops the edit buffer of RsAddNew / RsEdit without storing it.
bool RsCancelUpdate(TableCursor &cursor);
// Deletes the current row; afterwards there is none. False when there was
// none, or the row was not deleted (another desk's delete included).
[[nodiscard]] bool RsDelete(TableCursor &cursor);
[[nodiscard]] bool RsEof(const TableCursor &cursor);
QVariant FieldGet(const TableCursor &cursor, const QString &fieldName);
void FieldSet(TableCursor &cursor, const QString &fieldName, const QVariant &value);

// Opens the rows of `sql` with its `?` placeholders bound in order; true when
// there is at least one row (positioned on it). A query the engine refuses
// shows "Sql Rapor Yaratılamıyor" and gives false.
[[nodiscard]] bool QueryOpen(Database &db, QueryCursor &cursor, const QString &sql,
                             const QVariantList &binds, Messages &messages);
// The same rows without a message: true when the query ran, rows or none (the
// lookup window says its own words when its query fails).
[[nodiscard]] bool QdOpen(Database &db, QueryCursor &cursor, const QString &sql,
                          const QVariantList &binds = {});

// A query that failed, at its start or half-way, says "Sql Rapor
// Yaratılamıyor" with the reason, unless the whole action is over.
void tellReadFailed(const Database &db, Messages &messages);

// A row an action could not store says so in its turn, unless the whole
// action is over: that is told once, at its end.
void tellNotStored(const Database &db, Messages &messages, const QString &text,
                   Messages::Icon icon = Messages::Icon::Warning,
                   const QString &title = Messages::korvane());

// The value a Null field reads as, by type code.
QVariant nullReplacement(int typeCode);
// Converts a stored value to the program's type for the field's type code.
QVariant fromStored(const QVariant &stored, int typeCode);
// Converts a program value to what is stored; invalid when it cannot be stored
// (a text that is not valid UTF-16, an amount out of range).
QVariant toStored(const QVariant &value, const FieldDef &field, bool *ok);

// A Currency field as read by FieldGet: its Money, or 0 for the Null
// replacement (and for anything else that is not an amount).
Money toMoney(const QVariant &value);

// Text that holds a lone surrogate cannot be stored faithfully.
[[nodiscard]] bool isValidUtf16(const QString &text);

} // namespace data
