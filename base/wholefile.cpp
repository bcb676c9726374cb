#include "base/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wholefile {

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadUser | QFileDevice::WriteUser;
constexpr QFileDevice::Permissions WithGroup =
    OwnerOnly | QFileDevice::ReadGroup | QFileDevice::WriteGroup;

QFileDevice::Permissions g_mode = OwnerOnly;

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Written data on the disk before the rename makes it the file.
bool syncFile(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

Staged::Staged(QString target) : m_target(std::move(target)) {}

Staged::~Staged() {
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
}

bool Staged::open(QString *error) {
    const QFileInfo info(m_target);
    // Made exclusively under an unpredictable name: a link planted beside
    // the target is never written through.
    QTemporaryFile file(info.absoluteDir().filePath(QLatin1Char('.') + info.fileName() +
                                                    QStringLiteral(".XXXXXX")));
    file.setAutoRemove(false);
    if (!file.open()) {
        *error = file.errorString();
        return false;
    }
    m_temporary = file.fileName();
    file.close();
    return true;
}

bool Staged::commit(QString *error) {
    if (m_temporary.isEmpty()) {
        *error = QStringLiteral("dosya açılmadı");
        return false;
    }
    // A file that replaces another keeps its mode; a new one gets the office's.
    const QFileInfo old(m_target);
    const QFileDevice::Permissions mode =
        old.exists() && !old.isSymLink() ? QFile::permissions(m_target) : newFileMode();
    bool ok = QFile::setPermissions(m_temporary, mode) && syncFile(m_temporary);
    if (ok && std::rename(QFile::encodeName(m_temporary).constData(),
                          QFile::encodeName(m_target).constData()) != 0)
        ok = false;
    if (!ok) {
        *error = systemError();
        QFile::remove(m_temporary);
        m_temporary.clear();
        return false;
    }
    m_temporary.clear();
    return true;
}

bool write(const QString &path, const QByteArray &bytes, QString *error) {
    Staged staged(path);
    if (!staged.open(error))
        return false;
    QFile file(staged.path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    file.close();
    return staged.commit(error);
}

bool sharedWithGroup(const QString &folder, uint *group) {
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        (st.st_mode & S_ISGID) == 0)
        return false;
    if (group)
        *group = st.st_gid;
    return true;
}

QFileDevice::Permissions useOfficeMask(const QString &folder) {
    const bool shared = sharedWithGroup(folder);
    ::umask(shared ? 007 : 077);
    g_mode = shared ? WithGroup : OwnerOnly;
    return g_mode;
}

QFileDevice::Permissions newFileMode() {
    return g_mode;
}

} // namespace wholefile
