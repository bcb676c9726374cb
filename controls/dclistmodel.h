#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <array>
#include <vector>

// One column of the grid `dclist`: its type letter and the
// attributes `Add` sets.
struct DclistColumn {
    QChar type = u'A'; // as given, either case
    QString key;       // upper-cased
    QString caption;
    int width = 0;
    double maximum = 0;
    int kind = 0; // condition kind 0..6
    int decimals = 0;
    int grouping = 0;

    // The type letter upper-cased: lower and upper case behave the same.
    char16_t letter() const { return type.toUpper().unicode(); }
    bool numeric() const { return letter() == u'N' || letter() == u'B'; }
    // M and B columns are never entered.
    bool enterable() const { return letter() != u'M' && letter() != u'B'; }
};

// The table behind `dclist`: typed columns, rows of cell values (empty, a
// number, a text or a date), the edit buffers of the row being edited, and
// the row colours. Display text, alignment and colours come from here; the
// view and its delegate only draw them.
//
// Appended rows and changed cells reach the view in batches: the view learns
// of them at the next turn of the event loop or when the grid calls
// publish(), so filling 30,000 rows costs one beginInsertRows and no repaint
// per row.
class DclistModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The raw value of a cell, the one sorting uses: N and B the numeric
    // value (double), T a QDate when the cell reads as a date, else the cell.
    static constexpr int RawRole = Qt::UserRole + 1;
    // The cell as it is held (for the row being edited: as the row holds it,
    // not the edit buffer).
    static constexpr int CellRole = Qt::UserRole + 2;

    enum ColourRole { Passive, Zebra, Active, Selection, Header, ColourRoles };
    struct ColourPair {
        QColor fore, back;
    };

    explicit DclistModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Columns.
    const std::vector<DclistColumn> &columns() const { return m_columns; }
    int columnTotal() const { return int(m_columns.size()); }
    const DclistColumn &column(int c) const { return m_columns[size_t(c)]; }
    void addColumn(const DclistColumn &column);
    void removeColumns();
    // Attribute changes that only change how cells are drawn.
    DclistColumn &editColumn(int c) { return m_columns[size_t(c)]; }
    void columnChanged(int c);
    int columnByKey(const QString &key) const;

    // Rows. `count` is ListCount; rows beyond it read as empty.
    int count() const { return m_count; }
    QVariant cell(int row, int col) const;
    void setCell(int row, int col, const QVariant &value);
    // Appends an empty row; returns its index.
    int appendRow();
    // Makes `row` counted (ListCount = row + 1 when it lies beyond).
    void countRow(int row);
    void insertEmptyRow(int row);
    void removeRowAt(int row);
    void clearRows();
    // Stable sort of the counted rows by one column's raw values. Returns
    // where each row went (new index by old index); persistent indexes follow
    // their rows.
    std::vector<int> sortRows(int col, bool descending);

    // The edit buffers (one text per column) and the row drawn from them.
    QStringList &buffers() { return m_buffers; }
    const QStringList &buffers() const { return m_buffers; }
    void setBuffer(int col, const QString &text);
    void setBufferRow(int row);
    int bufferRow() const { return m_bufferRow; }

    // Cursor and mode decide the row colours; the cursor row is shown even
    // when it lies one beyond the counted rows (a new row being edited).
    void setCursor(int row, int mode);
    int cursor() const { return m_cursor; }

    void setColours(ColourRole role, const QColor &fore, const QColor &back);
    ColourPair colours(ColourRole role) const { return m_colours[size_t(role)]; }
    void setZebra(bool on);
    bool zebra() const { return m_zebra; }
    void setHeaderBackground(const QColor &back);
    QColor headerBackground() const { return m_headerBack; }

    // Tells the view about rows and cells changed since the last call.
    void publish();
    void rowChanged(int row);
    void allChanged();

    // Text forms shared with the grid.
    static QString cellText(const QVariant &value);
    QString displayText(int col, const QVariant &value) const;
    QVariant rawValue(int col, const QVariant &value) const;
    // The display form of a number for a column: the N rule.
    QString numberText(const QString &text, int col) const;
    // The leading number of a text, as Basic's Val reads it.
    static double val(const QString &text);

  private:
    using Row = std::vector<QVariant>;
    int shownRows() const;
    void schedule();
    void markDirty(int row);
    Row &storageRow(int row);

    std::vector<DclistColumn> m_columns;
    std::vector<Row> m_rows; // may hold more than m_count rows
    int m_count = 0;
    int m_published = 0;
    int m_dirtyFirst = -1, m_dirtyLast = -1;
    QTimer m_flush;

    QStringList m_buffers;
    int m_bufferRow = -1;
    int m_cursor = -1;
    int m_mode = 0;

    std::array<ColourPair, ColourRoles> m_colours;
    QColor m_headerBack{192, 192, 192};
    bool m_zebra = false;
};
