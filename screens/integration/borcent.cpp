#include "screens/integration/borcent.h"

#include "base/daynumber.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/busyrun.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/repeatquestion.h"
#include "screens/kit/screentheme.h"
#include "screens/kit/statementgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int AccountLength = 20; // as the member card holds it
constexpr int DescriptionLength = 35;

// The section a field belongs to: 0 monthly debts, 1 collections, 2 surcharge.
size_t sectionOf(size_t field) {
    return field <= 2 ? 0 : field <= 6 ? 1 : 2;
}

} // namespace

Borcent::Borcent(ScreenContext &context, printing::PrintContext &, QWidget *parent)
    : QWidget(parent), m_context(context), m_month(new QComboBox(this)),
      m_progress(new QProgressBar(this)), m_current(new QLabel(this)),
      m_grid(new dclist(context.messages(), this)) {
    setWindowTitle(QStringLiteral("Borçlandırma Entegrasyonu"));
    for (size_t i = 0; i < m_fields.size(); ++i) {
        auto *f = new xtext(this);
        f->setObjectName(QStringLiteral("alan%1").arg(i));
        m_fields[i] = f;
        connect(f, &xtext::KeyDown, this, [this, i](int key, bool) {
            if (key == Qt::Key_F5)
                runSection(i);
            else if (key == Qt::Key_Escape)
                close();
        });
    }
    m_fields[0]->xTextBicim(xtext::Sayi, 9999, Qt::AlignHCenter, 0, 0, 0);
    for (size_t i : {3, 4, 7, 8})
        m_fields[i]->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    for (size_t i : {1, 5, 9}) {
        m_fields[i]->setMaxLenght(AccountLength);
        m_fields[i]->setMinimumWidth(120);
    }
    // Three sections side by side still fit a 1024-pixel display.
    for (size_t i : {2, 6, 10}) {
        m_fields[i]->setMaxLenght(DescriptionLength);
        m_fields[i]->setMinimumWidth(150);
    }
    m_month->setObjectName(QStringLiteral("ay"));
    for (int month = 1; month <= 12; ++month)
        m_month->addItem(trMonthName(month));
    screenkit::listKeys(*m_month, *m_fields[1], [this](int key) {
        if (key != Qt::Key_F5)
            return false;
        postDebts();
        return true;
    });

    const char16_t *titles[] = {u"Aylık Borçlandırma Entegrasyonu", u"Kasa Tahsilat İşlemleri",
                                u"Faizlerin Tahakkuk İşlemi"};
    const char *buttonNames[] = {"borcEntegre", "kasaEntegre", "faizEntegre"};
    // Per section: its fields with their labels, top to bottom.
    const std::vector<std::pair<const char16_t *, size_t>> rows[] = {
        {{u"Entegre Dönemi", 0}, {u"Alacaklı Muavin Hesap", 1}, {u"Entegre Açıklama", 2}},
        {{u"Başlangıc Tarihi", 3},
         {u"Bitiş Tarihi", 4},
         {u"Kasa Muavin Hesap", 5},
         {u"Entegre Açıklama", 6}},
        {{u"Başlangıc Tarihi", 7},
         {u"Bitiş Tarihi", 8},
         {u"Faiz Muavin Hesap", 9},
         {u"Entegre Açıklama", 10}}};
    auto *sections = new QHBoxLayout;
    for (size_t s = 0; s < 3; ++s) {
        auto *box = new QGroupBox(QString::fromUtf16(titles[s]), this);
        auto *grid = new QGridLayout(box);
        int r = 0;
        for (const auto &[label, field] : rows[s]) {
            auto *l = new QLabel(QString::fromUtf16(label), box);
            l->setBuddy(m_fields[field]);
            grid->addWidget(l, r, 0);
            if (field == 0) {
                auto *period = new QHBoxLayout;
                period->addWidget(m_fields[0]);
                period->addWidget(m_month, 1);
                grid->addLayout(period, r, 1);
            } else {
                grid->addWidget(m_fields[field], r, 1);
            }
            ++r;
        }
        auto *button = new QPushButton(QStringLiteral("Entegre Et"), box);
        button->setObjectName(QString::fromLatin1(buttonNames[s]));
        button->setAutoDefault(true);
        m_buttons[s] = button;
        grid->setRowStretch(r, 1);
        grid->addWidget(button, r + 1, 1, Qt::AlignRight);
        sections->addWidget(box);
    }
    connect(m_buttons[0], &QPushButton::clicked, this, &Borcent::postDebts);
    connect(m_buttons[1], &QPushButton::clicked, this, &Borcent::postCollections);
    connect(m_buttons[2], &QPushButton::clicked, this, &Borcent::postSurcharge);

    screenkit::addStatementColumns(*m_grid, context.tlonda());
    m_grid->setObjectName(QStringLiteral("liste"));
    m_grid->setMinimumSize(760, 260);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_progress->setObjectName(QStringLiteral("ilerleme"));
    m_progress->setVisible(false);
    m_current->setObjectName(QStringLiteral("cari"));

    auto *status = new QHBoxLayout;
    status->addWidget(m_current, 1);
    status->addWidget(m_progress, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(sections);
    layout->addWidget(m_grid, 1);
    layout->addLayout(status);

    // Section by section: its fields, then its button.
    screenkit::tabOrder({m_fields[0], m_month, m_fields[1], m_fields[2], m_buttons[0], m_fields[3],
                         m_fields[4], m_fields[5], m_fields[6], m_buttons[1], m_fields[7],
                         m_fields[8], m_fields[9], m_fields[10], m_buttons[2]});

    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_buttons[0], QStringLiteral("check.ico")},
                         {m_buttons[1], QStringLiteral("check.ico")},
                         {m_buttons[2], QStringLiteral("check.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);

    const QDate today = context.today();
    m_fields[0]->setValue(today.year());
    m_month->setCurrentIndex(today.month() - 1);
    const integration::Accounts a = integration::readAccounts(context.company());
    m_fields[1]->setTextValue(a.borchesapkod);
    m_fields[2]->setTextValue(a.borcack);
    m_fields[5]->setTextValue(a.kasahesapkod);
    m_fields[6]->setTextValue(a.kasaack);
    m_fields[9]->setTextValue(a.faizhesapkod);
    m_fields[10]->setTextValue(a.faizack);
    m_faiz = integration::surchargeRate(context.company());
    m_fields[0]->setFocus();
}

void Borcent::runSection(size_t field) {
    switch (sectionOf(field)) {
    case 0:
        postDebts();
        break;
    case 1:
        postCollections();
        break;
    default:
        postSurcharge();
        break;
    }
}

void Borcent::finished(const std::optional<int> &rows, Messages::Icon icon, const QString &text) {
    if (!rows)
        return;
    m_current->setText(QStringLiteral("%1 entegrasyon satırı yazıldı.").arg(*rows));
    m_context.messages().show(icon, Messages::korvane(), text);
}

integration::RowProgress Borcent::rowProgress(screenkit::BusyRun &busy) {
    return [this, &busy](int done, int count, const QString &kod) {
        busy.step(done, count, [&] { m_current->setText(kod); });
    };
}

bool Borcent::confirmed(integration::Kind kind, const QDate &from, const QDate &to) {
    Company &company = m_context.company();
    Messages &messages = m_context.messages();
    if (!messages.ask(Messages::Icon::Question, Messages::korvane(),
                      integration::confirmation(company, kind, from, to), false))
        return false;
    return screenkit::repeatAllowed(messages,
                                    integration::handedOverBefore(company, kind, from, to));
}

void Borcent::postDebts() {
    const auto period = integration::debtsPeriod(m_fields[0]->Text(), m_month->currentIndex() + 1);
    if (!confirmed(integration::Kind::Debts, period ? period->first : QDate(),
                   period ? period->second : QDate()))
        return;
    std::optional<int> rows;
    {
        screenkit::BusyRun busy(*m_progress, 100);
        rows = integration::postMonthlyDebts(m_context.company(), m_fields[0]->Text(),
                                             m_month->currentIndex() + 1, m_fields[1]->Text(),
                                             m_fields[2]->Text(), rowProgress(busy));
    }
    finished(rows, Messages::Icon::Information, QStringLiteral("Bitti"));
}

void Borcent::postCollections() {
    if (!confirmed(integration::Kind::Collections, parseTrDate(m_fields[3]->Text()),
                   parseTrDate(m_fields[4]->Text())))
        return;
    std::optional<int> rows;
    {
        screenkit::BusyRun busy(*m_progress, 100);
        rows = integration::postCollections(m_context.company(), m_fields[3]->Text(),
                                            m_fields[4]->Text(), m_fields[5]->Text(),
                                            m_fields[6]->Text(), rowProgress(busy));
    }
    finished(rows, Messages::Icon::Information, QStringLiteral("Bitti"));
}

void Borcent::postSurcharge() {
    if (!confirmed(integration::Kind::Surcharge, parseTrDate(m_fields[7]->Text()),
                   parseTrDate(m_fields[8]->Text())))
        return;
    std::optional<int> rows;
    {
        // The statement of a member the clerk is about to be told about is
        // on the grid while the message is.
        screenkit::BusyRun busy(*m_progress, 100);
        const auto progress = [&](const integration::SurchargeProgress &p) {
            busy.step(
                p.done, p.count,
                [&] {
                    m_current->setText(p.kod);
                    screenkit::showStatement(*m_grid, *p.statement, m_context.tlonda());
                },
                p.byHand);
        };
        rows = integration::postPaidSurcharge(m_context.company(), m_fields[7]->Text(),
                                              m_fields[8]->Text(), m_fields[9]->Text(),
                                              m_fields[10]->Text(), m_faiz, progress);
    }
    finished(rows, Messages::Icon::Question, QStringLiteral("Bitti.."));
}
