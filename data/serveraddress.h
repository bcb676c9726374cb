#pragma once

#include <QString>
#include <optional>

namespace data {

// A company kept on a PostgreSQL server: the `[sunucu]` section of its
// korvane.dat. The password is never written there; libpq finds it itself
// (PGPASSWORD, PGPASSFILE or ~/.pgpass) when the connection names none.
struct ServerAddress {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    // The schemas of one database that hold xdata's and dalun's tables.
    QString dataSchema = QStringLiteral("xdata");
    QString koopSchema = QStringLiteral("dalun");

    // "host:port/database" for messages.
    QString display() const;
};

// The `[sunucu]` section of a korvane.dat, or nothing when it names no host
// and no database (the company then keeps SQLite files in its folder).
[[nodiscard]] std::optional<ServerAddress> readServerAddress(const QString &iniFile);
[[nodiscard]] bool writeServerAddress(const QString &iniFile, const ServerAddress &address);
// A libpq-style "host=H port=P user=U dbname=D" (how the test and benchmark
// runs name their throw-away server); nothing when it is empty.
[[nodiscard]] std::optional<ServerAddress> parseConnectionInfo(const QString &info);

} // namespace data
