#include "core/company.h"

QString toLocalSeparators(const QString &path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString Company::companyFile(const QString &name) const {
    return toLocalSeparators(dataPath + company + QLatin1Char('/') + name);
}

QString Company::imageFile(const QString &name) const {
    return toLocalSeparators(prgPath + imagePath + name);
}
