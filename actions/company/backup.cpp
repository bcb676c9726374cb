#include "actions/company/backup.h"

#include "actions/company/newcompany.h"
#include "base/wholefile.h"
#include "data/cashbox.h"
#include "data/database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace backup {

namespace {

const QString ManifestName = QStringLiteral("yedek.txt");
const QString DumpName = QStringLiteral("sunucu.dump");
const QString DataFile = QStringLiteral("xdata.dat");
const QString KoopFile = QStringLiteral("dalun.dat");
const QString SettingsFile = QStringLiteral("korvane.dat");
// The files the screens read beside the databases: the settings, the
// integration's accounts and the attendance list's groups.
const char *const SideFiles[] = {"korvane.dat", "dalun.ayr", "hazirun.ini"};
// Where a backup or a restore is built: the target's name and this, so a
// clerk who finds one left by a stop sees what it is.
const QString Unfinished = QStringLiteral(".tamamlanmamis-XXXXXX");
// As long as a desk waits for a day file's lock.
constexpr int DayLockWaitMs = 10000;

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Who may read a backup or a restored company: its owner only, or the
// office's group too when the folder it comes from is shared with one
// (the setgid bit, so the desks' files keep the folder's group).
struct Access {
    bool shared = false;
    gid_t group = 0;
    mode_t folderMode() const { return shared ? 02770 : 0700; }
    mode_t fileMode() const { return shared ? 0660 : 0600; }
};

Access accessOf(const QString &folder) {
    Access a;
    uint group = 0;
    a.shared = wholefile::sharedWithGroup(folder, &group);
    a.group = gid_t(group);
    return a;
}

// Exactly `mode`, whatever the umask; the group before the mode, as a
// change of group drops the setgid bit.
bool restrict(const QString &path, mode_t mode, const Access &access, QString *error) {
    const QByteArray name = QFile::encodeName(path);
    if ((access.shared && ::chown(name.constData(), uid_t(-1), access.group) != 0) ||
        ::chmod(name.constData(), mode) != 0) {
        *error = path + QStringLiteral(": izinleri verilemiyor: ") + systemError();
        return false;
    }
    return true;
}

bool syncFolder(const QString &path, QString *error) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (!ok)
        *error = path + QStringLiteral(": diske yazılamıyor: ") + systemError();
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// One line of the manifest.
struct Entry {
    QString name;
    qint64 size = 0;
    QByteArray sha256; // hex
};

// Reads `from` whole, handing each block to `to` when given; its size and
// checksum in `sum`.
bool readWhole(QFile &from, QFile *to, Entry *sum, QString *error) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        const qint64 n = from.read(block.data(), block.size());
        if (n < 0) {
            *error = from.fileName() + QStringLiteral(" okunamıyor: ") + from.errorString();
            return false;
        }
        if (n == 0)
            break;
        if (to && to->write(block.constData(), n) != n) {
            *error = to->fileName() + QStringLiteral(" yazılamıyor: ") + to->errorString();
            return false;
        }
        hash.addData(QByteArrayView(block.constData(), n));
        size += n;
    }
    sum->size = size;
    sum->sha256 = hash.result().toHex();
    return true;
}

// The file's size and checksum, read from the disk after it is synced.
bool sumOf(const QString &path, Entry *sum, QString *error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(" okunamıyor: ") + f.errorString();
        return false;
    }
    if (::fsync(f.handle()) != 0) {
        *error = path + QStringLiteral(": diske yazılamıyor: ") + systemError();
        return false;
    }
    return readWhole(f, nullptr, sum, error);
}

