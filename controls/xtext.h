#pragma once

#include "controls/entry.h"

#include <QLineEdit>
#include <QPixmap>
#include <QVariant>

class QToolButton;

// The grid's and the input field's fonts from the per-user settings store
// (application "korvane", section "tavlo"): the header keys "gridbaslikfont*"
// (default tahoma 10 bold) or the row keys "griddetayfont*" (default courier
// 10 bold). Missing keys give the defaults.
enum class StoredFont { Header, Detail };
QFont storedFont(StoredFont which);

// The program's single-line input field: free text, a number typed through
// its digit buffer, or a date with automatic dots. Enter and Down move to the
// next field and Up to the previous one, so a screen fills from the keyboard.
class xtext : public QLineEdit {
    Q_OBJECT
  public:
    enum Kind { Metin = 0, Sayi = 1, Tarih = 2 };

    explicit xtext(QWidget *parent = nullptr);

    int TextTip() const { return m_kind; }
    void setTextTip(int kind);
    double MaxLenght() const { return m_max; }
    void setMaxLenght(double max);
    int Onda() const { return m_buffer.decimals; }
    void setOnda(int decimals);
    int grup() const { return m_group; }
    void setGrup(int group) { m_group = group; }
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }
    void setPassWordChar(const QString &c);
    bool Button() const;
    void setButton(bool on);
    void setPicture(const QPixmap &picture);
    void setToolText(const QString &text) { setToolTip(text); }
    bool AutoFocus() const { return m_autoFocus; }
    void setAutoFocus(bool on) { m_autoFocus = on; }
    bool Locked() const { return isReadOnly() && m_locked; }
    void setLocked(bool locked);

    QString Text() const { return text(); }
    void setTextValue(const QString &value);
    QVariant Value() const;
    // A number field's digits as typed, "." as point: exact where Value()
    // would round a long amount.
    QString Digits() const { return m_buffer.text; }
    void setValue(const QVariant &value);

    // Focus background and foreground, normal background and foreground.
    void setColors(const QColor &focusBack, const QColor &focusFore, const QColor &normalBack,
                   const QColor &normalFore);

    void xTextBicim(int kind, double maximum, Qt::Alignment alignment, int reserved, int decimals,
                    int grouping);

    // The row font of the per-user settings store.
    static QFont storedFont() { return ::storedFont(StoredFont::Detail); }

  signals:
    void Change();
    void KeyDown(int key, bool shift);
    void ButtonClick();

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    void applyKind();
    void showNumber();
    void applyColours(bool focused);
    void dateChanged();

    int m_kind = Metin;
    double m_max = 0;
    int m_group = 3;
    bool m_autoSelect = false;
    bool m_autoFocus = false;
    bool m_locked = false;
    bool m_dateFresh = false;
    QString m_password;
    entry::DigitBuffer m_buffer;
    QToolButton *m_button = nullptr;
    QColor m_colours[4];
    bool m_hasColours = false;
};
