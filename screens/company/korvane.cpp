#include "screens/company/korvane.h"

#include "actions/company/companylist.h"
#include "base/userstore.h"
#include "controls/dclist.h"
#include "screens/company/yedek.h"
#include "screens/company/yenisirket.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("baslatici");
const QString LastKey = QStringLiteral("son_sirket");

} // namespace

korvane::korvane(Messages &messages, const QString &dataPath, std::vector<Entry> screens,
                 Opener open, QWidget *parent)
    : QWidget(parent), m_messages(messages), m_dataPath(dataPath), m_screens(std::move(screens)),
      m_open(std::move(open)), m_companies(new dclist(messages, this)),
      m_menu(new QListWidget(this)), m_empty(new QLabel(this)),
      m_new(new QPushButton(QStringLiteral("&Yeni Şirket…"), this)),
      m_backup(new QPushButton(QStringLiteral("Y&edekle/Geri Yükle…"), this)),
      m_quit(new QPushButton(QStringLiteral("Çı&kış"), this)) {
    setWindowTitle(QStringLiteral("Korvane Koop"));
    m_companies->setObjectName(QStringLiteral("sirketler"));
    m_companies->Add(QStringLiteral("A"), QStringLiteral("unvan"), QStringLiteral("Şirket"), 300,
                     60);
    m_companies->Add(QStringLiteral("A"), QStringLiteral("klasor"), QStringLiteral("Klasör"), 110,
                     40);
    m_companies->Add(QStringLiteral("A"), QStringLiteral("veriler"), QStringLiteral("Veriler"), 200,
                     80);
    m_companies->setMinimumSize(620, 260);
    m_menu->setObjectName(QStringLiteral("ekranlar"));
    for (const Entry &e : m_screens) {
        auto *item = new QListWidgetItem(e.key.leftJustified(9) + e.title, m_menu);
        item->setData(Qt::UserRole, e.key);
    }
    QFont mono = m_menu->font();
    mono.setFamily(QStringLiteral("DejaVu Sans Mono"));
    m_menu->setFont(mono);
    m_menu->setCurrentRow(0);
    m_menu->setMinimumWidth(320);
    m_empty->setObjectName(QStringLiteral("bos"));
    m_empty->setWordWrap(true);

    connect(m_companies, &dclist::KeyDown, this, [this](int key, int, int) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Right)
            m_menu->setFocus();
    });
    connect(m_companies, &dclist::SatirChange, this, [this](int) {
        if (!chosenFolder().isEmpty())
            (void)userstore::write(Section, LastKey, chosenFolder());
    });
    connect(m_menu, &QListWidget::itemActivated, this, [this] { openChosen(); });
    m_new->setObjectName(QStringLiteral("yeni"));
    m_backup->setObjectName(QStringLiteral("yedek"));
    m_quit->setObjectName(QStringLiteral("cikis"));
    connect(m_new, &QPushButton::clicked, this, &korvane::newCompany);
    connect(m_backup, &QPushButton::clicked, this, &korvane::backups);
    connect(m_quit, &QPushButton::clicked, this, &QWidget::close);

    auto *lists = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    auto *companiesLabel = new QLabel(QStringLiteral("&Şirketler"), this);
    companiesLabel->setBuddy(m_companies);
    left->addWidget(companiesLabel);
    left->addWidget(m_companies, 1);
    left->addWidget(m_empty);
    auto *right = new QVBoxLayout;
    auto *menuLabel = new QLabel(QStringLiteral("&Ekranlar (Enter ile açılır)"), this);
    menuLabel->setBuddy(m_menu);
    right->addWidget(menuLabel);
    right->addWidget(m_menu, 1);
    lists->addLayout(left, 3);
    lists->addLayout(right, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_new);
    buttons->addWidget(m_backup);
    buttons->addStretch();
    buttons->addWidget(new QLabel(QStringLiteral("F1: Kullanım Kılavuzu"), this));
    buttons->addSpacing(12);
    buttons->addWidget(m_quit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    refresh(userstore::read(Section, LastKey, QString()));
    m_companies->setFocus();
}

void korvane::refresh(const QString &choose) {
    const QString keep = choose.isEmpty() ? chosenFolder() : choose;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<companylist::Listed> listed = companylist::under(m_dataPath);
    QApplication::restoreOverrideCursor();
    m_companies->Clear();
    int chosen = 0;
    for (const companylist::Listed &l : listed) {
        const int row = m_companies->CreateNewCaption();
        if (row < 0)
            break;
        m_companies->setCaption(row, 0,
                                l.unvan.isEmpty() ? QStringLiteral("(ünvan yok)") : l.unvan);
        m_companies->setCaption(row, 1, l.folder);
        m_companies->setCaption(row, 2,
                                !l.problem.isEmpty() ? QStringLiteral("açılamadı: ") + l.problem
                                : l.server.isEmpty() ? QStringLiteral("dosya")
                                                     : QStringLiteral("sunucu ") + l.server);
        if (l.folder == keep)
            chosen = row;
    }
    m_companies->reyaz();
    if (m_companies->ListCount() > 0)
        m_companies->ChngSat(chosen);
    m_empty->setText(listed.empty()
                         ? QStringLiteral("%1 altında şirket yok. \"Yeni Şirket…\" ile bir şirket "
                                          "yaratın.")
                               .arg(QDir::toNativeSeparators(m_dataPath))
                         : QString());
    m_empty->setVisible(listed.empty());
}

QString korvane::chosenFolder() const {
    const int row = m_companies->CurSat();
    if (row < 0 || row >= m_companies->ListCount())
        return QString();
    return m_companies->Caption(row, 1).toString();
}

void korvane::openChosen() {
    const QString folder = chosenFolder();
    const QListWidgetItem *item = m_menu->currentItem();
    if (!item)
        return;
    if (folder.isEmpty()) {
        m_messages.warning(QStringLiteral("Önce bir şirket seçin ya da \"Yeni Şirket…\" ile "
                                          "yaratın."));
        return;
    }
    if (m_open)
        (void)m_open(folder, item->data(Qt::UserRole).toString());
}

void korvane::newCompany() {
    yenisirket dialog(m_messages, m_dataPath, this);
    if (dialog.exec() == QDialog::Accepted)
        refresh(dialog.made());
}

void korvane::backups() {
    yedek dialog(m_messages, m_dataPath, chosenFolder(), this);
    dialog.exec();
    refresh(dialog.restored());
}
