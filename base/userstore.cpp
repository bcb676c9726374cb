#include "base/userstore.h"

#include <QSettings>

namespace userstore {

namespace {

QSettings store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("korvane"),
                     QStringLiteral("korvane"));
}

} // namespace

QString read(const QString &section, const QString &key, const QString &fallback) {
    return store().value(section + u'/' + key, fallback).toString();
}

bool write(const QString &section, const QString &key, const QString &value) {
    QSettings s = store();
    s.setValue(section + u'/' + key, value);
    s.sync();
    return s.status() == QSettings::NoError;
}

} // namespace userstore
