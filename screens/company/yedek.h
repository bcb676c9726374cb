#pragma once

#include "base/messages.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// "Yedekle / Geri Yükle": a backup of the chosen company while desks work,
// into a new folder; or a backup back into a new company under DataPath.
// Both go through the backup actions, so a backup is checked as it is
// taken and a damaged one is never loaded.
class yedek : public QDialog {
    Q_OBJECT
  public:
    yedek(Messages &messages, const QString &dataPath, const QString &company,
          QWidget *parent = nullptr);

    void takeBackup();
    void restoreBackup();
    // The company folder a restore made, if one did.
    const QString &restored() const { return m_restored; }

  private:
    Messages &m_messages;
    QString m_dataPath, m_company;
    QLineEdit *m_target, *m_source, *m_newFolder, *m_server;
    QPushButton *m_take, *m_restore;
    QString m_restored;
};
