#include "screens/reports/ihtar.h"

#include "base/daynumber.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/printwithsetup.h"
#include "printing/prnx.h"
#include "screens/kit/busyrun.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/screentheme.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr double AmountMax = 999999999999.0;
constexpr double ListMaximum = 999999999999999.0;

} // namespace

ihtar::ihtar(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext), m_date(new xtext(this)),
      m_months(new xtext(this)), m_minimum(new xtext(this)),
      m_grid(new dclist(context.messages(), this)), m_progress(new QProgressBar(this)),
      m_hesapla(new QPushButton(QStringLiteral(" Hesapla"), this)),
      m_print(new QPushButton(QStringLiteral(" Yazdır"), this)),
      m_letters(new QPushButton(QStringLiteral(" Mektuplar"), this)),
      m_template(new QPushButton(QStringLiteral(" Şablon"), this)) {
    setWindowTitle(QStringLiteral("İhtar Listesi"));
    m_date->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    m_months->xTextBicim(xtext::Sayi, 600, Qt::AlignHCenter, 0, 0, 0);
    m_minimum->xTextBicim(xtext::Sayi, AmountMax, Qt::AlignRight, 0, context.tlonda(), 3);
    auto *fields = new QHBoxLayout;
    const std::pair<xtext *, const char16_t *> labelled[] = {
        {m_date, u"Tarih"},
        {m_months, u"Şu Kadar Aydan Eski"},
        {m_minimum, u"ya da Borcu Şundan Çok"}};
    for (const auto &[field, text] : labelled) {
        auto *label = new QLabel(QString::fromUtf16(text), this);
        label->setBuddy(field);
        fields->addWidget(label);
        fields->addWidget(field, 1);
        connect(field, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_Escape)
                close();
            else if (key == Qt::Key_F5)
                hesapla();
            else if (key == Qt::Key_F8)
                print();
        });
    }

    m_grid->Add(QStringLiteral("A"), QStringLiteral("kod"), QStringLiteral("Kod"), 70, 15);
    m_grid->Add(QStringLiteral("A"), QStringLiteral("isim"), QStringLiteral("İsim"), 170, 35);
    const QStringList ages = generallist::ageCaptions();
    for (int i = 0; i < surcharge::AgeCount; ++i)
        m_grid->Add(QStringLiteral("N"), QStringLiteral("yas%1").arg(i + 1), ages[i], 90,
                    ListMaximum, 0, context.tlonda(), 3);
    m_grid->Add(QStringLiteral("N"), QStringLiteral("gecikme"), QStringLiteral("Gecikme"), 90,
                ListMaximum, 0, context.tlonda(), 3);
    m_grid->Add(QStringLiteral("N"), QStringLiteral("kalan"), QStringLiteral("Kalan"), 100,
                ListMaximum, 0, context.tlonda(), 3);
    m_grid->setMinimumSize(900, 320);
    m_grid->installEventFilter(this);

    m_progress->setVisible(false);
    for (QPushButton *b : {m_hesapla, m_print, m_letters, m_template})
        b->setAutoDefault(true);
    connect(m_hesapla, &QPushButton::clicked, this, &ihtar::hesapla);
    connect(m_print, &QPushButton::clicked, this, &ihtar::print);
    connect(m_letters, &QPushButton::clicked, this, &ihtar::letters);
    connect(m_template, &QPushButton::clicked, this, &ihtar::editTemplate);
    QHBoxLayout *buttons = screenkit::buttonRow({m_hesapla, m_print, m_letters, m_template});
    buttons->insertWidget(0, m_progress, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    m_date->setObjectName(QStringLiteral("tarih"));
    m_months->setObjectName(QStringLiteral("aylar"));
    m_minimum->setObjectName(QStringLiteral("enAz"));
    m_grid->setObjectName(QStringLiteral("liste"));
    m_progress->setObjectName(QStringLiteral("ilerleme"));
    m_hesapla->setObjectName(QStringLiteral("hesapla"));
    m_print->setObjectName(QStringLiteral("yazdir"));
    m_letters->setObjectName(QStringLiteral("mektuplar"));
    m_template->setObjectName(QStringLiteral("sablon"));
    screenkit::tabOrder(
        {m_date, m_months, m_minimum, m_grid, m_hesapla, m_print, m_letters, m_template});
    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_hesapla, QStringLiteral("check.ico")},
                         {m_print, QStringLiteral("printerm.ico")},
                         {m_letters, QStringLiteral("printerm.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);
    m_date->setTextValue(formatTrDate(context.today()));
    m_months->setTextValue(QStringLiteral("3"));
    m_date->setFocus();
}

arrears::Criteria ihtar::criteria() const {
    arrears::Criteria c;
    c.date = parseTrDate(m_date->Text());
    if (const int months = m_months->Text().toInt(); months > 0)
        c.months = months;
    if (!m_minimum->Digits().isEmpty())
        c.minimum = parseTypedAmount(m_minimum->Digits(), m_context.tlonda());
    if (!c.months && !c.minimum)
        c.months = 3;
    return c;
}

void ihtar::hesapla() {
    const arrears::Criteria c = criteria();
    std::optional<arrears::List> list;
    {
        screenkit::BusyRun busy(*m_progress, 40);
        list = arrears::build(m_context.company(), c, [&](const arrears::Progress &p) {
            busy.step(p.done, p.count, [] {});
        });
    }
    m_list = list.value_or(arrears::List{});
    m_listed = c;
    fillGrid();
}

void ihtar::fillGrid() {
    const int tl = m_context.tlonda();
    const auto addRow = [&](const QString &kod, const QString &isim,
                            const generallist::Figures &f) {
        const int row = m_grid->CreateNewCaption();
        if (row < 0)
            return;
        m_grid->setCaption(row, 0, kod);
        m_grid->setCaption(row, 1, isim);
        const QStringList amounts = generallist::ageAmounts(f, tl, false)
                                    << plainAmount(f.gecikme, tl) << plainAmount(f.kalan, tl);
        for (int col = 0; col < amounts.size(); ++col)
            m_grid->setCaption(row, col + 2, amounts[col]);
    };
    m_grid->Clear();
    const size_t room = size_t(dclist::LastRowIndex);
    for (size_t i = 0; i < m_list.rows.size() && i < room; ++i)
        addRow(m_list.rows[i].card.kod, m_list.rows[i].card.isim1, m_list.rows[i].figures);
    addRow(QString(), QString::fromUtf16(generallist::TotalCaption), m_list.toplam);
    m_grid->reyaz();
}

void ihtar::print() {
    const QString unvan = generallist::cooperativeName(m_context.company());
    printing::printWithSetup(m_printContext, this, arrears::presetPrinter, [&] {
        prnx printer(m_printContext);
        // A print that did not get through has said so.
        (void)arrears::printList(printer, m_list, m_listed, unvan, m_context.tlonda());
    });
}

void ihtar::letters() {
    if (m_list.rows.empty()) {
        m_context.messages().information(QStringLiteral("Listede ihtar yazılacak üye yok."));
        return;
    }
    const auto text = arrears::letterTemplate(m_context.company());
    if (!text)
        return; // said why
    const QString unvan = generallist::cooperativeName(m_context.company());
    printing::printWithSetup(m_printContext, this, arrears::presetLettersPrinter, [&] {
        prnx printer(m_printContext);
        (void)arrears::printLetters(printer, m_list, *text, m_listed, unvan, m_context.tlonda(),
                                    m_context.tlnick());
    });
}

void ihtar::editTemplate() {
    const auto text = arrears::letterTemplate(m_context.company());
    if (!text)
        return;
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("İhtar Mektubu Şablonu"));
    auto *help =
        new QLabel(QStringLiteral("Alanlar: {unvan} {kod} {isim} {adres} {tarih} {borc} {anapara} "
                                  "{gecikme} {eski} {aylar} {yas1} … {yas5} {tlnick}"),
                   &dialog);
    help->setWordWrap(true);
    auto *editor = new QPlainTextEdit(*text, &dialog);
    editor->setObjectName(QStringLiteral("sablonMetni"));
    editor->setMinimumSize(640, 420);
    auto *box = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, &dialog);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(help);
    layout->addWidget(editor, 1);
    layout->addWidget(box);
    if (dialog.exec() == QDialog::Accepted)
        (void)arrears::saveTemplate(m_context.company(), editor->toPlainText());
}

bool ihtar::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_grid || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape) {
        m_date->setFocus();
        return true;
    }
    if (key->key() == Qt::Key_F8) {
        print();
        return true;
    }
    return false;
}
