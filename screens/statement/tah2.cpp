#include "screens/statement/tah2.h"

#include "actions/statement/statementprint.h"
#include "base/daynumber.h"
#include "controls/dclist.h"
#include "controls/pencere.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/printwithsetup.h"
#include "printing/prnx.h"
#include "screens/collection/iptaller.h"
#include "screens/collection/kastah.h"
#include "screens/collection/makbuziptal.h"
#include "screens/kit/screentheme.h"
#include "screens/kit/statementgrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

tah2::tah2(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext), m_name(new QLabel(this)),
      m_grid(new dclist(context.messages(), this)),
      m_fullList(new QCheckBox(QStringLiteral("Tam Liste"), this)),
      m_collect(new QPushButton(QStringLiteral(" Tahsilat"), this)),
      m_copy(new QPushButton(QStringLiteral(" Kopya Makbuz"), this)),
      m_void(new QPushButton(QStringLiteral(" Makbuz İptal"), this)),
      m_voids(new QPushButton(QStringLiteral(" İptaller"), this)),
      m_print(new QPushButton(QStringLiteral(" Yazdır"), this)) {
    setWindowTitle(QStringLiteral("Kooperatif Tahsilat"));

    const char16_t *labels[] = {u"Cari Kodu", u"Tarih", u"Fişno"};
    auto *form = new QGridLayout;
    const char *names[] = {"kod", "tarih", "fisno"};
    for (int i = 0; i < 3; ++i) {
        auto *f = new xtext(this);
        f->setObjectName(QString::fromLatin1(names[i]));
        m_fields[size_t(i)] = f;
        auto *label = new QLabel(QString::fromUtf16(labels[i]), this);
        label->setBuddy(f);
        form->addWidget(label, i, 0);
        form->addWidget(f, i, 1);
        connect(f, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_F2)
                lookup();
            else if (key == Qt::Key_Escape)
                close();
        });
    }
    xtext *code = m_fields[0];
    code->xTextBicim(xtext::Metin, 15, Qt::AlignLeft, 0, 0, 0);
    code->setButton(true);
    m_fields[1]->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    m_fields[2]->xTextBicim(xtext::Sayi, 999999999, Qt::AlignRight, 0, 0, 0);
    m_fields[2]->setLocked(true);
    // Every change of the code, typed or chosen, looks the card up.
    connect(code, &QLineEdit::textChanged, this, &tah2::codeChanged);
    connect(code, &xtext::ButtonClick, this, &tah2::lookup);

    auto *unvanLabel = new QLabel(QStringLiteral("Ünvanı"), this);
    m_name->setMinimumSize(320, 70);
    m_name->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_name->setFrameShape(QFrame::StyledPanel);
    form->addWidget(unvanLabel, 0, 2);
    form->addWidget(m_name, 0, 3, 3, 1);
    form->setColumnStretch(3, 1);

    screenkit::addStatementColumns(*m_grid, context.tlonda());
    m_grid->setMinimumSize(760, 300);
    m_grid->installEventFilter(this);
    connect(m_grid, &dclist::SatirChange, this, &tah2::rowChanged);
    connect(m_grid, &dclist::MouseDown, this, &tah2::gridMouse);

    connect(m_collect, &QPushButton::clicked, this, &tah2::collect);
    connect(m_copy, &QPushButton::clicked, this, &tah2::copyReceipt);
    connect(m_void, &QPushButton::clicked, this, &tah2::voidReceipt);
    connect(m_voids, &QPushButton::clicked, this, &tah2::showVoids);
    connect(m_print, &QPushButton::clicked, this, &tah2::print);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_fullList);
    buttons->addStretch();
    buttons->addWidget(m_collect);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_void);
    buttons->addWidget(m_voids);
    buttons->addWidget(m_print);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    setTabOrder(m_fields[0], m_fields[1]);
    setTabOrder(m_fields[1], m_fields[2]);
    setTabOrder(m_fields[2], m_grid);
    m_name->setObjectName(QStringLiteral("unvan"));
    m_grid->setObjectName(QStringLiteral("liste"));
    m_fullList->setObjectName(QStringLiteral("tamListe"));
    m_collect->setObjectName(QStringLiteral("tahsilat"));
    m_copy->setObjectName(QStringLiteral("kopya"));
    m_void->setObjectName(QStringLiteral("iptal"));
    m_voids->setObjectName(QStringLiteral("iptaller"));
    m_print->setObjectName(QStringLiteral("yazdir"));
    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_print, QStringLiteral("printerm.ico")},
                         {m_collect, QStringLiteral("check.ico")}};
    parts.fieldPictures = {{code, QStringLiteral("go.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);
    reset();
    code->setFocus();
}

tah2::~tah2() = default;

void tah2::reset() {
    m_fields[1]->setTextValue(formatTrDate(m_context.today()));
    m_grid->Clear();
    m_grid->setEnabled(false);
    m_copy->setEnabled(false);
    m_void->setEnabled(false);
    const statement::DeskSettings desk = statement::deskSettings(m_context.company());
    if (desk.nextReceipt > 0)
        m_fields[2]->setValue(desk.nextReceipt);
    m_faiz = desk.faiz;
}

void tah2::codeChanged() {
    m_member = statement::member(m_context.company(), m_fields[0]->Text());
    if (!m_member) {
        m_name->clear();
        m_grid->setEnabled(false);
        return;
    }
    m_name->setText(
        QStringList{m_member->isim1, m_member->isim2, m_member->adr1, m_member->adr2}.join(
            QLatin1Char('\n')));
    m_grid->setEnabled(true);
}

void tah2::lookup() {
    pencere::chooseInto(m_context, *m_fields[0], this);
}

void tah2::recompute() {
    m_startRow = 0;
    const QDate date = parseTrDate(m_fields[1]->Text());
    const QString kod = m_fields[0]->Text();
    const int asd = m_member ? m_member->asd : 0;
    auto st = statement::compute(m_context.company(), kod, date, m_faiz, asd);
    if (!st) {
        // Back to the date, or the grid would ask again on every return of the focus.
        m_fields[1]->setFocus();
        return;
    }
    m_statement = std::move(st);
    m_statementOf = {kod, date};
    screenkit::showStatement(*m_grid, *m_statement, m_context.tlonda());
    m_balance = m_statement->finalBalance;
    // First, then last: the closing row ends up in view.
    m_grid->ChngSat(0);
    m_grid->ChngSat(m_grid->ListCount() - 1);
}

void tah2::rowChanged(int row) {
    // The grid shows the statement's rows in their order; it never sorts them.
    const surcharge::StatementRow *r =
        m_statement && row >= 0 && size_t(row) < m_statement->rows.size()
            ? &m_statement->rows[size_t(row)]
            : nullptr;
    if (!r || r->evrak.trimmed().isEmpty()) {
        m_copy->setEnabled(false);
        m_void->setEnabled(false);
        m_selected.reset();
        return;
    }
    m_copy->setEnabled(true);
    m_void->setEnabled(true);
    m_selected = collection::Earlier{.receiptNo = r->evrak.trimmed(),
                                     .amount = r->odeme.value_or(Money()),
                                     .description = r->ack,
                                     .date = formatTrDate(r->vade)};
}

void tah2::openCash(std::optional<collection::Earlier> earlier) {
    kastah cash(m_context, m_printContext, m_fields[0]->Text(),
                m_member ? m_member->isim1 : QString(), m_balance, std::move(earlier), this);
    cash.exec();
    // The grid shows the new collection at once, whether or not the window
    // manager hands the focus back to it, and "Fişno" the next number.
    m_grid->setFocus();
    recompute();
    if (const qint32 next = statement::nextReceipt(m_context.company()); next > 0)
        m_fields[2]->setValue(next);
}

bool tah2::statementShown() {
    // The grid may still hold the member before this one, or another date:
    // the cash screen takes the balance of the member in the code field.
    const std::pair<QString, QDate> wanted{m_fields[0]->Text(), parseTrDate(m_fields[1]->Text())};
    if (!m_statement || m_statementOf != wanted)
        recompute();
    return m_statement && m_statementOf == wanted && m_grid->ListCount() > 0;
}

void tah2::collect() {
    m_member = statement::member(m_context.company(), m_fields[0]->Text());
    if (!m_member || !statementShown())
        return;
    openCash(std::nullopt);
}

void tah2::copyReceipt() {
    if (!m_selected)
        return;
    m_member = statement::member(m_context.company(), m_fields[0]->Text());
    if (!m_member || !statementShown())
        return;
    openCash(m_selected);
}

void tah2::voidReceipt() {
    if (!m_selected)
        return;
    makbuziptal dialog(m_context, m_fields[0]->Text(), m_member ? m_member->isim1 : QString(),
                       *m_selected, this);
    dialog.exec();
    // The reversal shows in the grid at once.
    m_grid->setFocus();
    recompute();
}

void tah2::showVoids() {
    iptaller list(m_context, m_printContext, this);
    list.exec();
}

void tah2::print() {
    // Before any statement the grid is empty: the setup still opens, and the
    // page holds the totals alone.
    const surcharge::Statement none;
    const surcharge::Statement &st = m_statement ? *m_statement : none;
    const data::MemberCard card = m_member.value_or(data::MemberCard{});
    printing::printWithSetup(m_printContext, this, statement::presetPrinter, [&] {
        const int first =
            statement::firstPrintedRow(int(st.rows.size()), m_startRow, m_fullList->isChecked(),
                                       m_printContext.settings.lineCount);
        const statement::PrintHead head{card.isim1,
                                        card.adr1,
                                        card.adr2,
                                        card.adr3,
                                        statement::cooperativeName(m_context.company()),
                                        m_fields[1]->Text()};
        prnx printer(m_printContext);
        // A print that did not get through has said so.
        (void)statement::printStatement(printer, st, first, head, m_context.tlonda());
    });
}

void tah2::gridMouse(int button, int, int row) {
    if (button != 2 || row < 0 || row >= m_grid->ListCount() ||
        m_grid->Caption(row, screenkit::Ack).toString().isEmpty())
        return;
    if (!m_context.messages().ask(Messages::Icon::Question, QStringLiteral("korvane"),
                                  QStringLiteral("Bulunduğunuz Satırdan itibaren yazdırılsın?"),
                                  false))
        return;
    m_startRow = row;
    print();
}

bool tah2::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_grid)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        recompute();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Escape:
        m_fields[0]->setFocus();
        return true;
    case Qt::Key_F5:
        collect();
        return true;
    case Qt::Key_F8:
        print();
        return true;
    case Qt::Key_F9:
        voidReceipt();
        return true;
    default:
        return false;
    }
}
