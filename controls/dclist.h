#pragma once

#include "controls/dclistmodel.h"

#include <QFont>
#include <QTableView>
#include <functional>
#include <memory>

class Messages;
class DclistDelegate;
class DclistEditing;

// The program's list-and-edit grid. The owning screen
// defines typed columns with Add, fills rows with CreateNewCaption and
// Caption, and listens to the nine events; the grid never touches the
// database. Browse mode moves a row cursor; edit mode edits the cursor row
// one cell at a time in an editor laid over the cell, through the edit
// buffers (Text, TextByName), which OkUpdateData copies into the row.
//
// Column types (either case): A text, N number (digit entry, MaxValue caps
// the value), T date (automatic dots), S one character, M and B shown only
// (never entered; B drawn like N), V "True"/"False" drawn Var/Yok, E drawn
// Evet/Hayır. Condition kinds 0..6 decide what leaving a cell checks or raises.
//
// Conventions of this implementation:
// - Row numbers in events and in ChngSat, ChngMode, CurSat and
//   OperasyonDeleteReturn follow FreeWork: absolute rows when it is set (the
//   default here), else counted from the first visible row. Caption,
//   CaptionByName and OkUpdateData always take absolute rows.
// - Key codes in KeyDown are Qt::Key values; the shift state is Basic's
//   bit mask (1 Shift, 2 Ctrl, 4 Alt). MouseDown's button is 1 left,
//   2 right, 4 middle.
// - A passive grid that gets the keyboard focus enters browse mode on its
//   cursor row; a click only moves the cursor, in any mode but edit. A
//   letter or digit that starts editing (Editable) is typed into the first
//   cell.
// - The first header click sorts ascending; later clicks reverse. Texts sort
//   in Turkish order, numbers and dates by value, numbers before texts. The
//   row being edited keeps its buffers and editor wherever it goes.
// - The editor opens with its text selected, so typing replaces it, except
//   in N cells: digits go on after the number.
// - At most 32,752 rows (last index 32751); CreateNewCaption returns -1
//   when full.
class dclist : public QTableView {
    Q_OBJECT
  public:
    static constexpr int LastRowIndex = 32751;

    explicit dclist(Messages &messages, QWidget *parent = nullptr);
    ~dclist() override;

    // Columns -----------------------------------------------------------
    // Appends a column; a type letter outside "AaNnTtSsMmBbVvEe" adds nothing.
    // Cell contents are not kept (the row table is re-sized).
    void Add(const QString &type, const QString &key, const QString &caption, int width,
             double maximum, int kind = 0, int decimals = 0, int grouping = 0);
    void Reset();
    int ColumnCount() const { return m_model->columnTotal(); }
    QString Style() const;
    using QTableView::setStyle;
    void setStyle(const QString &letters);
    QString Baslik(int col) const;
    void setBaslik(int col, const QString &caption);
    QString SectionName(int col) const;
    void setSectionName(int col, const QString &key);
    int Size(int col) const;
    void setSize(int col, int width);
    // All widths as 4-digit zero-padded numbers, one per column.
    QString Sizes() const;
    double MaxValue(int col) const;
    void setMaxValue(int col, double maximum);
    int Kosul(int col) const;
    void setKosul(int col, int kind);
    int OndaHane(int col) const;
    void setOndaHane(int col, int decimals);
    int BinlikAyrac(int col) const;
    void setBinlikAyrac(int col, int grouping);

    // Rows ----------------------------------------------------------------
    int CreateNewCaption();
    void Clear();
    int ListCount() const { return m_model->count(); }
    QVariant Caption(int row, int col) const;
    void setCaption(int row, int col, const QVariant &value);
    QVariant CaptionByName(int row, const QString &key) const;
    void setCaptionByName(int row, const QString &key, const QVariant &value);
    void OkUpdateData(int row);
    // The display form of a number for a column (the N rule).
    QString curtext(const QString &text, int col) const;

    // Edit buffers ----------------------------------------------------------
    QString Text(int col) const;
    void setText(int col, const QString &text);
    QString TextByName(const QString &key) const;
    void setTextByName(const QString &key, const QString &text);
    // Redraws the cursor row from the edit buffers.
    void Flash();

    // Cursor and modes ------------------------------------------------------
    int CurSat() const;
    int CurrentMode() const { return m_mode; }
    int CurrentCol() const { return m_mode == 2 ? m_col : 0; }
    void ChngMode(int mode, int row);
    void ChngSat(int row);
    // A column, or above 100 the next one, below -100 the previous one.
    void AlanDegisti(int col);
    void MoveNext();
    void MovePre();
    void SetTextBox();

    // Answers to events.
    void OnKosulReturn(const QString &value);
    void LockedReturn(bool allow);
    void OperasyonDeleteReturn(bool confirm, int row);

    // Drawing ---------------------------------------------------------------
    void reyaz();
    void satiryaz(int row);
    void Tazele();
    int DikeyMaxValue() const;
    void setDikeyMaxValue(int value);

