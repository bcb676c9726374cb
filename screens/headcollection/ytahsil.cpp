#include "screens/headcollection/ytahsil.h"

#include "base/daynumber.h"
#include "controls/pencere.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/collection/makbuziptal.h"
#include "screens/kit/screentheme.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *display(QWidget *parent, const QString &name, Qt::Alignment align = Qt::AlignLeft) {
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(140);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

} // namespace

ytahsil::ytahsil(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext), m_kod(new xtext(this)),
      m_tarih(new xtext(this)), m_no(display(this, QStringLiteral("makbuzNo"))),
      m_isim1(display(this, QStringLiteral("isim1"))),
      m_isim2(display(this, QStringLiteral("isim2"))),
      m_balanceTotal(display(this, QStringLiteral("bakiyeToplam"), Qt::AlignRight)),
      m_total(display(this, QStringLiteral("toplam"), Qt::AlignRight)),
      m_tamam(new QPushButton(QStringLiteral("Tamam"), this)),
      m_iptal(new QPushButton(QStringLiteral("Makbuz İptal"), this)),
      m_vazgec(new QPushButton(QStringLiteral("Vazgeç"), this)) {
    setWindowTitle(QStringLiteral("Kasa Tahsilat"));
    m_kod->setObjectName(QStringLiteral("kod"));
    m_kod->xTextBicim(xtext::Metin, 15, Qt::AlignLeft, 0, 0, 0);
    m_kod->setButton(true);
    m_tarih->setObjectName(QStringLiteral("tarih"));
    m_tarih->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    m_tamam->setObjectName(QStringLiteral("tamam"));
    m_iptal->setObjectName(QStringLiteral("iptal"));
    m_vazgec->setObjectName(QStringLiteral("vazgec"));

    auto *top = new QGridLayout;
    const std::pair<const char16_t *, QWidget *> heads[] = {
        {u"Üye  Kodu", m_kod}, {u"Tarih", m_tarih}, {u"No", m_no}};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(QString::fromUtf16(heads[i].first), this);
        label->setBuddy(heads[i].second);
        top->addWidget(label, 0, 2 * i);
        top->addWidget(heads[i].second, 0, 2 * i + 1);
    }
    auto *unvan = new QLabel(QStringLiteral("Unvan"), this);
    unvan->setBuddy(m_kod);
    top->addWidget(unvan, 1, 0);
    top->addWidget(m_isim1, 1, 1, 1, 5);
    top->addWidget(m_isim2, 2, 1, 1, 5);

    auto *heads2 = new QGridLayout;
    auto *borcHead = new QLabel(QStringLiteral("BORÇ  DÖKÜMÜ"), this);
    auto *tahsilatHead = new QLabel(QStringLiteral("TAHSİLAT"), this);
    heads2->addWidget(borcHead, 0, 0, 1, 2, Qt::AlignHCenter);
    heads2->addWidget(tahsilatHead, 0, 3, 1, 2, Qt::AlignHCenter);
    for (size_t i = 0; i < 5; ++i) {
        const int row = int(i) + 1;
        m_balanceCaption[i] = new QLabel(QStringLiteral("Borc%1").arg(i + 1), this);
        m_balanceShown[i] = display(this, QStringLiteral("bakiye%1").arg(i + 1), Qt::AlignRight);
        m_amountCaption[i] = new QLabel(QStringLiteral("Borc%1").arg(i + 1), this);
        auto *amount = new xtext(this);
        amount->setObjectName(QStringLiteral("tutar%1").arg(i + 1));
        amount->xTextBicim(xtext::Sayi, headcollection::AmountMax, Qt::AlignRight, 0,
                           m_context.tlonda(), 3);
        m_amountCaption[i]->setBuddy(amount);
        m_amount[i] = amount;
        connect(amount, &xtext::Change, this, [this] { checkAmounts(false); });
        heads2->addWidget(m_balanceCaption[i], row, 0);
        heads2->addWidget(m_balanceShown[i], row, 1);
        heads2->addWidget(m_amountCaption[i], row, 3);
        heads2->addWidget(amount, row, 4);
    }
    heads2->setColumnMinimumWidth(2, 24);
    heads2->setColumnStretch(1, 1);
    heads2->setColumnStretch(4, 1);
    auto *toplam1 = new QLabel(QStringLiteral("TOPLAM"), this);
    auto *toplam2 = new QLabel(QStringLiteral("TOPLAM"), this);
    toplam1->setBuddy(m_balanceTotal);
    toplam2->setBuddy(m_total);
    heads2->addWidget(toplam1, 6, 0);
    heads2->addWidget(m_balanceTotal, 6, 1);
    heads2->addWidget(toplam2, 6, 3);
    heads2->addWidget(m_total, 6, 4);

    QHBoxLayout *buttons = screenkit::buttonRow({m_tamam, m_iptal, m_vazgec});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(heads2);
    layout->addLayout(buttons);

    setTabOrder(m_kod, m_tarih);
    QWidget *previous = m_tarih;
    for (xtext *amount : m_amount) {
        setTabOrder(previous, amount);
        previous = amount;
    }
    setTabOrder(previous, m_tamam);
    setTabOrder(m_tamam, m_vazgec);

    for (xtext *field : {m_kod, m_tarih}) {
        connect(field, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_F2)
                lookup();
            else if (key == Qt::Key_Escape)
                close();
        });
    }
    for (xtext *amount : m_amount)
        connect(amount, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_Escape)
                close();
        });
    connect(m_kod, &xtext::ButtonClick, this, &ytahsil::lookup);
    // Leaving the code looks the member up; leaving the date reloads the
    // balances for its month.
    m_kod->installEventFilter(this);
    m_tarih->installEventFilter(this);
    connect(m_tamam, &QPushButton::clicked, this, &ytahsil::tamam);
    connect(m_iptal, &QPushButton::clicked, this, &ytahsil::voidReceipt);
    connect(m_vazgec, &QPushButton::clicked, this, &QWidget::close);

    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_tamam, QStringLiteral("check.ico")},
                         {m_vazgec, QStringLiteral("uncheck.ico")}};
    parts.fieldPictures = {{m_kod, QStringLiteral("go.ico")}};
    parts.captions = {borcHead, tahsilatHead};
    screenkit::applyScreenTheme(*this, context, parts);

    m_opening = headcollection::open(m_context.company());
    m_tarih->setTextValue(formatTrDate(m_opening.date));
    for (size_t i = 0; m_opening.settingsExist && i < 5; ++i) {
        m_balanceCaption[i]->setText(m_opening.captions[i]);
        m_amountCaption[i]->setText(m_opening.captions[i]);
    }
    m_no->setText(QString::number(m_opening.receiptNo));
    m_kod->setFocus();
}

