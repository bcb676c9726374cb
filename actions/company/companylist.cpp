#include "actions/company/companylist.h"

#include "core/company.h"
#include "data/database.h"
#include "data/serveraddress.h"
#include "data/xbase.h"

#include <QDir>
#include <QFileInfo>

namespace companylist {

namespace {

// The company's name from genel, read as any other program would.
QString nameIn(data::Database &db, QString *problem) {
    QSqlQuery q(db.sql());
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("SELECT tanim FROM genel WHERE ack = ?"))) {
        *problem = db.sql().lastError().text();
        return QString();
    }
    q.addBindValue(QStringLiteral("unvan"));
    if (!q.exec()) {
        *problem = q.lastError().text();
        return QString();
    }
    return q.next() ? q.value(0).toString().trimmed() : QString();
}

} // namespace

std::vector<Listed> under(const QString &dataPath) {
    std::vector<Listed> out;
    const QDir root(toLocalSeparators(dataPath.isEmpty() ? QStringLiteral(".") : dataPath));
    for (const QString &folder :
         root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name)) {
        const QDir dir(root.filePath(folder));
        Listed l;
        l.folder = folder;
        // The suite splits its command line at the first blank: such a
        // folder can never be opened.
        if (folder.contains(u' '))
            continue;
        const auto server = data::readServerAddress(dir.filePath(QStringLiteral("korvane.dat")));
        const QString dataFile = dir.filePath(QStringLiteral("xdata.dat"));
        if (!server && !QFileInfo(dataFile).isFile())
            continue;
        data::Database db;
        bool opened = false;
        if (server) {
            l.server = server->display();
            opened = db.openServer(*server, server->dataSchema, false);
        } else {
            opened = db.open(dataFile);
        }
        if (opened)
            l.unvan = nameIn(db, &l.problem);
        else
            l.problem = db.lastError().isEmpty() ? QStringLiteral("açılamadı") : db.lastError();
        out.push_back(std::move(l));
    }
    return out;
}

} // namespace companylist
