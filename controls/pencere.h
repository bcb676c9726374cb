#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class dclist;
class xtext;
class ScreenContext;

// The account lookup window: the clerk types part of a member's code or
// name and picks the card. The chosen code is chosenCode() (empty on
// cancel); the order choice is remembered for the next window of the process.
class pencere : public QDialog {
    Q_OBJECT
  public:
    // `previous`: the code chosen before, which a failed search leaves chosen.
    explicit pencere(ScreenContext &context, QWidget *parent = nullptr,
                     const QString &previous = QString());

    // Opens the window modally; the chosen code, empty when cancelled.
    static QString choose(ScreenContext &context, QWidget *parent,
                          const QString &previous = QString());
    // Opens the window for a code field: a chosen code goes into `field`.
    // True when a code was put.
    static bool chooseInto(ScreenContext &context, xtext &field, QWidget *parent);

    QLineEdit *TextBox1() const { return m_text; }
    QComboBox *ComboBox1() const { return m_order; }
    QCheckBox *CheckBox1() const { return m_contains; }
    dclist *dclist1() const { return m_list; }
    QPushButton *Command1() const { return m_ok; }
    QPushButton *Command2() const { return m_cancel; }
    const QString &chosenCode() const { return m_chosen; }

    // False when the search failed and the window closed.
    bool refill();
    void accept() override;
    void reject() override;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    ScreenContext &m_context;
    QLineEdit *m_text;
    QComboBox *m_order;
    QCheckBox *m_contains;
    dclist *m_list;
    QPushButton *m_ok, *m_cancel;
    // The selected code as it was: a failed search leaves it so.
    QString m_previousCode;
    QString m_chosen;
    bool m_failed = false;
};
