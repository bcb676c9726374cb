#pragma once

#include "controls/entry.h"

#include <QPersistentModelIndex>
#include <QPointer>

class DclistEditor;
class DclistModel;
class Messages;
class QColor;
class QFont;
class QKeyEvent;
class QLineEdit;
class QWidget;
class dclist;

// Basic's shift mask of the grid's KeyDown: 1 Shift, 2 Ctrl, 4 Alt.
int dclistShiftState(Qt::KeyboardModifiers modifiers);

// The grid's edit mode at the cell: the one text editor laid over the cell
// being edited, the digit buffer of an N cell, and the entry rules of each
// column type (digits, dates, the repeat shortcut, what confirming a cell
// checks). The grid keeps the modes and the cursor; it opens and closes the
// editor through here, and this moves on through the grid's AlanDegisti.
class DclistEditing {
  public:
    DclistEditing(dclist &grid, DclistModel &model, Messages &messages);

    // The editor widget the grid's delegate puts over a cell.
    QWidget *createEditor(QWidget *parent);

    // Opens the editor on column `col` of the cursor row, from its buffer.
    void open(int col);
    // Closes the editor; the buffers keep what was typed.
    void close();
    QLineEdit *editor() const;
    bool hasFocus() const;
    void focus(Qt::FocusReason reason);
    // A key the grid received while editing.
    void send(QKeyEvent *event);

    // The owner wrote a buffer: an open editor on that column shows it.
    void bufferWritten(int col, const QString &text);
    void setReadOnly(bool on);
    void setFont(const QFont &font);
    void setColours(const QColor &fore, const QColor &back);

    // From the editor widget: true when the key was handled here.
    bool key(QKeyEvent *event);
    void edited();

  private:
    void confirm(bool enterOrDown);
    void numberKey(QChar c);
    void dateKey(QChar c);
    void repeatFromAbove();
    // The editing column's buffer into the editor: a number's digit buffer
    // and display form, any other text as it is.
    void showBuffer(const QString &text);
    void setEditorText(const QString &text);
    int column() const;

    dclist &m_grid;
    DclistModel &m_model;
    Messages &m_messages;
    QPointer<DclistEditor> m_editor;
    QPersistentModelIndex m_index;
    entry::DigitBuffer m_digits;
};