    // Search, sorting, export -------------------------------------------
    // Start row >= 0 starts there; -1 goes on after the last hit.
    void FindByName(const QString &key, const QString &text, int startRow);
    bool Sort() const { return m_sort; }
    void setSort(bool on) { m_sort = on; }
    bool SortDescending() const { return m_descending; }
    void setSortDescending(bool on) { m_descending = on; }
    void sorting(int col);
    void Sorting2(int col);
    // Writes the table into a temporary .xlsx and opens it; any failure
    // shows "Excell Yüklü Değil veya Desteklenmeyen Versiyon" and what came of
    // the file: why it could not be written, or where it was kept when no
    // program opened it.
    void SendExel(const QString &title1, const QString &title2, const QString &title3,
                  const QString &title4);
    // The file SendExel writes, at a given path. False with the reason in
    // *error on failure; an earlier file there is then left as it was.
    [[nodiscard]] bool writeExel(const QString &path, const QString &title1, const QString &title2,
                                 const QString &title3, const QString &title4,
                                 QString *error = nullptr) const;
    // How SendExel opens the written file; QDesktopServices by default.
    void setSpreadsheetOpener(std::function<bool(const QString &path)> opener);

    // Fonts and colours ---------------------------------------------------
    void BaslikFont(const QString &name, bool bold, int size);
    void TextFont(const QString &name, bool bold, int size);
    QFont headerFont() const { return m_headerFont; }
    QFont rowFont() const { return m_rowFont; }
    void PassiveTextColor(const QColor &fore, const QColor &back);
    void ZebraTextColor(const QColor &fore, const QColor &back);
    void ActiveTextColor(const QColor &fore, const QColor &back);
    void SelectionTextColor(const QColor &fore, const QColor &back);
    void BaslikTextColor(const QColor &fore, const QColor &back);
    QColor bgColor() const { return m_model->headerBackground(); }
    void setBgColor(const QColor &colour);

    // Flags -------------------------------------------------------------
    bool Editable() const { return m_editable; }
    void setEditable(bool on) { m_editable = on; }
    bool Locked() const { return m_locked; }
    void setLocked(bool on) { m_locked = on; }
    bool CellLock() const { return m_cellLock; }
    void setCellLock(bool on);
    bool BaslikVar() const { return m_baslikVar; }
    void setBaslikVar(bool on);
    bool Zebra() const { return m_model->zebra(); }
    void setZebra(bool on) { m_model->setZebra(on); }
    // Scroll bars shown: 0 none, 1 vertical, 2 horizontal, 3 both.
    using QTableView::scroll;
    int scroll() const { return m_scroll; }
    void setScroll(int bars);
    // Extra pixels between rows.
    int Aralik() const { return m_aralik; }
    void setAralik(int pixels);
    bool UseKeys() const { return m_useKeys; }
    void setUseKeys(bool on) { m_useKeys = on; }
    bool TavloTazele() const { return m_tavloTazele; }
    void setTavloTazele(bool on) { m_tavloTazele = on; }
    bool TavloRefresh() const { return m_tavloRefresh; }
    void setTavloRefresh(bool on) { m_tavloRefresh = on; }
    bool OtoIncrement() const { return m_otoIncrement; }
    void setOtoIncrement(bool on) { m_otoIncrement = on; }
    bool FreeWork() const { return m_freeWork; }
    void setFreeWork(bool on) { m_freeWork = on; }
    WId hwnd() { return winId(); }

    DclistModel *tableModel() const { return m_model; }
    // The editor while a cell is being edited, else null.
    QLineEdit *editor() const;
    // Rows that fit on one page (at least 1).
    int pageRows() const;

  signals:
    void SatirChange(int row);
    void MouseDown(int button, int col, int row);
    void AlanChanged(int col);
    void KeyDown(int key, int shift, int row);
    void UpdateData(int row);
    void OperasyonDelete(int row);
    void OnKosulVar(int col, const QString &key, const QString &text);
    void ChangeEditMode(bool editing);
    void isLocked(int row);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

  private:
    friend class DclistDelegate;

    int toAbsolute(int row) const;
    int toReported(int row) const;
    int topRow() const;
    bool validCursorRow(int row) const;
    void scrollToRow(int row);
    void loadBuffers(int row);
    void gotoRow(int row, bool raise);
    void enterEdit(int row);
    void leaveEdit(int mode, int row);
    void applyLayout();
    void applyRowFont();
    void insertRowAtCursor();
    void headerClicked(int col);
    bool startsEditing(const QKeyEvent *event) const;

    Messages &m_messages;
    DclistModel *m_model;
    DclistDelegate *m_delegate;
    // The editor, the digit buffer and the entry rules of edit mode.
    std::unique_ptr<DclistEditing> m_editing;
    std::function<bool(const QString &)> m_opener;

    int m_mode = 0;
    int m_col = 0;
    int m_lockedRow = -1;
    int m_searchPos = 0;
    int m_scroll = 3;
    int m_aralik = 0;
    bool m_editable = false;
    bool m_locked = false;
    bool m_cellLock = false;
    bool m_baslikVar = true;
    bool m_useKeys = true;
    bool m_tavloTazele = false;
    bool m_tavloRefresh = false;
    bool m_otoIncrement = false;
    bool m_freeWork = true;
    bool m_sort = false;
    bool m_descending = true; // so that the first header click sorts ascending
    bool m_flash = false;
    QFont m_headerFont, m_rowFont;
};