ytahsil::~ytahsil() {
    // Fields that lose the focus as the window goes would call back into a
    // screen that is no longer there.
    m_kod->removeEventFilter(this);
    m_tarih->removeEventFilter(this);
    for (xtext *field : findChildren<xtext *>())
        field->disconnect(this);
}

bool ytahsil::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_kod)
            loadMember();
        else if (watched == m_tarih)
            loadBalances();
    }
    return QWidget::eventFilter(watched, event);
}

void ytahsil::lookup() {
    if (pencere::chooseInto(m_context, *m_kod, this))
        loadMember();
}

void ytahsil::loadMember() {
    const QString code = m_kod->Text().trimmed();
    // An emptied code lets go of the member shown, as a code without a card
    // does: no payment goes out under the previous member's name.
    if (code.isEmpty() && !m_member)
        return;
    m_member = headcollection::member(m_context.company(), code);
    if (!m_member) {
        m_isim1->clear();
        m_isim2->clear();
        m_kod->setTextValue(QString());
        m_balances = {};
        for (QLabel *shown : m_balanceShown)
            shown->clear();
        m_balanceTotal->clear();
        return;
    }
    m_isim1->setText(m_member->isim1);
    m_isim2->setText(m_member->isim2);
    if (m_kod->Text() != m_member->kod)
        m_kod->setTextValue(m_member->kod);
    loadBalances();
}

