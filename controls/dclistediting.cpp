#include "controls/dclistediting.h"

#include "base/daynumber.h"
#include "base/messages.h"
#include "controls/dclist.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace {

bool asciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

int dclistShiftState(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

// The one text editor laid over the cell being edited. Every key goes to the
// entry rules first; what they leave is ordinary typing.
class DclistEditor : public QLineEdit {
  public:
    DclistEditor(DclistEditing *editing, QWidget *parent) : QLineEdit(parent), m_editing(editing) {
        setFrame(false);
        connect(this, &QLineEdit::textEdited, this, [this] { m_editing->edited(); });
    }

  protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (!m_editing->key(event))
            QLineEdit::keyPressEvent(event);
    }
    bool event(QEvent *event) override {
        // Tab is an ordinary key here, not a focus change.
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                keyPressEvent(key);
                return true;
            }
        }
        return QLineEdit::event(event);
    }

  private:
    DclistEditing *m_editing;
};

DclistEditing::DclistEditing(dclist &grid, DclistModel &model, Messages &messages)
    : m_grid(grid), m_model(model), m_messages(messages) {}

QWidget *DclistEditing::createEditor(QWidget *parent) {
    return new DclistEditor(this, parent);
}

int DclistEditing::column() const {
    return m_grid.CurrentCol();
}

void DclistEditing::open(int col) {
    close();
    const int row = m_model.cursor();
    if (row < 0 || col < 0 || col >= m_model.columnTotal())
        return;
    m_model.publish();
    const QModelIndex index = m_model.index(row, col);
    if (!index.isValid())
        return;
    m_grid.scrollTo(index);
    m_grid.openPersistentEditor(index);
    m_editor = static_cast<DclistEditor *>(m_grid.indexWidget(index));
    if (!m_editor)
        return;
    m_index = index;
    const DclistColumn &c = m_model.column(col);
    const QString buffer = m_model.buffers()[col];
    const DclistModel::ColourPair selection = m_model.colours(DclistModel::Selection);
    setColours(selection.fore, selection.back);
    m_editor->setFont(m_grid.rowFont());
    m_editor->setReadOnly(m_grid.CellLock());
    m_editor->setMaxLength(32767);
    switch (c.letter()) {
    case u'N':
        m_editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Digits go on after the number the cell holds; only Backspace on an
        // empty buffer starts a fresh number.
        m_digits.set(buffer);
        m_digits.fresh = false;
        m_digits.maximum = c.maximum;
        m_digits.decimals = c.decimals;
        m_editor->setText(m_model.numberText(buffer, col));
        break;
    case u'T':
        m_editor->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        m_editor->setText(buffer);
        m_editor->setMaxLength(10);
        break;
    case u'S':
        m_editor->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        m_editor->setText(buffer);
        break;
    default:
        m_editor->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_editor->setText(buffer);
        break;
    }
    // A maximum of 0 means no limit, as with Basic's MaxLength.
    if (c.letter() != u'N' && c.letter() != u'T' && c.maximum >= 1)
        m_editor->setMaxLength(int(std::min(c.maximum, 32767.0)));
    if (c.letter() == u'N')
        m_editor->setCursorPosition(int(m_editor->text().size()));
    else
        m_editor->selectAll();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void DclistEditing::close() {
    if (!m_index.isValid() && !m_editor)
        return;
    if (m_editor && m_editor->hasFocus())
        m_grid.setFocus(Qt::OtherFocusReason);
    if (m_index.isValid())
        m_grid.closePersistentEditor(m_index);
    m_editor = nullptr;
    m_index = QPersistentModelIndex();
}

QLineEdit *DclistEditing::editor() const {
    return m_editor.data();
}

bool DclistEditing::hasFocus() const {
    return m_editor && m_editor->hasFocus();
}

void DclistEditing::focus(Qt::FocusReason reason) {
    if (m_editor)
        m_editor->setFocus(reason);
}

void DclistEditing::send(QKeyEvent *event) {
    if (m_editor)
        QCoreApplication::sendEvent(m_editor, event);
}

void DclistEditing::bufferWritten(int col, const QString &text) {
    if (m_grid.CurrentMode() != 2 || col != column() || !m_editor)
        return;
    showBuffer(text);
}

void DclistEditing::setReadOnly(bool on) {
    if (m_editor)
        m_editor->setReadOnly(on);
}

void DclistEditing::setFont(const QFont &font) {
    if (m_editor)
        m_editor->setFont(font);
}

void DclistEditing::setColours(const QColor &fore, const QColor &back) {
    if (!m_editor)
        return;
    QPalette p = m_editor->palette();
    p.setColor(QPalette::Base, back);
    p.setColor(QPalette::Text, fore);
    m_editor->setPalette(p);
}

// Keys and the entry rules ------------------------------------------------------

bool DclistEditing::key(QKeyEvent *event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrlO = key == Qt::Key_O && (mods & Qt::ControlModifier); // key code 15
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down || ctrlO) {
        confirm(!ctrlO);
        return true;
    }
    if (key == Qt::Key_Escape || (key == Qt::Key_Up && !m_grid.CellLock())) {
        m_grid.AlanDegisti(-101);
        return true;
    }
    emit m_grid.KeyDown(key, dclistShiftState(mods), m_grid.CurSat());
    if (m_grid.CurrentMode() != 2 || !m_editor || m_grid.CellLock() || key == Qt::Key_Up)
        return true;
    const QChar c = entry::typedChar(*event);
    switch (m_model.column(column()).letter()) {
    case u'N':
        if (!c.isNull())
            numberKey(c);
        return true;
    case u'T':
        if (!c.isNull())
            dateKey(c);
        return true;
    default:
        return false; // ordinary typing; textEdited follows
    }
}

