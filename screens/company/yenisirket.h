#pragma once

#include "base/messages.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

// "Yeni Şirket": a new company folder under DataPath, set up with its name,
// money and receipt head, on the folder's own files or on a server, or a
// demo cooperative to try the program on. Nothing is made unless all of it
// is; an existing company is never touched.
class yenisirket : public QDialog {
    Q_OBJECT
  public:
    yenisirket(Messages &messages, const QString &dataPath, QWidget *parent = nullptr);

    // The folder made, once accepted.
    const QString &made() const { return m_made; }
    void accept() override;

  private:
    Messages &m_messages;
    QString m_dataPath;
    QLineEdit *m_folder, *m_unvan, *m_tlnick, *m_krnick, *m_baslik2, *m_baslik3, *m_server;
    QSpinBox *m_tlonda;
    QCheckBox *m_demo;
    QString m_made;
};
