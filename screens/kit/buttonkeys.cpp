#include "screens/kit/buttonkeys.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSet>

namespace screenkit {

namespace {

// Lives as the screen's child, so it goes with the screen.
class ButtonKeys : public QObject {
  public:
    explicit ButtonKeys(QWidget &screen) : QObject(&screen), m_screen(screen) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::FocusIn && event->type() != QEvent::KeyPress)
            return false;
        // Null while a button is being destroyed: its focus may still move.
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (!button)
            return false;
        if (event->type() == QEvent::FocusIn) {
            // The style draws the frame only after a Tab; Enter and the
            // screens' own moves count as much.
            button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
            return false;
        }
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        switch (key->key()) {
        case Qt::Key_Escape:
            m_screen.close();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!qobject_cast<QPushButton *>(button))
                return false;
            button->click();
            return true;
        default:
            return false;
        }
    }

  private:
    QWidget &m_screen;
};

// Letters an Alt key reaches: the Latin ones on every keyboard, then the
// Turkish ones on the office's; never the dotted or dotless i, which a
// Turkish layout and Qt's upper-casing read differently.
bool mnemonicLetter(QChar c, bool turkish) {
    const char16_t u = c.toLower().unicode();
    if (u >= u'a' && u <= u'z')
        return u != u'i';
    return turkish && QStringView(u"çğöşü").contains(QChar(u));
}

void giveMnemonic(QAbstractButton &button, QSet<char16_t> &used) {
    const QString text = button.text();
    std::vector<qsizetype> order;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (i == 0 || !text[i - 1].isLetterOrNumber())
            order.push_back(i);
    for (qsizetype i = 0; i < text.size(); ++i)
        order.push_back(i);
    for (const bool turkish : {false, true}) {
        for (const qsizetype i : order) {
            const QChar c = text[i];
            if (!mnemonicLetter(c, turkish) || used.contains(c.toLower().unicode()))
                continue;
            used.insert(c.toLower().unicode());
            button.setText(QString(text).insert(i, u'&'));
            return;
        }
    }
}

} // namespace

char16_t mnemonicOf(const QString &text) {
    // Qt's own reading, so that the letter is the one Alt reaches.
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    return mnemonic.isEmpty() ? 0 : QChar(char16_t(mnemonic[0].key())).toLower().unicode();
}

void buttonKeys(QWidget &screen) {
    auto *keys = new ButtonKeys(screen);
    QSet<char16_t> used;
    for (const QAbstractButton *b : screen.findChildren<QAbstractButton *>())
        if (const char16_t m = mnemonicOf(b->text()))
            used.insert(m);
    for (const QLabel *l : screen.findChildren<QLabel *>())
        if (const char16_t m = mnemonicOf(l->text()))
            used.insert(m);
    for (QAbstractButton *b : screen.findChildren<QAbstractButton *>()) {
        b->installEventFilter(keys);
        if (qobject_cast<QPushButton *>(b) && !mnemonicOf(b->text()))
            giveMnemonic(*b, used);
    }
}

} // namespace screenkit
