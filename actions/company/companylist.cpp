#include "actions/company/companylist.h"

#include "actions/company/newcompany.h"
#include "core/company.h"
#include "data/database.h"
#include "data/serveraddress.h"
#include "data/xbase.h"

#include <QDir>
#include <QFileInfo>

namespace companylist {

namespace {

// The company's name from genel; nothing is written.
QString nameIn(data::Database &db, QString *problem) {
    data::QueryCursor q;
    if (!data::QdOpen(db, q, QStringLiteral("SELECT tanim FROM genel WHERE ack = ?"),
                      {QStringLiteral("unvan")})) {
        *problem = db.lastError();
        return QString();
    }
    return q.eof() ? QString() : q.text(0).trimmed();
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
        // A folder the suite's command line could never name is no company.
        if (newcompany::folderNameRefusal(folder))
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
