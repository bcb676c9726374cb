#pragma once

#include "base/messages.h"

#include <QDate>
#include <QString>

struct Company;
struct ColourTheme;
struct Session;

// What a window knows of the open company: the clerk's messages, the money
// settings and the date it shows, the theme and the pictures. The company
// itself stays opaque here: a window hands it to its actions and never reads
// a table.
class ScreenContext {
  public:
    explicit ScreenContext(Session &session) : m_session(session) {}

    // For the actions.
    Company &company() const;

    Messages &messages() const;
    qint16 tlonda() const; // decimals of an amount
    QString tlnick() const;
    QString krnick() const;
    QDate today() const;

    const ColourTheme &theme() const;
    bool pictures() const;
    // The program's picture of that name.
    QString imageFile(const QString &name) const;

  private:
    Session &m_session;
};
