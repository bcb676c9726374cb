#include "screens/statement/tah2.h"

#include "controls/dclist.h"
#include "controls/pencere.h"
#include "controls/xtext.h"
#include "printing/printwithsetup.h"
#include "printing/prnx.h"
#include "screens/collection/kastah.h"
#include "screens/statement/statementprint.h"
#include "startup/gui/colours.h"
#include "startup/gui/picture.h"

#include <QBrush>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString DateFormat = QStringLiteral("dd.MM.yyyy");

QString amountCell(const std::optional<Money> &m, int tlonda) {
    return m ? m->toPlain(tlonda) : QString();
}

} // namespace

tah2::tah2(Session &session, QWidget *parent)
    : QWidget(parent), m_session(session), m_printContext(session), m_name(new QLabel(this)),
      m_grid(new dclist(session.messages, this)),
      m_fullList(new QCheckBox(QStringLiteral("Tam Liste"), this)),
      m_collect(new QPushButton(QStringLiteral(" Tahsilat"), this)),
      m_copy(new QPushButton(QStringLiteral(" Kopya Makbuz"), this)),
      m_print(new QPushButton(QStringLiteral(" Yazdır"), this)) {
    setWindowTitle(QStringLiteral("Kooperatif Tahsilat"));
    const ColourTheme &theme = session.theme;
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, themeColour(theme, 40));
    setPalette(pal);

    const char16_t *labels[] = {u"Cari Kodu", u"Tarih", u"Fişno"};
    auto *form = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        auto *f = new xtext(this);
        f->setColors(themeColour(theme, 4), themeColour(theme, 10), themeColour(theme, 3),
                     themeColour(theme, 9));
        m_fields[size_t(i)] = f;
        auto *label = new QLabel(QString::fromUtf16(labels[i]), this);
        QPalette lp = label->palette();
        lp.setColor(QPalette::WindowText, themeColour(theme, 23));
        label->setPalette(lp);
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

    const int tl = session.tlonda;
    const double maximum = 999999999999.0;
    m_grid->Add(QStringLiteral("A"), QStringLiteral("ack"), QStringLiteral("Açıklama"), 190, 30);
    m_grid->Add(QStringLiteral("T"), QStringLiteral("vade"), QStringLiteral("Vade"), 90, 10);
    const std::pair<const char *, const char16_t *> amounts[] = {{"devir", u"Devir"},
                                                                 {"faiz", u"G.Zammı"},
                                                                 {"borc", u"Borç"},
                                                                 {"odeme", u"Ödenen"},
                                                                 {"kalan", u"Kalan"}};
    for (const auto &[key, caption] : amounts)
        m_grid->Add(QStringLiteral("N"), QString::fromLatin1(key), QString::fromUtf16(caption), 90,
                    maximum, 0, tl, 3);
    m_grid->Add(QStringLiteral("N"), QStringLiteral("anapara"), QString(), 0, maximum, 0, tl, 3);
    m_grid->Add(QStringLiteral("A"), QStringLiteral("evrak"), QString(), 0, 15);
    m_grid->Add(QStringLiteral("A"), QStringLiteral("bos"), QString(), 0, 15);
    m_grid->setMinimumSize(760, 300);
    m_grid->installEventFilter(this);
    connect(m_grid, &dclist::SatirChange, this, &tah2::rowChanged);
    connect(m_grid, &dclist::MouseDown, this, &tah2::gridMouse);

    if (session.pictures) {
        const QPixmap back =
            loadPicture(session.imageFile(QStringLiteral("muhback3.jpg")), session.messages);
        if (!back.isNull()) {
            QPalette bp = palette();
            bp.setBrush(QPalette::Window, QBrush(back));
            setPalette(bp);
        }
        code->setPicture(
            loadPicture(session.imageFile(QStringLiteral("go.ico")), session.messages));
        m_print->setIcon(QIcon(
            loadPicture(session.imageFile(QStringLiteral("printerm.ico")), session.messages)));
        m_collect->setIcon(
            QIcon(loadPicture(session.imageFile(QStringLiteral("check.ico")), session.messages)));
    }
    connect(m_collect, &QPushButton::clicked, this, &tah2::collect);
    connect(m_copy, &QPushButton::clicked, this, &tah2::copyReceipt);
    connect(m_print, &QPushButton::clicked, this, &tah2::print);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_fullList);
    buttons->addStretch();
    buttons->addWidget(m_collect);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_print);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    setTabOrder(m_fields[0], m_fields[1]);
    setTabOrder(m_fields[1], m_fields[2]);
    setTabOrder(m_fields[2], m_grid);
    reset();
    code->setFocus();
}

tah2::~tah2() = default;

