#include "screens/company/yenisirket.h"

#include "actions/company/companyinfo.h"
#include "actions/company/newcompany.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

yenisirket::yenisirket(Messages &messages, const QString &dataPath, QWidget *parent)
    : QDialog(parent), m_messages(messages), m_dataPath(dataPath), m_folder(new QLineEdit(this)),
      m_unvan(new QLineEdit(this)), m_tlnick(new QLineEdit(QStringLiteral("TL"), this)),
      m_krnick(new QLineEdit(QStringLiteral("Kr"), this)), m_baslik2(new QLineEdit(this)),
      m_baslik3(new QLineEdit(this)), m_server(new QLineEdit(this)), m_tlonda(new QSpinBox(this)),
      m_demo(new QCheckBox(QStringLiteral("Örnek bir kooperatifle doldur (denemek için)"), this)) {
    setWindowTitle(QStringLiteral("Yeni Şirket"));
    const std::pair<QLineEdit *, const char *> names[] = {
        {m_folder, "klasor"},   {m_unvan, "unvan"},     {m_tlnick, "tlnick"}, {m_krnick, "krnick"},
        {m_baslik2, "baslik2"}, {m_baslik3, "baslik3"}, {m_server, "sunucu"}};
    for (const auto &[edit, name] : names)
        edit->setObjectName(QString::fromLatin1(name));
    m_folder->setMaxLength(40);
    m_folder->setPlaceholderText(QStringLiteral("örneğin 01 ya da YILDIZ"));
    m_unvan->setMaxLength(companyinfo::NameLength);
    m_unvan->setMinimumWidth(420);
    m_tlnick->setMaxLength(companyinfo::CurrencyLength);
    m_krnick->setMaxLength(companyinfo::CurrencyLength);
    m_baslik2->setMaxLength(companyinfo::HeaderLength);
    m_baslik2->setPlaceholderText(QStringLiteral("adres"));
    m_baslik3->setMaxLength(companyinfo::HeaderLength);
    m_baslik3->setPlaceholderText(QStringLiteral("vergi dairesi ve numarası"));
    m_server->setPlaceholderText(QStringLiteral("boş: şirket klasöründe; ya da "
                                                "SUNUCU[:PORT]/VERİTABANI?user=KULLANICI"));
    m_tlonda->setObjectName(QStringLiteral("tlonda"));
    m_tlonda->setRange(0, companyinfo::MaxDecimals);
    m_tlonda->setValue(2);
    m_demo->setObjectName(QStringLiteral("ornek"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Klasör"), m_folder);
    form->addRow(QStringLiteral("Ünvan"), m_unvan);
    form->addRow(QStringLiteral("Ondalık Sayısı"), m_tlonda);
    form->addRow(QStringLiteral("Para Birimi"), m_tlnick);
    form->addRow(QStringLiteral("Alt Birim"), m_krnick);
    form->addRow(QStringLiteral("Makbuz Başlığı 2"), m_baslik2);
    form->addRow(QStringLiteral("Makbuz Başlığı 3"), m_baslik3);
    form->addRow(QStringLiteral("Sunucu"), m_server);
    form->addRow(QString(), m_demo);
    auto *where = new QLabel(
        QStringLiteral("Şirketler şu klasörde: ") + QDir::toNativeSeparators(dataPath), this);
    where->setWordWrap(true);
    // The demo names its own cooperative and money.
    connect(m_demo, &QCheckBox::toggled, this, [this](bool demo) {
        for (QWidget *w : std::initializer_list<QWidget *>{m_unvan, m_tlonda, m_tlnick, m_krnick,
                                                           m_baslik2, m_baslik3})
            w->setEnabled(!demo);
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &yenisirket::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(where);
    layout->addWidget(buttons);
    m_folder->setFocus();
}

void yenisirket::accept() {
    const QString folder = m_folder->text().trimmed();
    if (const auto refusal = newcompany::folderNameRefusal(folder)) {
        m_messages.warning(*refusal);
        m_folder->setFocus();
        return;
    }
    newcompany::Options options;
    options.folder = QDir(m_dataPath).filePath(folder);
    options.demo = m_demo->isChecked();
    const QString server = m_server->text().trimmed();
    if (!server.isEmpty()) {
        options.server = newcompany::parseServer(server);
        if (!options.server) {
            m_messages.warning(QStringLiteral("Sunucu SUNUCU[:PORT]/VERİTABANI?user=KULLANICI "
                                              "biçiminde olmalı: ") +
                               server);
            m_server->setFocus();
            return;
        }
    }
    if (!options.demo) {
        options.setup = {{QStringLiteral("unvan"), m_unvan->text()},
                         {QStringLiteral("tlonda"), QString::number(m_tlonda->value())},
                         {QStringLiteral("tlnick"), m_tlnick->text()},
                         {QStringLiteral("krnick"), m_krnick->text()}};
        if (!m_baslik2->text().isEmpty())
            options.setup.emplace_back(QStringLiteral("baslik2"), m_baslik2->text());
        if (!m_baslik3->text().isEmpty())
            options.setup.emplace_back(QStringLiteral("baslik3"), m_baslik3->text());
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto told = newcompany::create(options, m_messages);
    QApplication::restoreOverrideCursor();
    if (!told)
        return;
    m_made = folder;
    m_messages.done(*told);
    QDialog::accept();
}