// Byte for byte into a new file, synced and given `access`; `sum` is what
// was read, and the copy read back from the disk must be the same.
bool copyFile(const QString &from, const QString &to, const Access &access, Entry *sum,
              QString *error) {
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = from + QStringLiteral(" okunamıyor: ") + in.errorString();
        return false;
    }
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *error = to + QStringLiteral(" yaratılamıyor: ") + out.errorString();
        return false;
    }
    if (!readWhole(in, &out, sum, error))
        return false;
    if (!out.flush() || ::fsync(out.handle()) != 0) {
        *error = to + QStringLiteral(" yazılamıyor: ") + out.errorString();
        return false;
    }
    out.close();
    Entry written;
    if (!restrict(to, access.fileMode(), access, error) || !sumOf(to, &written, error))
        return false;
    if (written.size != sum->size || written.sha256 != sum->sha256) {
        *error = to + QStringLiteral(": kopyası okunan dosyayla aynı değil.");
        return false;
    }
    return true;
}

// The folder a backup or a restore is built in: beside its target, named
// as unfinished, and removed unless it became the target.
class WorkFolder {
  public:
    bool create(const QString &target, const Access &access, QString *error) {
        const QFileInfo t(target);
        if (!QDir().mkpath(t.absolutePath())) {
            *error = t.absolutePath() + QStringLiteral(": klasör yaratılamıyor.");
            return false;
        }
        m_dir = std::make_unique<QTemporaryDir>(
            QDir(t.absolutePath()).filePath(t.fileName() + Unfinished));
        if (!m_dir->isValid()) {
            *error = t.absolutePath() + QStringLiteral(": klasör yaratılamıyor: ") +
                     m_dir->errorString();
            return false;
        }
        return restrict(m_dir->path(), access.folderMode(), access, error);
    }
    QString file(const QString &name) const { return m_dir->filePath(name); }
    // Nothing but `names` inside: a database's side file left behind would
    // be a part the manifest does not tell of.
    bool holdsOnly(QStringList names, QString *error) const {
        QStringList found =
            QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        names.sort();
        found.sort();
        if (found == names)
            return true;
        for (const QString &f : found)
            if (!names.contains(f)) {
                *error = file(f) + QStringLiteral(": beklenmeyen bir dosya.");
                return false;
            }
        *error = m_dir->path() + QStringLiteral(": dosyalar eksik.");
        return false;
    }
    // Synced, then renamed to `target` in one step. With `noReplace` even an
    // empty folder of that name stays as it is; otherwise only one.
    bool finish(const QString &target, bool noReplace, QString *error) {
        if (!syncFolder(m_dir->path(), error))
            return false;
        const QByteArray from = QFile::encodeName(m_dir->path()), to = QFile::encodeName(target);
        int rc = 0, why = 0;
        if (noReplace) {
            bool unsupported = true;
#ifdef RENAME_NOREPLACE
            rc =
                ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
            why = errno;
            unsupported = rc != 0 && (why == EINVAL || why == ENOSYS);
#endif
            // A file system without the flag: the target was missing just before.
            if (unsupported && QFileInfo::exists(target)) {
                rc = -1;
                why = EEXIST;
            } else if (unsupported) {
                rc = std::rename(from.constData(), to.constData());
                why = errno;
            }
        } else {
            rc = std::rename(from.constData(), to.constData());
            why = errno;
        }
        if (rc != 0) {
            errno = why;
            *error = target + QStringLiteral(": klasör yerine konamıyor: ") + systemError();
            return false;
        }
        m_dir->setAutoRemove(false);
        return syncFolder(QFileInfo(target).absolutePath(), error);
    }

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

// The files of the company besides its databases, by name.
QStringList sideFiles(const QDir &company) {
    QStringList files;
    for (const char *name : SideFiles)
        if (QFileInfo(company.filePath(QString::fromLatin1(name))).isFile())
            files << QString::fromLatin1(name);
    // The day files and the journals of their day totals; not their locks,
    // nor the half-written copies of a journal a stopped desk left.
    files << company.entryList({QStringLiteral("kasa*.dat"), QStringLiteral("kasa*.dat.bekleyen")},
                               QDir::Files | QDir::Hidden, QDir::Name);
    return files;
}

// The day files held still while the databases' moment is taken: a desk
// holds a day file's lock from before its action commits until its day
// total is written, so under the locks every day total and journal belongs
// to what the databases hold.
class DayFileLocks {
  public:
    // The side files with every day file among them locked, listed again
    // under the locks until no desk has added one. Nothing when a desk held
    // one past the wait (busy) or it cannot be taken; a folder nobody may
    // write to has nobody writing day totals.
    std::optional<QStringList> lockedSideFiles(const QDir &company, bool *busy, QString *error) {
        QStringList files = sideFiles(company);
        for (;;) {
            if (!lock(company, files, busy, error))
                return std::nullopt;
            const QStringList now = sideFiles(company);
            if (now == files)
                return files;
            files = now;
        }
    }
    void release() {
        m_locks.clear();
        m_held.clear();
    }

