#include "startup/base/cashbox.h"

#include "startup/base/inifile.h"

#include <QFile>
#include <QLockFile>
#include <QtEndian>
#include <cstring>

namespace cashbox {

namespace {

constexpr int LockTimeoutMs = 10000;

double readDouble(const QByteArray &bytes) {
    if (bytes.size() < 8)
        return 0;
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QByteArray doubleBytes(double v) {
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    QByteArray out(8, '\0');
    qToLittleEndian(bits, out.data());
    return out;
}

qint64 offsetOf(int record) {
    return qint64(record - 1) * RecordSize;
}

} // namespace

QString fileName(const QString &cashBoxNumber) {
    bool ok = false;
    const qlonglong n = cashBoxNumber.trimmed().toLongLong(&ok);
    return QStringLiteral("kasa") + QString::number(ok ? n : 0) + QStringLiteral(".dat");
}

int dayRecord(const QDate &date) {
    return (date.month() - 1) * 31 + date.day() + 2;
}

QString accountCode(const QString &filePath) {
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly) || f.size() == 0 || !f.seek(offsetOf(2)))
        return QString();
    // A day file that was never given a code holds zero bytes there; they
    // are no part of a code and no database takes them.
    QByteArray record = f.read(RecordSize);
    const qsizetype end = record.indexOf('\0');
    if (end >= 0)
        record.truncate(end);
    return ini::decodeLegacyText(record).trimmed();
}

double dayTotal(const QString &filePath, const QDate &date) {
    QFile f(filePath);
    if (!date.isValid() || !f.open(QIODevice::ReadOnly) || !f.seek(offsetOf(dayRecord(date))))
        return 0;
    return readDouble(f.read(8));
}

bool addToDayTotal(const QString &filePath, const QDate &date, double amount) {
    if (!date.isValid())
        return false;
    QLockFile lock(filePath + QStringLiteral(".lock"));
    if (!lock.tryLock(LockTimeoutMs))
        return false;
    QFile f(filePath);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    const qint64 at = offsetOf(dayRecord(date));
    double total = 0;
    if (f.size() >= at + 8 && f.seek(at))
        total = readDouble(f.read(8));
    // A short file grows with empty records up to the day's.
    if (f.size() < at && !f.resize(at))
        return false;
    return f.seek(at) && f.write(doubleBytes(total + amount)) == 8 && f.flush();
}

} // namespace cashbox
