#include "data/failure.h"

#include <sqlite3.h>

namespace data {

Failure classifyFailure(Engine engine, const QString &nativeCode) {
    if (engine == Engine::SQLite) {
        bool ok = false;
        const int code = nativeCode.toInt(&ok);
        if (!ok)
            return Failure::DiskError;
        switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_PROTOCOL:
            return Failure::Busy;
        case SQLITE_FULL:
            return Failure::DiskFull;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
        case SQLITE_CANTOPEN:
            return Failure::NoPermission;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_FORMAT:
            return Failure::Damaged;
        case SQLITE_ERROR:
        case SQLITE_SCHEMA:
        case SQLITE_TOOBIG:
        case SQLITE_MISMATCH:
        case SQLITE_RANGE:
            return Failure::Refused;
        case SQLITE_CONSTRAINT:
            // Our own veto of a statement committing outside its action.
            return code == SQLITE_CONSTRAINT_COMMITHOOK ? Failure::Lost : Failure::Refused;
        default:
            return Failure::DiskError;
        }
    }
    // A server names the statement's fault in most classes (data, constraint,
    // syntax, a trigger's refusal): those refuse a row. These are the server's
    // own trouble.
    const QString c = nativeCode.trimmed();
    const auto in = [&c](const char *prefix) { return c.startsWith(QLatin1String(prefix)); };
    if (c.isEmpty() || in("08") || in("57P") || c == QLatin1String("25P02"))
        return Failure::Lost;
    if (c == QLatin1String("53100"))
        return Failure::DiskFull;
    if (c == QLatin1String("55P03") || c == QLatin1String("55006") || c == QLatin1String("53300") ||
        in("40"))
        return Failure::Busy;
    if (c == QLatin1String("42501") || c == QLatin1String("25006") || in("28"))
        return Failure::NoPermission;
    if (c == QLatin1String("XX001") || c == QLatin1String("XX002"))
        return Failure::Damaged;
    if (in("53") || in("58") || in("XX") || in("F0"))
        return Failure::DiskError;
    return Failure::Refused;
}

QString failureText(Failure failure) {
    switch (failure) {
    case Failure::Busy:
        return QStringLiteral("Şirket dosyaları şu an başka bir masada kullanılıyor.");
    case Failure::DiskFull:
        return QStringLiteral("Disk dolu: şirket dosyalarına yazılamıyor.");
    case Failure::DiskError:
        return QStringLiteral("Disk hatası: şirket dosyaları okunamadı ya da yazılamadı.");
    case Failure::NoPermission:
        return QStringLiteral("Şirket dosyalarına yazma izni yok.");
    case Failure::Damaged:
        return QStringLiteral("Şirket dosyası bozuk ya da bir veritabanı değil.");
    case Failure::Lost:
        return QStringLiteral("Veritabanı bağlantısı koptu.");
    case Failure::None:
    case Failure::Refused:
        break;
    }
    return QString();
}

} // namespace data
