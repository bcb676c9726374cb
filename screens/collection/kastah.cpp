#include "screens/collection/kastah.h"

#include "base/daynumber.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/screentheme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

QLabel *display(QWidget *parent, const char *name) {
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(160);
    return l;
}

} // namespace

kastah::kastah(ScreenContext &context, printing::PrintContext &printContext, const QString &kod,
               const QString &name, Money balance, std::optional<collection::Earlier> earlier,
               QWidget *parent)
    : QDialog(parent), m_context(context), m_printContext(printContext),
      m_desk(context.company(), kod, name, balance), m_earlier(std::move(earlier)) {
    setWindowTitle(QStringLiteral("Tahsilat"));
    buildWidgets();
    screenkit::applyScreenTheme(*this, m_context);

    m_unvan->setText(name);
    m_uyeKodu->setText(kod);
    m_bakiye->setText(formatAmount(m_desk.balance(), m_context.tlonda()));

    m_makbuzNo->setText(QString::number(m_desk.opening().receiptNo));
    m_tarih->setText(formatTrDate(m_desk.opening().date));
    m_aciklama->setText(collection::defaultDescription());
    m_kopya->hide();
    m_picture->setPixmap(QPixmap::fromImage(m_desk.header().logo)
                             .scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    if (m_earlier) {
        const collection::Earlier &r = *m_earlier;
        connect(m_blink, &QTimer::timeout, m_kopya,
                [this] { m_kopya->setVisible(!m_kopya->isVisible()); });
        m_blink->start();
        m_makbuzNo->setText(r.receiptNo);
        m_tarih->setText(r.date);
        m_aciklama->setText(r.description);
        m_tutar->setValue(plainAmount(r.amount, m_context.tlonda()));
        amountChanged();
        m_aciklama->setEnabled(false);
        m_tutar->setEnabled(false);
        m_tamam->setFocus();
    } else {
        m_tutar->setFocus();
    }
}

void kastah::buildWidgets() {
    auto *grid = new QGridLayout(this);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("resim"));
    m_picture->setFixedSize(100, 100);
    m_picture->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_picture, 0, 0, 3, 1);

    m_toplam = display(this, "toplam");
    QFont big = m_toplam->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    m_toplam->setFont(big);
    m_toplam->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_makbuzNo = display(this, "makbuzNo");
    m_tarih = display(this, "tarih");
    m_unvan = display(this, "unvan");
    m_bakiye = display(this, "bakiye");
    m_bakiye->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_uyeKodu = display(this, "uyeKodu");

    const std::pair<const char *, QLabel *> displays[] = {
        {"Toplam Tutar", m_toplam}, {"Makbuz No", m_makbuzNo}, {"Tarih", m_tarih},
        {"Unvanı", m_unvan},        {"Bakiyesi", m_bakiye},    {"Üye Kodu", m_uyeKodu}};
    int row = 0;
    for (const auto &[caption, value] : displays) {
        auto *label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(value);
        grid->addWidget(label, row, 1);
        grid->addWidget(value, row, 2, 1, 2);
        ++row;
    }

    m_aciklama = new xtext(this);
    m_aciklama->setObjectName(QStringLiteral("aciklama"));
    m_aciklama->setMaxLenght(collection::DescriptionLength);
    m_tutar = new xtext(this);
    m_tutar->setObjectName(QStringLiteral("tutar"));
    // One entry's limit: beyond it the ledger could not add the amounts up.
    m_tutar->xTextBicim(xtext::Sayi, Money::maxEntry().toDouble(), Qt::AlignRight, 0,
                        m_context.tlonda(), 3);
    connect(m_tutar, &xtext::Change, this, &kastah::amountChanged);
    for (xtext *field : {m_aciklama, m_tutar}) {
        auto *label = new QLabel(
            field == m_tutar ? QStringLiteral("Tutar") : QStringLiteral("Açıklama"), this);
        label->setBuddy(field);
        grid->addWidget(label, row, 1);
        grid->addWidget(field, row++, 2, 1, 2);
    }

    m_kopya = new QLabel(QStringLiteral(" KOPYA MAKBUZ "), this);
    m_kopya->setObjectName(QStringLiteral("kopya"));
    QFont warn = m_kopya->font();
    warn.setBold(true);
    warn.setPointSize(warn.pointSize() + 4);
    m_kopya->setFont(warn);
    m_kopya->setStyleSheet(QStringLiteral("color: #c00000;"));
    grid->addWidget(m_kopya, row, 0, 1, 2);

    m_tamam = new QPushButton(QStringLiteral(" Tamam"), this);
    m_tamam->setObjectName(QStringLiteral("tamam"));
    m_vazgec = new QPushButton(QStringLiteral(" Vazgeç"), this);
    m_vazgec->setObjectName(QStringLiteral("vazgec"));
    QHBoxLayout *buttons = screenkit::buttonRow({m_tamam, m_vazgec});
    grid->addLayout(buttons, row, 2, 1, 2);
    connect(m_tamam, &QPushButton::clicked, this, &kastah::tamam);
    connect(m_vazgec, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_aciklama, m_tutar);
    setTabOrder(m_tutar, m_tamam);
    setTabOrder(m_tamam, m_vazgec);

    m_blink = new QTimer(this);
    m_blink->setObjectName(QStringLiteral("blink"));
    m_blink->setInterval(500);
}

Money kastah::amount() const {
    // A copy prints the amount the statement computed, not the field's
    // rounded text of it.
    if (m_earlier)
        return m_earlier->amount;
    return parseTypedAmount(m_tutar->Digits(), m_context.tlonda()).value_or(Money());
}

void kastah::amountChanged() {
    m_toplam->setText(formatAmount(amount(), m_context.tlonda()));
}

void kastah::tamam() {
    if (amount() <= Money())
        return;
    const Messages::Icon info = Messages::Icon::Information;
    if (m_earlier) {
        if (m_context.messages().ask(info, Messages::korvane(),
                                     QStringLiteral("Kopya Makbuz Yazıcıya Yazdırılsın ?"), true))
            print();
        accept();
        return;
    }
    const auto result = m_desk.take(amount(), m_aciklama->text());
    // Locked or failed as a whole: nothing is stored, the clerk may try again.
    if (!result.committed)
        return;
    m_makbuzNo->setText(QString::number(result.receiptNo));
    if (m_context.messages().ask(info, Messages::korvane(),
                                 QStringLiteral("Makbuz Yazıcıya Yazdırılsın ?"), true))
        print();
    accept();
}

void kastah::print() {
    // The desk has said why a receipt did not print.
    (void)m_desk.print(m_printContext, m_earlier ? m_desk.copyOf(*m_earlier) : m_desk.receipt());
}
