#include "screens/kit/listkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace screenkit {

namespace {

// Lives as the list's child, so it goes with the list.
class ListKeys : public QObject {
  public:
    ListKeys(QWidget &list, QWidget &next, std::function<bool(int)> other)
        : QObject(&list), m_next(next), m_other(std::move(other)) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_next.setFocus();
            return true;
        case Qt::Key_Escape:
            static_cast<QWidget *>(watched)->window()->close();
            return true;
        default:
            return m_other && m_other(key);
        }
    }

  private:
    QWidget &m_next;
    std::function<bool(int)> m_other;
};

} // namespace

void listKeys(QWidget &list, QWidget &next, std::function<bool(int key)> other) {
    list.installEventFilter(new ListKeys(list, next, std::move(other)));
}

void whenEntered(QWidget &area, std::function<void()> entered) {
    const auto inArea = [&area](QWidget *w) { return w == &area || area.isAncestorOf(w); };
    QObject::connect(qApp, &QApplication::focusChanged, &area,
                     [&area, inArea, entered = std::move(entered)](QWidget *old, QWidget *now) {
                         if (now && old && inArea(now) && !inArea(old) &&
                             old->window() == area.window())
                             entered();
                     });
}

void tabOrder(const std::vector<QWidget *> &widgets) {
    for (size_t i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

} // namespace screenkit
