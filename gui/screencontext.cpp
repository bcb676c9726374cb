#include "gui/screencontext.h"

#include "core/session.h"

Company &ScreenContext::company() const {
    return m_session;
}

Messages &ScreenContext::messages() const {
    return m_session.messages;
}

qint16 ScreenContext::tlonda() const {
    return m_session.tlonda;
}

QString ScreenContext::tlnick() const {
    return m_session.tlnick;
}

QString ScreenContext::krnick() const {
    return m_session.krnick;
}

QDate ScreenContext::today() const {
    return m_session.today();
}

const ColourTheme &ScreenContext::theme() const {
    return m_session.theme;
}

bool ScreenContext::pictures() const {
    return m_session.pictures;
}

QString ScreenContext::imageFile(const QString &name) const {
    return m_session.imageFile(name);
}
