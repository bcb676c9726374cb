#include "core/registry.h"

#include <QSettings>

Registry::Registry()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Korvane"), QStringLiteral("Tavlo"))) {}

Registry::Registry(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

Registry::~Registry() = default;

std::unique_ptr<Registry> Registry::fromEnvironment() {
    const QString file = qEnvironmentVariable("KOOP_REGISTRY");
    if (!file.isEmpty())
        return std::make_unique<Registry>(file);
    return std::make_unique<Registry>();
}

QString Registry::readText(const QString &valueName) const {
    const QVariant v = m_settings->value(valueName);
    if (!v.isValid())
        return QString();
    QString text = v.toString();
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

bool Registry::writeText(const QString &valueName, const QString &text) {
    if (!m_settings->isWritable())
        return false;
    m_settings->setValue(valueName, text);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString Registry::location() const {
    return m_settings->fileName();
}
