#include "controls/xtext.h"

#include "base/daynumber.h"
#include "base/userstore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>

xtext::xtext(QWidget *parent) : QLineEdit(parent) {
    setFont(storedFont());
    applyKind();
}

QFont storedFont(StoredFont which) {
    const bool header = which == StoredFont::Header;
    const QString prefix =
        header ? QStringLiteral("gridbaslikfont") : QStringLiteral("griddetayfont");
    const auto stored = [&prefix](const char *item, const QString &fallback) {
        return userstore::read(QStringLiteral("tavlo"), prefix + QLatin1String(item), fallback);
    };
    QFont f(stored("name", header ? QStringLiteral("tahoma") : QStringLiteral("courier")));
    // The size is read as a number and kept as a byte; a size of 0 cannot be drawn.
    const int points =
        qBound(0, qRound(stored("size", QStringLiteral("10")).trimmed().toDouble()), 255);
    if (points > 0)
        f.setPointSize(points);
    f.setBold(stored("bold", QStringLiteral("Bold")).toUpper() == u"BOLD");
    return f;
}

void xtext::setTextTip(int kind) {
    m_kind = (kind == Sayi || kind == Tarih) ? kind : Metin;
    applyKind();
}

void xtext::applyKind() {
    switch (m_kind) {
    case Sayi:
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setMaxLength(32767);
        setEchoMode(Normal);
        break;
    case Tarih:
        setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        setMaxLength(10);
        setEchoMode(Normal);
        break;
    default:
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setMaxLength(m_max > 0 ? int(m_max) : 32767);
        setEchoMode(m_password.isEmpty() ? Normal : Password);
        break;
    }
}

void xtext::setMaxLenght(double max) {
    m_max = max;
    m_buffer.maximum = max;
    applyKind();
}

void xtext::setOnda(int decimals) {
    m_buffer.decimals = decimals;
}

void xtext::setPassWordChar(const QString &c) {
    m_password = c;
    applyKind();
}

bool xtext::Button() const {
    return m_button && !m_button->isHidden();
}

void xtext::setButton(bool on) {
    if (on && !m_button) {
        m_button = new QToolButton(this);
        m_button->setCursor(Qt::ArrowCursor);
        m_button->setFocusPolicy(Qt::NoFocus);
        m_button->setAutoRaise(true);
        // Seen even before a screen gives it a picture.
        m_button->setText(QStringLiteral("…"));
        connect(m_button, &QToolButton::released, this, &xtext::ButtonClick);
    }
    if (m_button) {
        m_button->setVisible(on);
        setTextMargins(0, 0, on ? height() : 0, 0);
    }
}

void xtext::setPicture(const QPixmap &picture) {
    setButton(true);
    m_button->setIcon(QIcon(picture));
}

void xtext::resizeEvent(QResizeEvent *event) {
    QLineEdit::resizeEvent(event);
    if (m_button && !m_button->isHidden()) {
        const int side = height() - 2;
        m_button->setGeometry(width() - side - 1, 1, side, side);
        setTextMargins(0, 0, side, 0);
    }
}

void xtext::setLocked(bool locked) {
    m_locked = locked;
    setReadOnly(locked);
}

void xtext::setTextValue(const QString &value) {
    if (m_kind == Sayi) {
        m_buffer.set(value);
        showNumber();
        return;
    }
    setText(value);
    m_buffer.set(value);
    if (m_kind == Tarih)
        setToolTip(entry::dateToolTip(value));
}

QVariant xtext::Value() const {
    if (m_kind == Sayi)
        return m_buffer.value();
    return text();
}

void xtext::setValue(const QVariant &value) {
    if (m_kind == Tarih) {
        const QDate d = value.metaType().id() == QMetaType::QDate ? value.toDate()
                                                                  : parseTrDate(value.toString());
        if (d.isValid()) {
            setText(formatTrDate(d));
            setToolTip(u' ' + entry::longDate(d) + u' ');
        } else {
            setToolTip(QStringLiteral(" Hatalı Tarih "));
        }
        return;
    }
    if (m_kind == Sayi) {
        m_buffer.set(value.toString());
        showNumber();
        return;
    }
    setText(value.toString());
}

void xtext::setColors(const QColor &focusBack, const QColor &focusFore, const QColor &normalBack,
                      const QColor &normalFore) {
    m_colours[0] = focusBack;
    m_colours[1] = focusFore;
    m_colours[2] = normalBack;
    m_colours[3] = normalFore;
    m_hasColours = true;
    applyColours(false);
}

void xtext::applyColours(bool focused) {
    if (!m_hasColours)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Base, m_colours[focused ? 0 : 2]);
    p.setColor(QPalette::Text, m_colours[focused ? 1 : 3]);
    setPalette(p);
}

void xtext::xTextBicim(int kind, double maximum, Qt::Alignment alignment, int /*reserved*/,
                       int decimals, int grouping) {
    setTextTip(kind);
    if (m_kind == Sayi) {
        // Ordinary typing is off: the digit buffer takes every key.
        setReadOnly(true);
        m_autoSelect = true;
        setMaxLenght(maximum);
        m_buffer.decimals = decimals;
        m_group = grouping;
    } else if (m_kind == Tarih) {
        m_autoSelect = true;
        setAlignment(alignment);
    }
}

void xtext::showNumber() {
    setText(entry::numberDisplay(m_buffer.text, m_buffer.decimals, m_group));
    setCursorPosition(int(text().size()));
}

void xtext::dateChanged() {
    setToolTip(entry::dateToolTip(text()));
    emit Change();
}

void xtext::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        focusNextChild();
        return;
    case Qt::Key_Up:
        focusPreviousChild();
        return;
    case Qt::Key_Delete:
        if (m_locked)
            return;
        clear();
        m_buffer.clear();
        emit Change();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (m_kind == Tarih)
            m_dateFresh = false;
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    emit KeyDown(key, event->modifiers() & Qt::ShiftModifier);
    if (m_kind == Metin) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Keys that type nothing (Shift, Home, the F-keys) leave the number or
    // the date as it is, and a fresh entry stays fresh.
    const QChar c = entry::typedChar(*event);
    if (m_locked || c.isNull()) {
        event->ignore();
        return;
    }
    if (m_kind == Sayi) {
        if (m_buffer.type(c) == entry::DigitBuffer::Result::Refused)
            QApplication::beep();
        showNumber();
        emit Change();
        return;
    }
    // Date: the first key after entering replaces the old date.
    if (m_dateFresh) {
        m_dateFresh = false;
        setText(QString());
    }
    if (c == u'\b')
        setText(entry::dateBackspace(text()));
    else if (c.isDigit() && c.unicode() < 128)
        setText(entry::dateDigit(text(), c));
    else
        return;
    setCursorPosition(int(text().size()));
    dateChanged();
}

void xtext::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    applyColours(true);
    m_buffer.fresh = true;
    m_dateFresh = m_kind == Tarih;
    if (m_autoSelect)
        selectAll();
}

void xtext::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    applyColours(false);
    if (m_kind == Sayi)
        showNumber();
    else if (m_kind == Tarih)
        setText(entry::dateOnLeaving(text()));
}