  private:
    bool lock(const QDir &company, const QStringList &files, bool *busy, QString *error) {
        QStringList days;
        for (const QString &f : files)
            if (f.startsWith(QStringLiteral("kasa"))) {
                const QString day = f.endsWith(QStringLiteral(".bekleyen"))
                                        ? f.chopped(int(qstrlen(".bekleyen")))
                                        : f;
                if (!days.contains(day) && !m_held.contains(day))
                    days << day;
            }
        days.sort();
        for (const QString &day : days) {
            const QString file = company.filePath(day);
            auto lock = std::make_unique<QLockFile>(cashbox::lockFile(file));
            m_held << day;
            if (lock->tryLock(DayLockWaitMs)) {
                m_locks.push_back(std::move(lock));
                continue;
            }
            if (lock->error() == QLockFile::PermissionError)
                continue;
            *busy = lock->error() == QLockFile::LockFailedError;
            *error = file + (*busy ? QStringLiteral(" başka bir masada kullanılıyor.")
                                   : QStringLiteral(" kilitlenemiyor."));
            return false;
        }
        return true;
    }

    std::vector<std::unique_ptr<QLockFile>> m_locks;
    QStringList m_held;
};

// A read transaction: the database as it is now, whatever the desks commit
// later, until the connection closes.
bool holdMoment(data::Database &db) {
    if (!db.exec(QStringLiteral("BEGIN")))
        return false;
    QSqlQuery q(db.sql());
    const bool ok = q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.next();
    if (!ok)
        db.statementFailed(q.lastError());
    return ok;
}

QString openFailure(const data::Database &db, const QString &file) {
    const QString why = data::failureText(db.failure());
    return file + u'\n' +
           (why.isEmpty()
                ? (QFileInfo::exists(file) ? db.lastError() : QStringLiteral("Dosya yok."))
                : why);
}

// A connection of our own to a server's database, in no schema.
class ServerConnection {
  public:
    ServerConnection() : m_name(QStringLiteral("yedek-") + QUuid::createUuid().toString()) {}
    ~ServerConnection() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    ServerConnection(const ServerConnection &) = delete;
    ServerConnection &operator=(const ServerConnection &) = delete;

    bool open(const data::ServerAddress &a, QString *error) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        m_db.setHostName(a.host);
        m_db.setPort(a.port);
        m_db.setDatabaseName(a.database);
        m_db.setUserName(a.user);
        m_db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        if (m_db.open())
            return true;
        *error = QStringLiteral("Veritabanı sunucusuna bağlanılamadı: ") + a.display() + u'\n' +
                 m_db.lastError().text();
        return false;
    }
    // The first column of the first row, or nothing after `error`.
    std::optional<QString> one(const QString &sql, const QVariantList &binds, QString *error) {
        QSqlQuery q(m_db);
        // A server prepares no transaction control nor DDL: those go as they are.
        bool ok = binds.isEmpty() ? q.exec(sql) : q.prepare(sql);
        for (const QVariant &b : binds)
            q.addBindValue(b);
        if (!ok || (!binds.isEmpty() && !q.exec())) {
            *error = m_db.databaseName() + QStringLiteral(": ") + q.lastError().text();
            return std::nullopt;
        }
        return q.next() ? q.value(0).toString() : QString();
    }

