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
                         collection::Earlier receipt, QWidget *parent)
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
    };
    shown(u"Makbuz No", m_receipt.receiptNo, "makbuzNo");
    shown(u"Makbuz Tarihi", m_receipt.date, "makbuzTarihi");
    shown(u"Üye", kod + QStringLiteral("  ") + name, "uye");
    shown(u"Tutar", formatAmount(m_receipt.amount, context.tlonda()), "tutar");
    m_tarih->setObjectName(QStringLiteral("tarih"));
    m_tarih->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    m_tarih->setTextValue(formatTrDate(context.today()));
    m_neden->setObjectName(QStringLiteral("neden"));
    m_neden->xTextBicim(xtext::Metin, data::ReasonLength, Qt::AlignLeft, 0, 0, 0);
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
    m_neden->setFocus();
}

void makbuziptal::iptalEt() {
    Messages &messages = m_context.messages();
    // Asked first, and "Hayır" is what a stray Enter picks.
    if (!messages.ask(Messages::Icon::Question, Messages::korvane(),
                      m_receipt.receiptNo +
                          QStringLiteral(" numaralı makbuz ters kayıtla iptal edilsin mi?"),
                      false))
        return;
    const auto voided =
        collection::voidReceipt(m_context.company(), {.receiptNo = m_receipt.receiptNo,
                                                      .kod = m_kod,
                                                      .receiptDate = parseTrDate(m_receipt.date),
                                                      .date = parseTrDate(m_tarih->Text()),
                                                      .reason = m_neden->Text()});
    if (!voided) {
        m_neden->setFocus();
        return;
    }
    m_voided = true;
    messages.show(Messages::Icon::Information, Messages::korvane(),
                  m_receipt.receiptNo + QStringLiteral(" numaralı makbuz iptal edildi."));
    accept();
}
