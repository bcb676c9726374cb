#include "screens/company/yedek.h"

#include "actions/company/backup.h"
#include "actions/company/newcompany.h"

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

// A line with a "…" button that picks a folder into it.
QHBoxLayout *withChooser(QLineEdit *edit, QWidget *parent, const QString &title) {
    auto *row = new QHBoxLayout;
    auto *choose = new QPushButton(QStringLiteral("…"), parent);
    choose->setMaximumWidth(40);
    QObject::connect(choose, &QPushButton::clicked, parent, [edit, parent, title] {
        const QString dir = QFileDialog::getExistingDirectory(parent, title, edit->text());
        if (!dir.isEmpty())
            edit->setText(QDir::toNativeSeparators(dir));
    });
    row->addWidget(edit, 1);
    row->addWidget(choose);
    return row;
}

} // namespace

yedek::yedek(Messages &messages, const QString &dataPath, const QString &company, QWidget *parent)
    : QDialog(parent), m_messages(messages), m_dataPath(dataPath), m_company(company),
      m_target(new QLineEdit(this)), m_source(new QLineEdit(this)),
      m_newFolder(new QLineEdit(this)), m_server(new QLineEdit(this)),
      m_take(new QPushButton(QStringLiteral("Yedekle"), this)),
      m_restore(new QPushButton(QStringLiteral("Geri Yükle"), this)) {
    setWindowTitle(QStringLiteral("Yedekle / Geri Yükle"));
    m_target->setObjectName(QStringLiteral("hedef"));
    m_source->setObjectName(QStringLiteral("yedek"));
    m_newFolder->setObjectName(QStringLiteral("yeniklasor"));
    m_server->setObjectName(QStringLiteral("sunucu"));
    m_take->setObjectName(QStringLiteral("yedekle"));
    m_restore->setObjectName(QStringLiteral("geriyukle"));
    m_target->setMinimumWidth(420);
    // A new folder a day, beside the user's documents.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_target->setText(QDir::toNativeSeparators(QDir(documents).filePath(
        QStringLiteral("Korvane-yedek/%1-%2")
            .arg(company, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))))));
    m_server->setPlaceholderText(QStringLiteral("yalnız sunucudaki bir şirketin yedeği için"));

    auto *take = new QGroupBox(QStringLiteral("Yedekle: ") + company, this);
    auto *takeForm = new QFormLayout(take);
    takeForm->addRow(QStringLiteral("Yedek Klasörü"),
                     withChooser(m_target, this, QStringLiteral("Yedek Klasörü")));
    takeForm->addRow(QString(), m_take);
    take->setEnabled(!company.isEmpty());

    auto *restore = new QGroupBox(QStringLiteral("Geri Yükle: yeni bir şirkete"), this);
    auto *restoreForm = new QFormLayout(restore);
    restoreForm->addRow(QStringLiteral("Yedek"),
                        withChooser(m_source, this, QStringLiteral("Yedek Klasörü")));
    restoreForm->addRow(QStringLiteral("Yeni Şirket Klasörü"), m_newFolder);
    restoreForm->addRow(QStringLiteral("Sunucu"), m_server);
    restoreForm->addRow(QString(), m_restore);

    connect(m_take, &QPushButton::clicked, this, &yedek::takeBackup);
    connect(m_restore, &QPushButton::clicked, this, &yedek::restoreBackup);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(take);
    layout->addWidget(restore);
    layout->addWidget(buttons);
}

void yedek::takeBackup() {
    const QString target = QDir::fromNativeSeparators(m_target->text().trimmed());
    if (target.isEmpty()) {
        m_messages.warning(QStringLiteral("Yedek klasörü yazılmadı."));
        return;
    }
    // The parent of a dated folder may not be there yet.
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        m_messages.warning(QStringLiteral("Klasör yaratılamadı:\n") +
                           QFileInfo(target).absolutePath());
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto told = backup::take(QDir(m_dataPath).filePath(m_company), target, m_messages);
    QApplication::restoreOverrideCursor();
    if (told)
        m_messages.done(*told);
}

void yedek::restoreBackup() {
    const QString source = QDir::fromNativeSeparators(m_source->text().trimmed());
    const QString folder = m_newFolder->text().trimmed();
    if (source.isEmpty()) {
        m_messages.warning(QStringLiteral("Yedek klasörü yazılmadı."));
        return;
    }
    if (const auto refusal = newcompany::folderNameRefusal(folder)) {
        m_messages.warning(*refusal);
        return;
    }
    std::optional<QString> server;
    if (!m_server->text().trimmed().isEmpty())
        server = m_server->text().trimmed();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto told =
        backup::restore(source, QDir(m_dataPath).filePath(folder), server, m_messages);
    QApplication::restoreOverrideCursor();
    if (!told)
        return;
    m_restored = folder;
    m_messages.done(*told);
}
