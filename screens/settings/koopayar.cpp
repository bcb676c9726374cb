#include "screens/settings/koopayar.h"

#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/screentheme.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

koopayar::koopayar(ScreenContext &context, printing::PrintContext &, QWidget *parent)
    : QWidget(parent), m_context(context),
      m_kaydet(new QPushButton(QStringLiteral("Kaydet"), this)),
      m_vazgec(new QPushButton(QStringLiteral("Vazgeç"), this)) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setWindowTitle(QStringLiteral("Yönetim Ayar"));
    for (size_t i = 0; i < m_fields.size(); ++i) {
        auto *f = new xtext(this);
        f->setObjectName(QStringLiteral("alan%1").arg(i));
        m_fields[i] = f;
        connect(f, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_F5)
                save();
            else if (key == Qt::Key_Escape)
                close();
        });
    }
    using namespace settingsform;
    for (size_t i = 0; i < 5; ++i) {
        m_fields[i]->setMaxLenght(CaptionLength);
        m_fields[8 + i]->setMaxLenght(AccountLength);
    }
    m_fields[5]->xTextBicim(xtext::Sayi, FaizMax, Qt::AlignRight, 0, FaizDecimals, 3);
    m_fields[6]->xTextBicim(xtext::Sayi, ToleransMax, Qt::AlignRight, 0, 0, 3);
    m_fields[7]->xTextBicim(xtext::Sayi, FisnoMax, Qt::AlignRight, 0, 0, 3);
    // No column holds a surcharge account code: the integration screen keeps
    // its own. The field is shown as the office knows it, and locked.
    m_fields[13]->setMaxLenght(AccountLength);
    m_fields[13]->setLocked(true);
    m_fields[13]->setEnabled(false);
    m_fields[13]->setToolTip(
        QStringLiteral("Gecikme zammının muhasebe kodları Borçlandırma Entegrasyonu ekranında "
                       "girilir."));

    auto *grid = new QGridLayout;
    auto *ackHead = new QLabel(QStringLiteral("Açıklama"), this);
    auto *muhHead = new QLabel(QStringLiteral("Muhasebe Kodu"), this);
    grid->addWidget(ackHead, 0, 1);
    grid->addWidget(muhHead, 0, 2);
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(QStringLiteral("İşlem %1").arg(i + 1), this);
        label->setBuddy(m_fields[size_t(i)]);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(m_fields[size_t(i)], i + 1, 1);
        grid->addWidget(m_fields[size_t(8 + i)], i + 1, 2);
    }
    const std::pair<const char16_t *, const char16_t *> numbers[] = {
        {u"Faiz", u"(Aylık)"}, {u"Tolerans", u"(Gün)"}, {u"Fiş No", nullptr}};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(QString::fromUtf16(numbers[i].first), this);
        xtext *field = m_fields[size_t(5 + i)];
        label->setBuddy(field);
        grid->addWidget(label, 6 + i, 0);
        auto *row = new QHBoxLayout;
        row->addWidget(field);
        if (numbers[i].second) {
            auto *unit = new QLabel(QString::fromUtf16(numbers[i].second), this);
            unit->setBuddy(field);
            row->addWidget(unit);
        }
        row->addStretch();
        grid->addLayout(row, 6 + i, 1);
    }
    auto *faizMuh = new QLabel(QStringLiteral("Faiz Muhasebe"), this);
    faizMuh->setBuddy(m_fields[13]);
    grid->addWidget(faizMuh, 9, 0);
    grid->addWidget(m_fields[13], 9, 1);

    m_kaydet->setObjectName(QStringLiteral("kaydet"));
    m_vazgec->setObjectName(QStringLiteral("vazgec"));
    connect(m_kaydet, &QPushButton::clicked, this, &koopayar::save);
    connect(m_vazgec, &QPushButton::clicked, this, &QWidget::close);
    QHBoxLayout *buttons = screenkit::buttonRow({m_kaydet, m_vazgec});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // Down the captions, down the codes, then the three numbers.
    QWidget *previous = nullptr;
    for (size_t i : {0, 1, 2, 3, 4, 8, 9, 10, 11, 12, 5, 6, 7}) {
        if (previous)
            setTabOrder(previous, m_fields[i]);
        previous = m_fields[i];
    }
    setTabOrder(previous, m_kaydet);
    setTabOrder(m_kaydet, m_vazgec);

    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_kaydet, QStringLiteral("check.ico")},
                         {m_vazgec, QStringLiteral("uncheck.ico")}};
    parts.captions = {ackHead, muhHead};
    screenkit::applyScreenTheme(*this, context, parts);
    // The locked field looks it, whatever the theme gives the others.
    const QColor off(0xdc, 0xdc, 0xdc);
    const QColor offText(0x80, 0x80, 0x80);
    m_fields[13]->setColors(off, offText, off, offText);

    m_loaded = settingsform::load(m_context.company());
    if (const auto &s = m_loaded) {
        for (size_t i = 0; i < 5; ++i) {
            m_fields[i]->setTextValue(s->ack[i]);
            m_fields[8 + i]->setTextValue(s->muh[i]);
        }
        m_fields[5]->setValue(s->faiz);
        m_fields[6]->setValue(s->tolerans);
        m_fields[7]->setValue(s->fisno);
    }
    m_fields[0]->setFocus();
    QApplication::restoreOverrideCursor();
}

void koopayar::save() {
    data::Settings s;
    for (size_t i = 0; i < 5; ++i) {
        s.ack[i] = m_fields[i]->Text();
        s.muh[i] = m_fields[8 + i]->Text();
    }
    s.faiz = m_fields[5]->Value().toDouble();
    s.tolerans = m_fields[6]->Value().toInt();
    s.fisno = m_fields[7]->Value().toInt();
    // Stored or not, the screen closes; a failure has said so.
    settingsform::save(m_context.company(), m_loaded, s);
    close();
}
