#pragma once

// The drivers' own handles behind a Qt connection, for what Qt SQL does not
// offer: SQLite's collation, busy timeout and online backup, libpq's COPY.

#include <QSqlDatabase>
#include <QString>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace data::driver {

// libpq's COPY calls and those of a long read, taken from the library the server driver has already
// loaded: linked into the programs, libpq and the Kerberos libraries behind it
// would load into every desk, server or not.
struct Libpq {
    decltype(&PQexec) exec = nullptr;
    decltype(&PQresultStatus) resultStatus = nullptr;
    decltype(&PQclear) clear = nullptr;
    decltype(&PQputCopyData) putCopyData = nullptr;
    decltype(&PQputCopyEnd) putCopyEnd = nullptr;
    decltype(&PQgetResult) getResult = nullptr;
    decltype(&PQerrorMessage) errorMessage = nullptr;
    decltype(&PQresultErrorField) resultErrorField = nullptr;
    decltype(&PQtransactionStatus) transactionStatus = nullptr;
    decltype(&PQexecParams) execParams = nullptr;
    decltype(&PQntuples) ntuples = nullptr;
    decltype(&PQftype) ftype = nullptr;
    decltype(&PQgetvalue) getvalue = nullptr;
    decltype(&PQgetlength) getlength = nullptr;
    decltype(&PQgetisnull) getisnull = nullptr;
    decltype(&PQresultErrorMessage) resultErrorMessage = nullptr;
    bool loaded = false;
};

const Libpq &libpq();
// Nothing when the connection is not the server driver's (or SQLite's).
PGconn *serverHandle(QSqlDatabase &db);
sqlite3 *sqliteHandle(QSqlDatabase &db);
// A table, column or schema name quoted for a statement.
QString quotedIdentifier(const QString &identifier);

} // namespace data::driver
