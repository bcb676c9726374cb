#include "screens/collection/makbuziptal.h"

#include "actions/collection/voidaction.h"
#include "base/daynumber.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/screentheme.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

makbuziptal::makbuziptal(ScreenContext &context, const QString &kod, const QString &name,
                         std::optional<collection::Earlier> receipt, QWidget *parent)
    : QDialog(parent), m_context(context), m_kod(kod), m_receipt(std::move(receipt)),
      m_tarih(new xtext(this)), m_neden(new xtext(this)),
      m_iptal(new QPushButton(QStringLiteral(" İptal Et"), this)),
      m_vazgec(new QPushButton(QStringLiteral(" Vazgeç"), this)) {
    setWindowTitle(QStringLiteral("Makbuz İptali"));
    auto *form = new QFormLayout;
    const auto shown = [&](const char16_t *caption, const QString &value, const char *object) {
        auto *label = new QLabel(value, this);
        label->setObjectName(QString::fromLatin1(object));
        label->setFrameShape(QFrame::StyledPanel);
        form->addRow(QString::fromUtf16(caption), label);
        return label;
    };
    if (m_receipt) {
        shown(u"Makbuz No", m_receipt->receiptNo, "makbuzNo");
    } else {
        m_number = new xtext(this);
        m_number->setObjectName(QStringLiteral("makbuzNo"));
        m_number->xTextBicim(xtext::Sayi, 999999999, Qt::AlignRight, 0, 0, 0);
        form->addRow(QStringLiteral("Makbuz No"), m_number);
        connect(m_number, &QLineEdit::textChanged, this, &makbuziptal::findReceipt);
    }
    m_makbuzTarihi = shown(u"Makbuz Tarihi", QString(), "makbuzTarihi");
    shown(u"Üye", kod + QStringLiteral("  ") + name, "uye");
    m_tutar = shown(u"Tutar", QString(), "tutar");
    showReceipt();
    m_tarih->setObjectName(QStringLiteral("tarih"));
    m_tarih->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    m_tarih->setTextValue(formatTrDate(context.today()));
    m_tarih->setMaximumWidth(140);
    m_neden->setObjectName(QStringLiteral("neden"));
    m_neden->xTextBicim(xtext::Metin, collection::ReasonLength, Qt::AlignLeft, 0, 0, 0);
    m_neden->setMinimumWidth(420);
    form->addRow(QStringLiteral("İptal Tarihi"), m_tarih);
    form->addRow(QStringLiteral("İptal Nedeni"), m_neden);

    m_iptal->setObjectName(QStringLiteral("iptalEt"));
    m_vazgec->setObjectName(QStringLiteral("vazgec"));
    connect(m_iptal, &QPushButton::clicked, this, &makbuziptal::iptalEt);
    connect(m_vazgec, &QPushButton::clicked, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(screenkit::buttonRow({m_iptal, m_vazgec}));
    screenkit::applyScreenTheme(*this, context, {});
    if (m_number)
        m_number->setFocus();
    else
        m_neden->setFocus();
}

void makbuziptal::showReceipt() {
    m_makbuzTarihi->setText(m_receipt ? m_receipt->date : QString());
    m_tutar->setText(m_receipt ? formatAmount(m_receipt->amount, m_context.tlonda()) : QString());
}

void makbuziptal::findReceipt() {
    const QString number = m_number->Text().trimmed();
    m_receipt =
        number.isEmpty() ? std::nullopt : collection::receiptOf(m_context.company(), number, m_kod);
    showReceipt();
}

void makbuziptal::iptalEt() {
    Messages &messages = m_context.messages();
    if (m_number)
        findReceipt();
    if (!m_receipt) {
        messages.warning((m_number ? m_number->Text().trimmed() : QString()) +
                         QStringLiteral(" numaralı bir makbuz verilmemiş."));
        if (m_number)
            m_number->setFocus();
        return;
    }
    // Asked first, and "Hayır" is what a stray Enter picks.
    if (!messages.ask(Messages::Icon::Question, Messages::korvane(),
                      m_receipt->receiptNo +
                          QStringLiteral(" numaralı makbuz ters kayıtla iptal edilsin mi?"),
                      false))
        return;
    const auto voided =
        collection::voidReceipt(m_context.company(), {.receiptNo = m_receipt->receiptNo,
                                                      .kod = m_kod,
                                                      .receiptDate = parseTrDate(m_receipt->date),
                                                      .date = parseTrDate(m_tarih->Text()),
                                                      .reason = m_neden->Text()});
    if (!voided) {
        m_neden->setFocus();
        return;
    }
    messages.show(Messages::Icon::Information, Messages::korvane(),
                  m_receipt->receiptNo + QStringLiteral(" numaralı makbuz iptal edildi."));
    accept();
}
