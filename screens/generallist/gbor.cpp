#include "screens/generallist/gbor.h"

#include "actions/generallist/generallistprint.h"
#include "base/daynumber.h"
#include "controls/dclist.h"
#include "controls/pencere.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/printwithsetup.h"
#include "printing/prnx.h"
#include "screens/kit/busyrun.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/screentheme.h"
#include "screens/kit/statementgrid.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int CodeLength = 15; // as the card holds it
constexpr double ListMaximum = 999999999999999.0;
constexpr int AmountColumnWidth = 110;

} // namespace

gbor::gbor(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext),
      m_statement(new dclist(context.messages(), this)),
      m_list(new dclist(context.messages(), this)),
      m_rules(new QCheckBox(QStringLiteral(" Çizgi Çekilsinn"), this)),
      m_aging(new QCheckBox(QStringLiteral("Yaşlandırma"), this)),
      m_progress(new QProgressBar(this)),
      m_hesapla(new QPushButton(QStringLiteral(" Hesapla"), this)),
      m_print(new QPushButton(QStringLiteral(" Yazdır"), this)) {
    setWindowTitle(QStringLiteral("Genel Borç Dökümü"));

    const char16_t *labels[] = {u"İlk Cari", u"Tarih", u"Son Cari"};
    const char *names[] = {"ilkCari", "tarih", "sonCari"};
    auto *fields = new QHBoxLayout;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        auto *f = new xtext(this);
        f->setObjectName(QString::fromLatin1(names[i]));
        m_fields[i] = f;
        auto *label = new QLabel(QString::fromUtf16(labels[i]), this);
        label->setBuddy(f);
        fields->addWidget(label);
        fields->addWidget(f, 1);
        connect(f, &xtext::KeyDown, this, [this, f](int key, bool) {
            if (key == Qt::Key_Escape)
                close();
            else if (key == Qt::Key_F2 && f != m_fields[1])
                lookup(f);
            else if (key == Qt::Key_F5)
                hesapla();
            else if (key == Qt::Key_F8)
                print();
        });
    }
    for (xtext *code : {m_fields[0], m_fields[2]}) {
        code->xTextBicim(xtext::Metin, CodeLength, Qt::AlignLeft, 0, 0, 0);
        code->setButton(true);
        connect(code, &xtext::ButtonClick, this, [this, code] { lookup(code); });
    }
    m_fields[1]->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);

    screenkit::addStatementColumns(*m_statement, context.tlonda(), screenkit::EmptyColumn::Without);
    m_statement->setMinimumSize(790, 180);
    const QStringList captions = generallist::captions();
    m_list->Add(QStringLiteral("A"), QStringLiteral("kod"), captions[generallist::Kod], 100,
                CodeLength);
    m_list->Add(QStringLiteral("A"), QStringLiteral("isim"), captions[generallist::Isim], 220, 35);
    const char *keys[] = {"borc", "odenen", "gecikme", "kalan", "yas1",
                          "yas2", "yas3",   "yas4",    "yas5"};
    // The ages stay hidden until "Yaşlandırma" is ticked.
    for (int col = generallist::Borc; col <= generallist::Yas5; ++col)
        m_list->Add(QStringLiteral("N"), QString::fromLatin1(keys[col - generallist::Borc]),
                    captions[col], col < generallist::Yas1 ? AmountColumnWidth : 0, ListMaximum, 0,
                    context.tlonda(), 3);
    m_list->setMinimumSize(790, 260);
    for (dclist *grid : {m_statement, m_list})
        grid->installEventFilter(this);

    m_progress->setVisible(false);
    for (QPushButton *b : {m_hesapla, m_print})
        b->setAutoDefault(true);
    connect(m_hesapla, &QPushButton::clicked, this, &gbor::hesapla);
    connect(m_print, &QPushButton::clicked, this, &gbor::print);
    connect(m_aging, &QCheckBox::toggled, this, &gbor::showAges);
    QHBoxLayout *buttons = screenkit::buttonRow({m_hesapla, m_print});
    buttons->insertWidget(0, m_rules);
    buttons->insertWidget(1, m_aging);
    buttons->insertWidget(2, m_progress, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_statement, 2);
    layout->addWidget(m_list, 3);
    layout->addLayout(buttons);

    screenkit::tabOrder({m_fields[0], m_fields[1], m_fields[2], m_statement, m_list, m_rules,
                         m_aging, m_hesapla, m_print});
    m_statement->setObjectName(QStringLiteral("ekstre"));
    m_list->setObjectName(QStringLiteral("liste"));
    m_rules->setObjectName(QStringLiteral("cizgi"));
    m_aging->setObjectName(QStringLiteral("yaslandirma"));
    m_progress->setObjectName(QStringLiteral("ilerleme"));
    m_hesapla->setObjectName(QStringLiteral("hesapla"));
    m_print->setObjectName(QStringLiteral("yazdir"));
    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_hesapla, QStringLiteral("check.ico")},
                         {m_print, QStringLiteral("printerm.ico")}};
    parts.fieldPictures = {{m_fields[0], QStringLiteral("go.ico")},
                           {m_fields[2], QStringLiteral("go.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);

    const generallist::Opening opening = generallist::open(context.company());
    m_faiz = opening.faiz;
    m_fields[1]->setTextValue(formatTrDate(context.today()));
    m_fields[0]->setTextValue(opening.firstCode);
    m_fields[2]->setTextValue(opening.lastCode);
    m_fields[0]->setFocus();
}

void gbor::showAges(bool shown) {
    for (int col = generallist::Yas1; col <= generallist::Yas5; ++col)
        m_list->setSize(col, shown ? AmountColumnWidth : 0);
    m_list->reyaz();
}

void gbor::lookup(xtext *field) {
    pencere::chooseInto(m_context, *field, this);
}

void gbor::showStatement() {
    const auto st = generallist::statementOf(m_context.company(), m_fields[0]->Text(),
                                             parseTrDate(m_fields[1]->Text()), m_faiz);
    if (!st) {
        // Back to the date, or the grid would ask again on every return of the focus.
        m_fields[1]->setFocus();
        return;
    }
    screenkit::showStatement(*m_statement, *st, m_context.tlonda(), false);
    m_statement->ChngSat(0);
    m_statement->ChngSat(m_statement->ListCount() - 1);
}

void gbor::hesapla() {
    xtext *first = m_fields[0];
    const QString firstCode = first->Text();
    const QString date = m_fields[1]->Text();
    m_list->Clear();
    m_statement->Clear();
    m_statement->setEnabled(false);
    std::optional<generallist::List> list;
    {
        screenkit::BusyRun busy(*m_progress, 40);
        list =
            generallist::build(m_context.company(), firstCode, m_fields[2]->Text(),
                               parseTrDate(date), m_faiz, [&](const generallist::Progress &p) {
                                   busy.step(p.done, p.count, [&] { first->setTextValue(p.kod); });
                               });
    }
    first->setTextValue(firstCode);
    m_statement->reyaz();
    m_statement->setEnabled(true);
    m_figures = list.value_or(generallist::List{});
    m_listDate = date;
    fillList();
}

void gbor::fillList() {
    const int tl = m_context.tlonda();
    const auto addRow = [&](const QString &kod, const QString &isim,
                            const generallist::Figures &f) {
        const int row = m_list->CreateNewCaption();
        if (row < 0)
            return;
        m_list->setCaption(row, generallist::Kod, kod);
        m_list->setCaption(row, generallist::Isim, isim);
        const QStringList amounts =
            generallist::plainAmounts(f, tl) + generallist::ageAmounts(f, tl, false);
        for (int col = generallist::Borc; col <= generallist::Yas5; ++col)
            m_list->setCaption(row, col, amounts[col - generallist::Borc]);
    };
    m_list->Clear();
    // The grid's last row is the totals row even when the grid is full.
    const size_t room = size_t(dclist::LastRowIndex);
    for (size_t i = 0; i < m_figures.rows.size() && i < room; ++i)
        addRow(m_figures.rows[i].kod, m_figures.rows[i].isim, m_figures.rows[i].figures);
    addRow(QString(), QString::fromUtf16(generallist::TotalCaption), m_figures.toplam);
    m_list->reyaz();
}

void gbor::print() {
    const bool aging = m_aging->isChecked();
    printing::printWithSetup(
        m_printContext, this, aging ? generallist::presetAgingPrinter : generallist::presetPrinter,
        [&] {
            const generallist::PrintHead head{m_fields[1]->Text(),
                                              generallist::cooperativeName(m_context.company())};
            prnx printer(m_printContext);
            // A print that did not get through has said so.
            (void)generallist::printList(printer, m_figures, head, m_rules->isChecked(),
                                         m_context.tlonda(), aging);
        });
}

void gbor::exportList() {
    m_list->SendExel(QString::fromUtf16(generallist::PrintTitle), m_listDate,
                     generallist::cooperativeName(m_context.company()), QString());
}

bool gbor::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_statement && event->type() == QEvent::FocusIn) {
        showStatement();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((watched == m_statement || watched == m_list) && key->key() == Qt::Key_Escape) {
        m_fields[0]->setFocus();
        return true;
    }
    if (watched == m_list && key->key() == Qt::Key_E &&
        key->modifiers().testFlag(Qt::ControlModifier)) {
        exportList();
        return true;
    }
    if (watched == m_list && key->key() == Qt::Key_F8) {
        print();
        return true;
    }
    return false;
}
