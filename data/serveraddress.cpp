#include "data/serveraddress.h"

#include "base/inifile.h"

#include <QStringList>

namespace data {
namespace {

const QString ServerSection = QStringLiteral("sunucu");

} // namespace

QString ServerAddress::display() const {
    return (host.isEmpty() ? QStringLiteral("localhost") : host) + u':' + QString::number(port) +
           u'/' + database;
}

std::optional<ServerAddress> readServerAddress(const QString &iniFile) {
    const auto value = [&](const char *key, const QString &fallback = QString()) {
        return ini::readValue(ServerSection, QLatin1String(key), fallback, iniFile).trimmed();
    };
    ServerAddress a;
    a.host = value("host");
    a.database = value("database");
    if (a.host.isEmpty() && a.database.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int port = value("port").toInt(&ok);
    if (ok && port > 0 && port < 65536)
        a.port = port;
    a.user = value("user");
    a.dataSchema = value("xdata", a.dataSchema);
    a.koopSchema = value("dalun", a.koopSchema);
    return a;
}

std::optional<ServerAddress> parseConnectionInfo(const QString &info) {
    if (info.trimmed().isEmpty())
        return std::nullopt;
    ServerAddress a;
    for (const QString &pair : info.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = pair.section(u'=', 0, 0);
        const QString value = pair.section(u'=', 1);
        if (key == u"host")
            a.host = value;
        else if (key == u"port")
            a.port = value.toInt();
        else if (key == u"user")
            a.user = value;
        else if (key == u"dbname")
            a.database = value;
    }
    return a;
}

bool writeServerAddress(const QString &iniFile, const ServerAddress &a) {
    const auto write = [&](const char *key, const QString &v) {
        return ini::writeValue(ServerSection, QLatin1String(key), iniFile, v);
    };
    return write("host", a.host) && write("port", QString::number(a.port)) &&
           write("database", a.database) && write("user", a.user) && write("xdata", a.dataSchema) &&
           write("dalun", a.koopSchema);
}

} // namespace data