void ytahsil::loadBalances() {
    if (!m_member)
        return;
    const QDate date = parseTrDate(m_tarih->Text());
    const auto balances = date.isValid()
                              ? headcollection::balances(m_context.company(), m_member->kod, date)
                              : std::nullopt;
    m_balances = balances.value_or(headcollection::HeadAmounts{});
    for (size_t i = 0; i < 5; ++i)
        m_balanceShown[i]->setText(formatAmount(m_balances[i], m_context.tlonda()));
    m_balanceTotal->setText(formatAmount(headcollection::total(m_balances), m_context.tlonda()));
}

headcollection::HeadAmounts ytahsil::amounts() const {
    headcollection::HeadAmounts out{};
    for (size_t i = 0; i < 5; ++i)
        out[i] = parseTypedAmount(m_amount[i]->Digits(), m_context.tlonda()).value_or(Money());
    return out;
}

void ytahsil::checkAmounts(bool warn) {
    const headcollection::HeadAmounts paid = amounts();
    m_paymentTotal = headcollection::total(paid);
    m_total->setText(formatAmount(m_paymentTotal, m_context.tlonda()));
    if (warn)
        headcollection::warnOverCollection(m_context.messages(), m_opening.captions, m_balances,
                                           paid);
}

headcollection::Collection ytahsil::collection() const {
    return {.kod = m_kod->Text().trimmed(),
            .name = m_isim1->text(),
            .date = parseTrDate(m_tarih->Text()),
            .receiptNo = m_opening.receiptNo,
            .captions = m_opening.captions,
            .amounts = amounts()};
}

void ytahsil::tamam() {
    // No cash goes into the box under nobody's name.
    if (!m_member) {
        m_context.messages().warning(QStringLiteral("Cari Hesabı Bulunamadı"));
        m_kod->setFocus();
        return;
    }
    checkAmounts(true);
    if (m_paymentTotal <= Money())
        return;
    const headcollection::Collection c = collection();
    if (!c.date.isValid()) {
        m_context.messages().warning(QStringLiteral("Hatalı Tarih.."));
        m_tarih->setFocus();
        return;
    }
    if (!m_context.messages().ask(Messages::Icon::Question, QStringLiteral("korvane"),
                                  QStringLiteral("Kayıt Yapılacak Eminmisiniz"), false))
        return;
    const Money before = headcollection::balanceBefore(m_context.company(), c);
    // Locked or lost as a whole: nothing is stored, the clerk may try again.
    if (!headcollection::post(m_context.company(), c))
        return;
    // The member and the date stay; the amounts are posted, so a second key
    // press has nothing to post again, and the balances are the new ones.
    for (xtext *amount : m_amount)
        amount->setTextValue(QString());
    loadBalances();
    checkAmounts(false);
    if (m_context.messages().ask(Messages::Icon::Information, Messages::korvane(),
                                 QStringLiteral("Makbuz Yazıcıya Yazdırılsın ?"), true))
        // A receipt that did not print has said why; the collection is stored.
        (void)headcollection::printReceipt(m_printContext, c, before);
}

void ytahsil::voidReceipt() {
    if (!m_member) {
        m_context.messages().warning(QStringLiteral("Cari Hesabı Bulunamadı"));
        m_kod->setFocus();
        return;
    }
    makbuziptal dialog(m_context, m_member->kod, m_member->isim1, std::nullopt, this);
    if (dialog.exec() == QDialog::Accepted)
        loadBalances();
}
