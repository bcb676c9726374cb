#include "screens/company/sirket.h"

#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/screentheme.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char16_t *const Labels[] = {u"Ünvan",           u"Ondalık Sayısı",   u"Para Birimi",
                                  u"Alt Birim",       u"Makbuz Başlığı 1", u"Makbuz Başlığı 2",
                                  u"Makbuz Başlığı 3"};
constexpr size_t Tlonda = 1;

} // namespace

sirket::sirket(ScreenContext &context, printing::PrintContext &, QWidget *parent)
    : QWidget(parent), m_context(context), m_where(new QLabel(this)),
      m_kaydet(new QPushButton(QStringLiteral("Kaydet"), this)),
      m_vazgec(new QPushButton(QStringLiteral("Vazgeç"), this)) {
    setWindowTitle(QStringLiteral("Şirket Bilgileri"));
    const QStringList keys = companyinfo::keys();
    auto *form = new QFormLayout;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        auto *f = new xtext(this);
        f->setObjectName(keys[qsizetype(i)]);
        m_fields[i] = f;
        if (i == Tlonda) {
            f->xTextBicim(xtext::Sayi, companyinfo::MaxDecimals, Qt::AlignRight, 0, 0, 0);
            f->setMaximumWidth(60);
            f->setToolTip(QStringLiteral("Tutarların ondalık sayısı, 0 ile 4 arası: 2 ise "
                                         "120.50 gibi kuruşlu tutarlar."));
        } else {
            f->setMaxLenght(i == 0  ? companyinfo::NameLength
                            : i < 4 ? companyinfo::CurrencyLength
                                    : companyinfo::HeaderLength);
            f->setMinimumWidth(i == 2 || i == 3 ? 120 : 420);
        }
        connect(f, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_F5)
                save();
            else if (key == Qt::Key_Escape)
                close();
        });
        form->addRow(QString::fromUtf16(Labels[i]), f);
    }
    m_where->setObjectName(QStringLiteral("veriler"));
    form->addRow(QStringLiteral("Veriler"), m_where);

    m_kaydet->setObjectName(QStringLiteral("kaydet"));
    m_vazgec->setObjectName(QStringLiteral("vazgec"));
    connect(m_kaydet, &QPushButton::clicked, this, &sirket::save);
    connect(m_vazgec, &QPushButton::clicked, this, &QWidget::close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(screenkit::buttonRow({m_kaydet, m_vazgec}));

    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_kaydet, QStringLiteral("check.ico")},
                         {m_vazgec, QStringLiteral("uncheck.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);

    m_loaded = companyinfo::load(context.company());
    m_fields[0]->setTextValue(m_loaded.unvan);
    m_fields[Tlonda]->setValue(m_loaded.tlonda);
    m_fields[2]->setTextValue(m_loaded.tlnick);
    m_fields[3]->setTextValue(m_loaded.krnick);
    for (size_t i = 0; i < 3; ++i)
        m_fields[4 + i]->setTextValue(m_loaded.baslik[i]);
    m_where->setText(m_loaded.server.isEmpty() ? QStringLiteral("şirket klasöründeki dosyalarda")
                                               : QStringLiteral("sunucuda: ") + m_loaded.server);
    m_fields[0]->setFocus();
}

void sirket::save() {
    companyinfo::Info edited = m_loaded;
    edited.unvan = m_fields[0]->Text();
    edited.tlonda = m_fields[Tlonda]->Value().toInt();
    edited.tlnick = m_fields[2]->Text();
    edited.krnick = m_fields[3]->Text();
    for (size_t i = 0; i < 3; ++i)
        edited.baslik[i] = m_fields[4 + i]->Text();
    // A refusal keeps the screen open with what the clerk typed.
    if (companyinfo::save(m_context.company(), m_loaded, edited))
        close();
}
