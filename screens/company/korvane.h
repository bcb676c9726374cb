#pragma once

#include "base/messages.h"

#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class dclist;

// "Korvane Koop", the launcher of an office without the suite: the
// companies under DataPath (the last one used chosen), the screens as a
// menu with their keys, "Yeni Şirket…" and "Yedekle/Geri Yükle…". Enter on
// a screen opens it on the chosen company; the launcher comes back when it
// closes.
class korvane : public QWidget {
    Q_OBJECT
  public:
    struct Entry {
        QString key;
        QString title;
    };
    // `open` starts the screen `key` on the company folder; false when it
    // could not (the message has been shown).
    using Opener = std::function<bool(const QString &folder, const QString &key)>;
    korvane(Messages &messages, const QString &dataPath, std::vector<Entry> screens, Opener open,
            QWidget *parent = nullptr);

    void setOpener(Opener open) { m_open = std::move(open); }
    // Lists the companies again, keeping the one chosen.
    void refresh(const QString &choose = QString());
    QString chosenFolder() const;
    void openChosen();
    void newCompany();
    void backups();

  private:
    Messages &m_messages;
    QString m_dataPath;
    std::vector<Entry> m_screens;
    Opener m_open;
    dclist *m_companies;
    QListWidget *m_menu;
    QLabel *m_empty;
    QPushButton *m_new, *m_backup, *m_quit;
};