  private:
    QString m_name;
    QSqlDatabase m_db;
};

QString quotedName(const QString &name) {
    QString s = name;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

// libpq's own options for the server; the password it finds itself, and it
// never asks for one on a terminal nobody watches.
QStringList serverOptions(const data::ServerAddress &a) {
    QStringList args{QStringLiteral("-w")};
    if (!a.host.isEmpty())
        args << QStringLiteral("-h") << a.host;
    args << QStringLiteral("-p") << QString::number(a.port);
    if (!a.user.isEmpty())
        args << QStringLiteral("-U") << a.user;
    return args;
}

QString typed(const QString &program, const data::ServerAddress &a, const QStringList &rest) {
    QStringList args = serverOptions(a).mid(1);
    return program + u' ' + (args + rest).join(u' ');
}

QString dumpCommand(const data::ServerAddress &a) {
    return typed(QStringLiteral("pg_dump"), a,
                 {QStringLiteral("-Fc"), QStringLiteral("-n"), a.dataSchema, QStringLiteral("-n"),
                  a.koopSchema, QStringLiteral("-f"), DumpName, a.database});
}

QString restoreCommand(const data::ServerAddress &a, const QString &dump) {
    return typed(QStringLiteral("pg_restore"), a,
                 {QStringLiteral("-d"), a.database, QStringLiteral("--no-owner"),
                  QStringLiteral("--no-acl"), QStringLiteral("--single-transaction"),
                  QStringLiteral("--exit-on-error"), dump});
}

bool runTool(const QString &program, const QStringList &args, QString *error) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(-1)) {
        *error = program + QStringLiteral(" çalıştırılamadı: ") + p.errorString();
        return false;
    }
    p.closeWriteChannel();
    const bool finished = p.waitForFinished(-1);
    if (finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    *error = QFileInfo(program).fileName() + QStringLiteral(" başarısız oldu:\n") +
             QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    return false;
}

// What a backup is made of, in the order it is taken.
struct Backup {
    QDir company;
    QString target;
    std::optional<data::ServerAddress> server;
    QString pgDump;
    Access access;
    WorkFolder work;
    std::vector<Entry> entries;
    bool busy = false;

    // A file the backup wrote itself (a database copy, the dump): given the
    // backup's access and entered in the manifest as it now stands on disk.
    bool enter(const QString &name, QString *error) {
        Entry e;
        e.name = name;
        if (!restrict(work.file(name), access.fileMode(), access, error) ||
            !sumOf(work.file(name), &e, error))
            return false;
        entries.push_back(e);
        return true;
    }

    bool copySideFiles(const QStringList &files, QString *error) {
        for (const QString &name : files) {
            Entry e;
            e.name = name;
            if (!copyFile(company.filePath(name), work.file(name), access, &e, error))
                return false;
            entries.push_back(e);
        }
        return true;
    }

    // Dalun's moment before xdata's: an action commits xdata first, so
    // between the two at most xdata holds an action whose settings dalun
    // does not yet, as when dalun could not be written.
    bool takeFiles(QString *error) {
        data::Database koop, data;
        for (auto [db, name] : {std::pair{&koop, KoopFile}, std::pair{&data, DataFile}})
            if (!db->open(company.filePath(name))) {
                *error = openFailure(*db, company.filePath(name));
                return false;
            }
        DayFileLocks locks;
        const std::optional<QStringList> side = locks.lockedSideFiles(company, &busy, error);
        if (!side)
            return false;
        if (!holdMoment(koop) || !holdMoment(data)) {
            const data::Database &failed = koop.failure() != data::Failure::None ? koop : data;
            *error = failed.filePath() + u'\n' + data::failureText(failed.failure());
            busy = failed.failure() == data::Failure::Busy;
            return false;
        }
        if (!copySideFiles(*side, error))
            return false;
        locks.release();
        for (auto [db, name] : {std::pair{&koop, KoopFile}, std::pair{&data, DataFile}}) {
            if (!db->backupTo(work.file(name))) {
                *error = company.filePath(name) + u'\n' + db->lastError();
                return false;
            }
            db->close();
            if (!enter(name, error))
                return false;
        }
        return true;
    }

