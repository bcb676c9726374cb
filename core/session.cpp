#include "core/session.h"

QString toLocalSeparators(const QString &path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString Session::companyFile(const QString &name) const {
    return toLocalSeparators(dataPath + company + QLatin1Char('/') + name);
}

QString Session::imageFile(const QString &name) const {
    return toLocalSeparators(prgPath + imagePath + name);
}
