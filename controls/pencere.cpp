#include "controls/pencere.h"

#include "controls/dclist.h"
#include "controls/xtext.h"
#include "core/company.h"
#include "data/membersearch.h"
#include "gui/screencontext.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// The order of the last window accepted: 0 by code, 1 by name.
int lastOrder = 0;

} // namespace

pencere::pencere(ScreenContext &context, QWidget *parent, const QString &previous)
    : QDialog(parent), m_context(context), m_text(new QLineEdit(this)),
      m_order(new QComboBox(this)), m_contains(new QCheckBox(QStringLiteral("İçinde Ara"), this)),
      m_list(new dclist(context.messages(), this)),
      m_ok(new QPushButton(QStringLiteral("&Tamam"), this)),
      m_cancel(new QPushButton(QStringLiteral("&Vazgeç"), this)), m_previousCode(previous),
      m_chosen(previous) {
    setWindowTitle(QStringLiteral("Hesap Seçimi"));
    setModal(true);
    m_order->addItems({QStringLiteral("Koda Göre"), QStringLiteral("Ada Göre")});
    m_order->setCurrentIndex(lastOrder == 1 ? 1 : 0);
    m_text->setMaxLength(50);

    m_list->Add(QStringLiteral("a"), QStringLiteral("kod"), QStringLiteral("Hesap Kodu"), 100, 15,
                6);
    m_list->Add(QStringLiteral("a"), QStringLiteral("isim"), QStringLiteral("Hesap Adı"), 280, 35,
                0);
    m_list->setMinimumSize(400, 300);

    // Enter belongs to the focused control, not to a default button.
    for (QPushButton *b : {m_ok, m_cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *search = new QHBoxLayout;
    search->addWidget(m_text, 1);
    search->addWidget(m_order);
    search->addWidget(m_contains);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QGridLayout(this);
    layout->addLayout(search, 0, 0);
    layout->addWidget(m_list, 1, 0);
    layout->addLayout(buttons, 2, 0);
    setTabOrder(m_text, m_order);
    setTabOrder(m_order, m_contains);
    setTabOrder(m_contains, m_list);

    for (QObject *o : {static_cast<QObject *>(m_text), static_cast<QObject *>(m_order),
                       static_cast<QObject *>(m_contains), static_cast<QObject *>(m_list),
                       static_cast<QObject *>(m_list->viewport())})
        o->installEventFilter(this);

    connect(m_text, &QLineEdit::textChanged, this, [this] { refill(); });
    connect(m_order, &QComboBox::currentIndexChanged, this, [this] { refill(); });
    connect(m_contains, &QCheckBox::toggled, this, [this] { refill(); });
    connect(m_ok, &QPushButton::clicked, this, &pencere::accept);
    connect(m_cancel, &QPushButton::clicked, this, &pencere::reject);
    refill();
}

QString pencere::choose(ScreenContext &context, QWidget *parent, const QString &previous) {
    pencere w(context, parent, previous);
    if (!w.m_failed)
        w.exec();
    return w.m_chosen;
}

bool pencere::chooseInto(ScreenContext &context, xtext &field, QWidget *parent) {
    const QString code = choose(context, parent);
    if (code.isEmpty())
        return false;
    field.setTextValue(code);
    return true;
}

bool pencere::refill() {
    if (m_failed)
        return false;
    m_list->Clear();
    std::vector<data::MemberMatch> found;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = data::searchMembers(m_context.company().data, m_text->text(),
                                        data::MemberOrder(m_order->currentIndex() == 1 ? 1 : 0),
                                        m_contains->isChecked(), &found);
    if (ok) {
        for (const data::MemberMatch &m : found) {
            const int row = m_list->CreateNewCaption();
            if (row < 0)
                break;
            m_list->setCaption(row, 0, m.kod);
            m_list->setCaption(row, 1, m.isim1);
        }
        m_list->reyaz();
    }
    QApplication::restoreOverrideCursor();
    if (!ok) {
        m_failed = true;
        m_context.messages().show(Messages::Icon::Warning, QStringLiteral("Korvane Muhasebe"),
                                  QStringLiteral("Sql Yaratılamıyor"));
        m_chosen = m_previousCode;
        QDialog::reject();
    }
    return ok;
}

void pencere::accept() {
    lastOrder = m_order->currentIndex() == 1 ? 1 : 0;
    // The code of the cursor row; after a refill there is none until the
    // clerk picks one, and the buffers still hold the old list's row.
    const int row = m_list->CurSat();
    m_chosen = row >= 0 && row < m_list->ListCount()
                   ? m_list->TextByName(QStringLiteral("kod")).trimmed()
                   : QString();
    QDialog::accept();
}

void pencere::reject() {
    m_chosen.clear();
    QDialog::reject();
}

void pencere::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    m_text->setFocus();
}

bool pencere::eventFilter(QObject *watched, QEvent *event) {
    const bool inGrid = watched == m_list || watched == m_list->viewport();
    if (event->type() == QEvent::MouseButtonDblClick && inGrid) {
        // Let the grid move its cursor to the clicked row first.
        QTimer::singleShot(0, this, &pencere::accept);
        return false;
    }
    if (watched == m_text && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, m_text, &QLineEdit::selectAll);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (inGrid) {
        if (enter) {
            accept();
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_text->setFocus();
            return true;
        }
        return false;
    }
    if (enter) {
        focusNextChild();
        return true;
    }
    if (key == Qt::Key_Escape) {
        reject();
        return true;
    }
    return false;
}