    // The dump's moment is exported from a transaction of our own, taken
    // while the day files are held, and stays open until pg_dump is done.
    bool takeServer(QString *error) {
        ServerConnection moment;
        if (!moment.open(*server, error))
            return false;
        DayFileLocks locks;
        const std::optional<QStringList> side = locks.lockedSideFiles(company, &busy, error);
        if (!side)
            return false;
        std::optional<QString> snapshot =
            moment.one(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ"), {}, error);
        if (snapshot)
            snapshot = moment.one(QStringLiteral("SELECT pg_export_snapshot()"), {}, error);
        if (!snapshot || !copySideFiles(*side, error))
            return false;
        locks.release();
        QStringList args = serverOptions(*server);
        args << QStringLiteral("-Fc") << QStringLiteral("--snapshot=") + *snapshot
             << QStringLiteral("-n") << quotedName(server->dataSchema) << QStringLiteral("-n")
             << quotedName(server->koopSchema) << QStringLiteral("-f") << work.file(DumpName)
             << QStringLiteral("-d") << server->database;
        return runTool(pgDump, args, error) && enter(DumpName, error);
    }

    bool writeManifest(QString *error) {
        QByteArray text;
        QStringList names;
        for (const Entry &e : entries) {
            text += e.name.toUtf8() + ' ' + QByteArray::number(e.size) + ' ' + e.sha256 + '\n';
            names << e.name;
        }
        QFile f(work.file(ManifestName));
        if (!work.holdsOnly(names, error))
            return false;
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || f.write(text) != text.size() ||
            !f.flush() || ::fsync(f.handle()) != 0) {
            *error = f.fileName() + QStringLiteral(" yazılamıyor: ") + f.errorString();
            return false;
        }
        f.close();
        return restrict(f.fileName(), access.fileMode(), access, error);
    }
};

std::optional<std::vector<Entry>> readManifest(const QDir &backup, QString *error) {
    QFile f(backup.filePath(ManifestName));
    if (!f.exists()) {
        *error = f.fileName() + QStringLiteral(" yok: bu klasör tamamlanmış bir yedek değil.");
        return std::nullopt;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.fileName() + QStringLiteral(" okunamıyor: ") + f.errorString();
        return std::nullopt;
    }
    std::vector<Entry> entries;
    int lineNo = 0;
    while (!f.atEnd()) {
        ++lineNo;
        QByteArray line = f.readLine();
        const bool whole = line.endsWith('\n');
        line.chop(whole ? 1 : 0);
        // The name may hold blanks: size and checksum are the last two fields.
        const qsizetype hashAt = line.lastIndexOf(' ');
        const qsizetype sizeAt = hashAt > 0 ? line.lastIndexOf(' ', hashAt - 1) : -1;
        Entry e;
        bool ok = whole && sizeAt > 0;
        if (ok) {
            e.name = QString::fromUtf8(line.left(sizeAt));
            e.size = line.mid(sizeAt + 1, hashAt - sizeAt - 1).toLongLong(&ok);
            e.sha256 = line.mid(hashAt + 1);
        }
        const bool plainName =
            !e.name.contains(u'/') && e.name != u"." && e.name != u".." && e.name != ManifestName;
        if (!ok || e.size < 0 || e.sha256.size() != 64 || !plainName) {
            *error = f.fileName() + QStringLiteral(": %1. satır okunamıyor.").arg(lineNo);
            return std::nullopt;
        }
        for (const Entry &seen : entries)
            if (seen.name == e.name) {
                *error = f.fileName() + QStringLiteral(": %1 iki kez yazılmış.").arg(e.name);
                return std::nullopt;
            }
        entries.push_back(e);
    }
    return entries;
}