void tah2::reset() {
    m_fields[1]->setTextValue(m_session.today().toString(DateFormat));
    m_grid->Clear();
    m_grid->setEnabled(false);
    m_copy->setEnabled(false);
    const statement::DeskSettings desk = statement::deskSettings(m_session);
    if (desk.nextReceipt > 0)
        m_fields[2]->setValue(desk.nextReceipt);
    m_faiz = desk.faiz;
}

void tah2::codeChanged() {
    m_member = data::readMember(m_session.carkart, m_fields[0]->Text());
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
    const QString code = pencere::choose(m_session, this);
    if (!code.isEmpty())
        m_fields[0]->setTextValue(code);
    m_session.selectedCode.clear();
}

void tah2::recompute() {
    m_startRow = 0;
    const QDate date = QDate::fromString(m_fields[1]->Text(), DateFormat);
    const QString kod = m_fields[0]->Text();
    const int asd = m_member ? m_member->asd : 0;
    auto st = statement::compute(m_session, kod, date, m_faiz, asd);
    if (!st) {
        // Back to the date, or the grid would ask again on every return of the focus.
        m_fields[1]->setFocus();
        return;
    }
    m_statement = std::move(st);
    m_grid->Clear();
    const int tl = m_session.tlonda;
    for (const surcharge::StatementRow &r : m_statement->rows) {
        const int row = m_grid->CreateNewCaption();
        if (row < 0)
            break;
        m_grid->setCaption(row, Ack, r.ack);
        m_grid->setCaption(row, Vade, r.vade.isValid() ? r.vade.toString(DateFormat) : QString());
        m_grid->setCaption(row, Devir, amountCell(r.devir, tl));
        m_grid->setCaption(row, Faiz, amountCell(r.faiz, tl));
        m_grid->setCaption(row, Borc, amountCell(r.borc, tl));
        m_grid->setCaption(row, Odeme, amountCell(r.odeme, tl));
        m_grid->setCaption(row, Kalan, amountCell(r.kalan, tl));
        m_grid->setCaption(row, Anapara, amountCell(r.openPrincipal, tl));
        m_grid->setCaption(row, Evrak, r.evrak);
        m_grid->setCaption(row, Bos, QString());
    }
    m_balance = m_statement->finalBalance;
    m_grid->reyaz();
    // First, then last: the closing row ends up in view.
    m_grid->ChngSat(0);
    m_grid->ChngSat(m_grid->ListCount() - 1);
}

void tah2::rowChanged(int row) {
    const QString receipt = row >= 0 && row < m_grid->ListCount()
                                ? m_grid->Caption(row, Evrak).toString().trimmed()
                                : QString();
    Session::Reprint &sel = m_session.reprint;
    if (receipt.isEmpty()) {
        m_copy->setEnabled(false);
        sel = {};
        return;
    }
    m_copy->setEnabled(true);
    sel.receiptNo = receipt;
    sel.amount = Money::parse(m_grid->Caption(row, Odeme).toString()).value_or(Money());
    sel.description = m_grid->Caption(row, Ack).toString();
    sel.date = m_grid->Caption(row, Vade).toString();
}

void tah2::openCash() {
    m_session.balance = m_balance;
    kastah cash(m_session, m_fields[0]->Text(), m_member ? m_member->isim1 : QString(), this);
    cash.exec();
    // The grid shows the new collection at once, whether or not the window
    // manager hands the focus back to it.
    m_grid->setFocus();
    recompute();
}

void tah2::collect() {
    m_member = data::readMember(m_session.carkart, m_fields[0]->Text());
    if (!m_member || m_grid->ListCount() < 1)
        return;
    m_session.reprint.receiptNo.clear();
    openCash();
}

void tah2::copyReceipt() {
    if (m_session.reprint.receiptNo.isEmpty())
        return;
    m_member = data::readMember(m_session.carkart, m_fields[0]->Text());
    if (!m_member || m_grid->ListCount() < 1)
        return;
    openCash();
}

void tah2::print() {
    if (!m_statement || !m_member)
        return;
    printing::printWithSetup(m_printContext, this, statement::presetPrinter, [this] {
        const int first =
            statement::firstPrintedRow(int(m_statement->rows.size()), m_startRow,
                                       m_fullList->isChecked(), m_printContext.settings.lineCount);
        const statement::PrintHead head{m_member->isim1,
                                        m_member->adr1,
                                        m_member->adr2,
                                        m_member->adr3,
                                        statement::cooperativeName(m_session),
                                        m_fields[1]->Text()};
        prnx printer(m_printContext);
        statement::printStatement(printer, *m_statement, first, head, m_session.tlonda);
    });
}

void tah2::gridMouse(int button, int, int row) {
    if (button != 2 || row < 0 || row >= m_grid->ListCount() ||
        m_grid->Caption(row, Ack).toString().isEmpty())
        return;
    if (!m_session.messages.ask(Messages::Icon::Question, QStringLiteral("korvane"),
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
    default:
        return false;
    }
}
