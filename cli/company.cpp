#include "cli/company.h"

#include "startup/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace cli {

bool openCompanyFolder(Session &session, const QString &folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) {
        session.messages.warning(QStringLiteral("Şirket klasörü bulunamadı:\n") + folder);
        return false;
    }
    session.prgPath = QCoreApplication::applicationDirPath() + u'/';
    session.dataPath = info.absolutePath() + u'/';
    session.company = info.fileName();
    session.imagePath = QStringLiteral("image/soft/");
    return startup::openCompany(session);
}

bool parseNumber(const QString &text, qint64 min, qint64 max, qint64 *out) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return false;
    *out = v;
    return true;
}

} // namespace cli
