#include "screens/kit/help.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace screenkit {

namespace {

const char *const SectionProperty = "kilavuzBolumu";

// The window of the manual, with the manual read once.
class Manual : public QDialog {
  public:
    Manual() : m_text(new QTextBrowser(this)) {
        setWindowTitle(QStringLiteral("Korvane Koop Kullanım Kılavuzu"));
        setAttribute(Qt::WA_DeleteOnClose);
        m_text->setObjectName(QStringLiteral("kilavuz"));
        m_text->setOpenExternalLinks(true);
        m_text->setSource(QUrl(QStringLiteral("qrc:/kilavuz/kullanim.md")),
                          QTextDocument::MarkdownResource);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_text);
        resize(860, 700);
    }

    // The first heading that holds `section` at the top of the window.
    void show(const QString &section) {
        QDialog::show();
        raise();
        activateWindow();
        QTextDocument *doc = m_text->document();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            if (b.blockFormat().headingLevel() == 0 || section.isEmpty() ||
                !b.text().contains(section))
                continue;
            QTextCursor at(b);
            m_text->setTextCursor(at);
            const qreal top = doc->documentLayout()->blockBoundingRect(b).top();
            m_text->verticalScrollBar()->setValue(int(top));
            return;
        }
        m_text->verticalScrollBar()->setValue(0);
    }

  private:
    QTextBrowser *m_text;
};

QPointer<Manual> manual;

// The section of the widget's window, or of the window that opened it.
QString sectionOf(QWidget *w) {
    while (w) {
        QWidget *window = w->window();
        const QVariant v = window->property(SectionProperty);
        if (v.isValid())
            return v.toString();
        w = window->parentWidget();
    }
    return QString();
}

class HelpKey : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1 || !watched->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(watched);
        // The manual itself: F1 there changes nothing.
        if (manual && w->window() == manual)
            return true;
        openManual(sectionOf(w));
        return true;
    }
};

} // namespace

QString helpSection(const QString &key) {
    return u'(' + key + u')';
}

void setHelpSection(QWidget &window, const QString &section) {
    window.setProperty(SectionProperty, section);
}

void installHelpKey(QApplication &app) {
    app.installEventFilter(new HelpKey(&app));
}

QWidget *openManual(const QString &section) {
    if (!manual)
        manual = new Manual;
    manual->show(section);
    return manual;
}

} // namespace screenkit