// Problems of a restored database file, read as it is (nothing written to
// it); empty when the check says "ok".
QString integrityOf(const QString &file) {
    const QString name = QStringLiteral("geriyukle-") + QUuid::createUuid().toString();
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        db.setDatabaseName(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?immutable=1"));
        QFile header(file);
        if (!header.open(QIODevice::ReadOnly) ||
            header.read(16) != QByteArray("SQLite format 3", 16)) {
            problem = QStringLiteral("bir veritabanı değil");
        } else if (!db.open()) {
            problem = db.lastError().text();
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
                problem = q.lastError().text();
            while (problem.isEmpty() && q.next())
                if (q.value(0).toString() != u"ok")
                    problem = q.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

// The schemas a server restore made, dropped again unless the company
// folder that names them is in place.
class RestoredSchemas {
  public:
    explicit RestoredSchemas(data::ServerAddress a) : m_address(std::move(a)) {}
    ~RestoredSchemas() {
        if (!m_made || m_kept)
            return;
        ServerConnection db;
        QString error;
        if (db.open(m_address, &error))
            for (const QString &schema : {m_address.dataSchema, m_address.koopSchema})
                (void)db.one(QStringLiteral("DROP SCHEMA IF EXISTS ") + quotedName(schema) +
                                 QStringLiteral(" CASCADE"),
                             {}, &error);
    }
    RestoredSchemas(const RestoredSchemas &) = delete;
    RestoredSchemas &operator=(const RestoredSchemas &) = delete;

    bool restore(const QString &pgRestore, const QString &dump, QString *error) {
        ServerConnection db;
        if (!db.open(m_address, error))
            return false;
        const std::optional<QString> found =
            db.one(QStringLiteral("SELECT min(nspname) FROM pg_namespace WHERE nspname IN (?, ?)"),
                   {m_address.dataSchema, m_address.koopSchema}, error);
        if (!found)
            return false;
        if (!found->isEmpty()) {
            *error = QStringLiteral("bu sunucuda zaten bir şirket var, dokunulmadı: ") +
                     m_address.display() + u'/' + *found;
            return false;
        }
        QStringList args = serverOptions(m_address);
        args << QStringLiteral("-d") << m_address.database << QStringLiteral("--no-owner")
             << QStringLiteral("--no-acl") << QStringLiteral("--single-transaction")
             << QStringLiteral("--exit-on-error") << dump;
        m_made = runTool(pgRestore, args, error);
        return m_made;
    }
    void keep() { m_kept = true; }

  private:
    data::ServerAddress m_address;
    bool m_made = false, m_kept = false;
};

// How a server backup is loaded: by koop-cli where pg_restore is at hand,
// else by hand.
QString serverRestoreHow(const data::ServerAddress &from, const QString &dump, bool byCli) {
    data::ServerAddress a = from;
    a.host = QStringLiteral("SUNUCU");
    a.port = 5432;
    a.user = QStringLiteral("KULLANICI");
    a.database = QStringLiteral("VERİTABANI");
    return (byCli ? QStringLiteral("koop-cli restore YEDEK KLASÖR --server "
                                   "SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] ile ya da elle "
                                   "yüklenir:\n")
                  : QStringLiteral("Elle yüklenir:\n")) +
           restoreCommand(a, dump) +
           QStringLiteral("\nsonra öteki dosyalar yeni klasöre kopyalanır ve korvane.dat'ın "
                          "[sunucu] bölümüne yeni sunucu yazılır.");
}

} // namespace

std::optional<QString> take(const QString &companyFolder, const QString &targetFolder,
                            Messages &messages) {
    Backup b;
    b.company = QDir(QDir::cleanPath(companyFolder));
    b.target = QDir::cleanPath(targetFolder);
    const auto refuse = [&](const QString &text) -> std::optional<QString> {
        messages.warning(text);
        return std::nullopt;
    };
    if (!b.company.exists())
        return refuse(QStringLiteral("Yedek alınamadı: şirket klasörü yok:\n") + b.company.path());
    b.server = data::readServerAddress(b.company.filePath(SettingsFile));
    if (b.server) {
        b.pgDump = QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
        if (b.pgDump.isEmpty())
            return refuse(QStringLiteral("Bu şirketin verileri sunucuda: ") + b.server->display() +
                          QStringLiteral("\npg_dump bulunamadı (PostgreSQL istemcisi). Tablolar "
                                         "elle şöyle yedeklenir:\n") +
                          dumpCommand(*b.server) +
                          QStringLiteral("\nve şirket klasöründeki korvane.dat, dalun.ayr, "
                                         "hazirun.ini ve kasa*.dat dosyaları yanına kopyalanır."));
    }
    const QFileInfo target(b.target);
    if (target.exists() && !(target.isDir() && QDir(b.target).isEmpty()))
        return refuse((target.isDir() ? QStringLiteral("Yedek klasörü boş değil:\n")
                                      : QStringLiteral("Yedek klasörü bir dosyanın adı:\n")) +
                      b.target);
    b.access = accessOf(b.company.path());
    QString error;
    const bool made = b.work.create(b.target, b.access, &error) &&
                      (b.server ? b.takeServer(&error) : b.takeFiles(&error)) &&
                      b.writeManifest(&error) && b.work.finish(b.target, false, &error);
    if (!made) {
        if (b.busy)
            messages.markBusy();
        if (b.server && !error.contains(b.server->display()))
            error = b.server->display() + u'\n' + error;
        return refuse(QStringLiteral("Yedek alınamadı: ") + error);
    }
    return QStringLiteral("Yedek alındı: ") + b.target;
}

std::optional<QString> restore(const QString &backupFolder, const QString &companyFolder,
                               const std::optional<QString> &serverText, Messages &messages) {
    const QDir backup(QDir::cleanPath(backupFolder));
    const QString folder = QDir::cleanPath(companyFolder);
    const auto refuse = [&](const QString &text) -> std::optional<QString> {
        messages.warning(QStringLiteral("Yedek geri yüklenmedi: ") + text);
        return std::nullopt;
    };
    const QFileInfo target(folder);
    if (target.exists() || target.isSymLink())
        return refuse(QStringLiteral("bu klasör zaten var; geri yükleme var olanın üzerine "
                                     "yazmaz:\n") +
                      folder);
    if (!backup.exists())
        return refuse(QStringLiteral("yedek klasörü yok:\n") + backup.path());
    QString error;
    const std::optional<std::vector<Entry>> entries = readManifest(backup, &error);
    if (!entries)
        return refuse(error);
    std::map<QString, const Entry *> listed;
    for (const Entry &e : *entries)
        listed[e.name] = &e;
    for (const QString &f :
         backup.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        if (f != ManifestName && !listed.count(f))
            return refuse(backup.filePath(f) +
                          QStringLiteral(": yedek.txt'de yok; yedeğin parçası değil."));
    const bool onServer = listed.count(DumpName) > 0;
    for (const QString &needed :
         onServer ? QStringList{DumpName, SettingsFile} : QStringList{DataFile, KoopFile})
        if (!listed.count(needed))
            return refuse(backup.filePath(ManifestName) + QStringLiteral(": ") + needed +
                          QStringLiteral(" yedekte yok."));

    std::optional<data::ServerAddress> server;
    QString pgRestore;
    if (onServer) {
        const auto from = data::readServerAddress(backup.filePath(SettingsFile));
        if (!from)
            return refuse(backup.filePath(SettingsFile) +
                          QStringLiteral(": sunucuyu göstermiyor, ama yedekte ") + DumpName +
                          QStringLiteral(" var."));
        const QString dump = backup.filePath(DumpName);
        if (!serverText)
            return refuse(QStringLiteral("bu yedek sunucudaki bir şirketin (") + from->dataSchema +
                          QStringLiteral(" ve ") + from->koopSchema + QStringLiteral(" şemaları ") +
                          dump + QStringLiteral(").\n") + serverRestoreHow(*from, dump, true));
        server = newcompany::parseServer(*serverText);
        if (!server)
            return refuse(QStringLiteral("sunucu SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] "
                                         "biçiminde olmalı: ") +
                          *serverText);
        const data::ServerAddress defaults;
        const bool otherSchemas =
            (server->dataSchema != defaults.dataSchema ||
             server->koopSchema != defaults.koopSchema) &&
            (server->dataSchema != from->dataSchema || server->koopSchema != from->koopSchema);
        if (otherSchemas)
            return refuse(QStringLiteral("yedekteki şemalar ") + from->dataSchema +
                          QStringLiteral(" ve ") + from->koopSchema +
                          QStringLiteral("; başka adla yüklenemez."));
        server->dataSchema = from->dataSchema;
        server->koopSchema = from->koopSchema;
        pgRestore = QStandardPaths::findExecutable(QStringLiteral("pg_restore"));
        if (pgRestore.isEmpty())
            return refuse(QStringLiteral("pg_restore bulunamadı (PostgreSQL istemcisi).\n") +
                          serverRestoreHow(*from, dump, false));
    } else if (serverText) {
        return refuse(QStringLiteral("bu yedek SQLite dosyalarından; --server yalnız sunucudaki "
                                     "bir şirketin yedeğine verilir."));
    }

    const Access access = accessOf(backup.path());
    WorkFolder work;
    if (!work.create(folder, access, &error))
        return refuse(error);
    QStringList names;
    for (const Entry &e : *entries) {
        const QString from = backup.filePath(e.name);
        if (!QFileInfo(from).isFile())
            return refuse(from + QStringLiteral(": yedekte yok."));
        Entry copied;
        if (!copyFile(from, work.file(e.name), access, &copied, &error))
            return refuse(error);
        if (copied.size != e.size)
            return refuse(from + QStringLiteral(": boyu yedek.txt'de %1 bayt, dosyada %2 bayt.")
                                     .arg(e.size)
                                     .arg(copied.size));
        if (copied.sha256 != e.sha256)
            return refuse(from +
                          QStringLiteral(": içeriği yedek.txt'deki SHA-256 toplamını tutmuyor."));
        names << e.name;
    }
    if (!onServer)
        for (const QString &name : {DataFile, KoopFile})
            if (const QString problem = integrityOf(work.file(name)); !problem.isEmpty())
                return refuse(backup.filePath(name) + QStringLiteral(": bozuk: ") + problem);
    if (!work.holdsOnly(names, &error))
        return refuse(error);
    std::optional<RestoredSchemas> schemas;
    if (server) {
        schemas.emplace(*server);
        if (!schemas->restore(pgRestore, work.file(DumpName), &error))
            return refuse(error);
        // The tables are on the server now; the folder holds what the desks read.
        if (!QFile::remove(work.file(DumpName)))
            return refuse(work.file(DumpName) + QStringLiteral(" silinemiyor."));
        // The restored folder names the server its tables are on now.
        if (!data::writeServerAddress(work.file(SettingsFile), *server))
            return refuse(work.file(SettingsFile) + QStringLiteral(" yazılamıyor."));
        if (!restrict(work.file(SettingsFile), access.fileMode(), access, &error))
            return refuse(error);
    }
    if (!work.finish(folder, true, &error))
        return refuse(error);
    if (schemas)
        schemas->keep();
    return QStringLiteral("Yedek geri yüklendi: ") + folder;
}

} // namespace backup
