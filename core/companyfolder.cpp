#include "core/companyfolder.h"

#include "core/startup.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace startup {

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
    return openCompany(session);
}

} // namespace startup