void DclistEditing::numberKey(QChar c) {
    entry::DigitBuffer &b = m_digits;
    if (c == u'"') {
        // The repeat shortcut, when the editor would hold just the quote.
        const bool alone =
            m_editor->text().isEmpty() || m_editor->selectedText() == m_editor->text();
        if (alone && m_model.cursor() > 0)
            repeatFromAbove();
        return;
    }
    bool refused = false;
    if (c == u'\b' || c == u'+') {
        // Neither empties the buffer on a fresh entry; Backspace on an empty
        // buffer marks it fresh.
        if (c == u'\b' && b.text.isEmpty()) {
            b.fresh = true;
        } else {
            const bool fresh = b.fresh;
            b.fresh = false;
            b.type(c);
            b.fresh = fresh;
        }
    } else if (asciiDigit(c) || c == u'.' || c == u',') {
        refused = b.type(c) == entry::DigitBuffer::Result::Refused;
    } else {
        refused = true;
    }
    if (refused)
        QApplication::beep();
    m_model.setBuffer(column(), b.text);
    setEditorText(m_model.numberText(b.text, column()));
}

void DclistEditing::dateKey(QChar c) {
    QString t = m_editor->text();
    if (c == u'\b') {
        if (m_editor->hasSelectedText())
            t.remove(m_editor->selectionStart(), m_editor->selectedText().size());
        else
            t = entry::dateBackspace(t);
    } else if (asciiDigit(c)) {
        if (m_editor->hasSelectedText())
            t.remove(m_editor->selectionStart(), m_editor->selectedText().size());
        t = entry::dateDigit(t, c);
    } else {
        return;
    }
    setEditorText(t);
    m_model.setBuffer(column(), t);
}

void DclistEditing::edited() {
    if (m_grid.CurrentMode() != 2 || !m_editor)
        return;
    const QString t = m_editor->text();
    if (t == u"\"" && m_model.cursor() > 0) {
        repeatFromAbove();
        return;
    }
    m_model.setBuffer(column(), t);
}

void DclistEditing::repeatFromAbove() {
    const QString above = DclistModel::cellText(m_model.cell(m_model.cursor() - 1, column()));
    m_model.setBuffer(column(), above);
    showBuffer(above);
}

void DclistEditing::showBuffer(const QString &text) {
    if (m_model.column(column()).letter() == u'N') {
        m_digits.set(text);
        setEditorText(m_model.numberText(text, column()));
    } else {
        setEditorText(text);
    }
}

void DclistEditing::setEditorText(const QString &text) {
    if (!m_editor)
        return;
    m_editor->setText(text);
    m_editor->setCursorPosition(int(text.size()));
}

void DclistEditing::confirm(bool enterOrDown) {
    if (m_grid.CurrentMode() != 2)
        return;
    const DclistColumn col = m_model.column(column());
    const int c = column();
    QString text = m_editor ? m_editor->text() : m_model.buffers()[c];
    if (col.kind == 6 && enterOrDown) {
        emit m_grid.OnKosulVar(c, col.key, col.letter() == u'N' ? m_model.buffers()[c] : text);
        return;
    }
    auto refuse = [this](const QString &message) {
        m_messages.warning(message);
        if (m_editor)
            m_editor->selectAll();
    };
    if (col.letter() == u'T') {
        // A partly typed date is completed from today's.
        if (text.size() >= 1 && text.size() <= 9)
            text += formatTrDate(QDate::currentDate()).mid(text.size());
        const QDate d = parseTrDate(text);
        if (d.isValid()) {
            setEditorText(text);
            m_model.setBuffer(c, text);
            if (col.kind != 4 && col.kind != 5 && d.dayOfWeek() >= 6)
                m_messages.information(
                    QStringLiteral("Tatil gününe denk gelen tarih girdiniz.\n   ") +
                    entry::longDate(d));
        } else if (col.kind == 1 || col.kind == 4) {
            setEditorText(text);
            m_model.setBuffer(c, text);
            refuse(QStringLiteral("Hatalı Tarih Girildi.\nDüzeltiniz."));
            return;
        } else {
            setEditorText(QString());
            m_model.setBuffer(c, QString());
        }
    } else {
        if (col.kind == 3 && text.isEmpty()) {
            refuse(QStringLiteral("En Az Bir Harf Girmelisiniz."));
            return;
        }
        const double value = col.letter() == u'N' ? m_digits.value() : DclistModel::val(text);
        if (col.kind == 2 && value == 0) {
            refuse(QStringLiteral("Bir Sayi Girmelisiniz."));
            return;
        }
        if (col.letter() != u'N')
            m_model.setBuffer(c, text);
    }
    if (m_grid.CurrentMode() == 2 && column() == c)
        m_grid.AlanDegisti(101);
}
