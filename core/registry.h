#pragma once

#include <QString>
#include <memory>

class QSettings;

// The machine key "Software\Korvane\Tavlo" with its string values PrgPath
// and DataPath. QSettings stands in for the registry: the native store
// (organisation "Korvane", application "Tavlo"), or the INI file named by
// KOOP_REGISTRY so tests and scripted runs can redirect it.
class Registry {
  public:
    Registry();
    explicit Registry(const QString &iniFile);
    ~Registry();
    static std::unique_ptr<Registry> fromEnvironment();

    // A missing key or value reads as empty text; a string value ends at its
    // first NUL.
    QString readText(const QString &valueName) const;
    // False when the store cannot be written.
    [[nodiscard]] bool writeText(const QString &valueName, const QString &text);
    QString location() const;

  private:
    std::unique_ptr<QSettings> m_settings;
};
