#include "data/driverhandles.h"

#include <QLibrary>
#include <QSqlDriver>
#include <QVariant>

namespace data::driver {

QString quotedIdentifier(const QString &identifier) {
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

const Libpq &libpq() {
    static const Libpq calls = [] {
        Libpq l;
        QLibrary lib(QStringLiteral("pq"), 5);
        if (!lib.load())
            return l;
        const auto take = [&lib](auto &fn, const char *name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(lib.resolve(name));
            return fn != nullptr;
        };
        l.loaded = take(l.exec, "PQexec") && take(l.resultStatus, "PQresultStatus") &&
                   take(l.clear, "PQclear") && take(l.putCopyData, "PQputCopyData") &&
                   take(l.putCopyEnd, "PQputCopyEnd") && take(l.getResult, "PQgetResult") &&
                   take(l.errorMessage, "PQerrorMessage") &&
                   take(l.resultErrorField, "PQresultErrorField") &&
                   take(l.transactionStatus, "PQtransactionStatus") &&
                   take(l.execParams, "PQexecParams") && take(l.ntuples, "PQntuples") &&
                   take(l.ftype, "PQftype") && take(l.getvalue, "PQgetvalue") &&
                   take(l.getlength, "PQgetlength") && take(l.getisnull, "PQgetisnull") &&
                   take(l.resultErrorMessage, "PQresultErrorMessage");
        return l;
    }();
    return calls;
}

PGconn *serverHandle(QSqlDatabase &db) {
    const QVariant v = db.driver()->handle();
    // The driver hands out libpq's connection under its struct's name.
    if (!v.isValid() ||
        (qstrcmp(v.typeName(), "PGconn*") != 0 && qstrcmp(v.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(v.constData());
}

sqlite3 *sqliteHandle(QSqlDatabase &db) {
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

} // namespace data::driver
