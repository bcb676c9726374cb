#include "screens/bulkdebt/topbrc.h"

#include "base/daynumber.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/busyrun.h"
#include "screens/kit/codefield.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/repeatquestion.h"
#include "screens/kit/screentheme.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

topbrc::topbrc(ScreenContext &context, printing::PrintContext &, QWidget *parent)
    : QWidget(parent), m_context(context), m_firstMonth(new QComboBox(this)),
      m_lastMonth(new QComboBox(this)), m_firstCode(new xtext(this)), m_lastCode(new xtext(this)),
      m_year(new xtext(this)), m_current(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_kaydet(new QPushButton(QStringLiteral("Kaydet"), this)),
      m_vazgec(new QPushButton(QStringLiteral("Vazgeç"), this)) {
    setWindowTitle(QStringLiteral("Toplu Borçlandırma"));
    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](QLabel *label, QWidget *field) {
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    for (size_t i = 0; i < m_amount.size(); ++i) {
        auto *amount = new xtext(this);
        amount->setObjectName(QStringLiteral("tutar%1").arg(i + 1));
        amount->xTextBicim(xtext::Sayi, bulkdebt::AmountMax, Qt::AlignRight, 0, context.tlonda(),
                           3);
        m_amount[i] = amount;
        connect(amount, &xtext::Change, this, [this] { m_typed = true; });
        m_caption[i] = new QLabel(this);
        addRow(m_caption[i], amount);
    }
    m_firstMonth->setObjectName(QStringLiteral("baslangicAy"));
    m_lastMonth->setObjectName(QStringLiteral("bitisAy"));
    for (QComboBox *list : {m_firstMonth, m_lastMonth})
        for (int month = 1; month <= 12; ++month)
            list->addItem(trMonthName(month));
    m_lastMonth->setCurrentIndex(11);
    addRow(new QLabel(QStringLiteral("Başlangıç Ay"), this), m_firstMonth);
    addRow(new QLabel(QStringLiteral("Bitiş Ay"), this), m_lastMonth);
    m_firstCode->setObjectName(QStringLiteral("baslangicCari"));
    m_lastCode->setObjectName(QStringLiteral("bitisCari"));
    for (xtext *code : {m_firstCode, m_lastCode})
        screenkit::codeField(*code, context, *this);
    addRow(new QLabel(QStringLiteral("Başlangıç Cari"), this), m_firstCode);
    addRow(new QLabel(QStringLiteral("Bitiş Cari"), this), m_lastCode);
    m_year->setObjectName(QStringLiteral("yil"));
    m_year->xTextBicim(xtext::Sayi, 9999, Qt::AlignHCenter, 0, 0, 0);
    addRow(new QLabel(QStringLiteral("Dönem Yıl"), this), m_year);
    screenkit::listKeys(*m_firstMonth, *m_lastMonth);
    screenkit::listKeys(*m_lastMonth, *m_firstCode);
    grid->setColumnStretch(1, 1);

    m_current->setObjectName(QStringLiteral("durum"));
    m_current->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_current->setMinimumWidth(360);
    // One line whatever it says: the window keeps its size during the run.
    m_current->setFixedHeight(m_current->fontMetrics().height() + 8);
    m_progress->setObjectName(QStringLiteral("ilerleme"));
    m_progress->setVisible(false);
    m_kaydet->setObjectName(QStringLiteral("kaydet"));
    m_vazgec->setObjectName(QStringLiteral("vazgec"));
    for (QPushButton *b : {m_kaydet, m_vazgec})
        b->setAutoDefault(true);

    QHBoxLayout *buttons = screenkit::buttonRow({m_kaydet, m_vazgec});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto *status = new QHBoxLayout;
    status->addWidget(m_current, 2);
    status->addWidget(m_progress, 1);
    layout->addLayout(status);
    layout->addLayout(buttons);

    screenkit::tabOrder({m_amount[0], m_amount[1], m_amount[2], m_amount[3], m_amount[4],
                         m_firstMonth, m_lastMonth, m_firstCode, m_lastCode, m_year, m_kaydet,
                         m_vazgec});
    for (xtext *field : {m_amount[0], m_amount[1], m_amount[2], m_amount[3], m_amount[4],
                         m_firstCode, m_lastCode, m_year})
        connect(field, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_Escape)
                close();
        });
    connect(m_kaydet, &QPushButton::clicked, this, &topbrc::kaydet);
    connect(m_vazgec, &QPushButton::clicked, this, &QWidget::close);

    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_kaydet, QStringLiteral("check.ico")},
                         {m_vazgec, QStringLiteral("uncheck.ico")}};
    parts.fieldPictures = {{m_firstCode, QStringLiteral("go.ico")},
                           {m_lastCode, QStringLiteral("go.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);

    const bulkdebt::Opening opening = bulkdebt::open(context.company());
    for (size_t i = 0; i < m_caption.size(); ++i)
        m_caption[i]->setText(opening.captions[i]);
    m_firstCode->setTextValue(opening.firstCode);
    m_lastCode->setTextValue(opening.lastCode);
    m_year->setValue(opening.year);
    m_amount[0]->setFocus();
}

bulkdebt::HeadAmounts topbrc::typedAmounts() const {
    bulkdebt::HeadAmounts amounts{};
    for (size_t i = 0; i < m_amount.size(); ++i)
        amounts[i] = parseTypedAmount(m_amount[i]->Digits(), m_context.tlonda()).value_or(Money());
    return amounts;
}

void topbrc::kaydet() {
    bulkdebt::Request request{.year = m_year->Text(),
                              .firstMonth = m_firstMonth->currentIndex() + 1,
                              .lastMonth = m_lastMonth->currentIndex() + 1,
                              .firstCode = m_firstCode->Text(),
                              .lastCode = m_lastCode->Text(),
                              .amounts = typedAmounts()};
    // The same months for the same members again only when the clerk says so.
    if (!screenkit::repeatAllowed(m_context.messages(),
                                  bulkdebt::alreadyPosted(m_context.company(), request)))
        return;

    std::optional<bulkdebt::Result> result;
    {
        screenkit::BusyRun busy(*m_progress, 40);
        result = bulkdebt::run(m_context.company(), request, [&](const bulkdebt::Progress &p) {
            busy.step(p.done, p.count, [&] { m_current->setText(bulkdebt::progressText(p)); });
        });
    }
    if (!result)
        return;
    m_typed = false;
    m_current->setText(QStringLiteral("%1 borç, %2 entegrasyon satırı yazıldı.")
                           .arg(result->debts)
                           .arg(result->integrationRows));
    m_context.messages().show(Messages::Icon::None, Messages::korvane(),
                              QStringLiteral("Kayıtlar Tamamlandı...."));
    // Away from "Kaydet", so that another Enter does not post it all again.
    m_amount[0]->setFocus();
}

void topbrc::closeEvent(QCloseEvent *event) {
    // Amounts typed and not yet posted are not dropped by a stray Esc.
    const auto amounts = typedAmounts();
    const bool typed = m_typed && std::any_of(amounts.begin(), amounts.end(),
                                              [](Money amount) { return amount != Money(); });
    if (typed && !m_context.messages().ask(Messages::Icon::Question, Messages::korvane(),
                                           QStringLiteral("Çıkılsın mı?"), false)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
