#include "data/cashbox.h"

#include "base/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QtEndian>
#include <cstring>
#include <unistd.h>

namespace cashbox {

namespace {

constexpr int LockTimeoutMs = 10000;

quint64 bitsOf(double v) {
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double fromBits(quint64 bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double readDouble(const QByteArray &bytes) {
    if (bytes.size() < 8)
        return 0;
    return fromBits(qFromLittleEndian<quint64>(bytes.constData()));
}

QByteArray doubleBytes(double v) {
    QByteArray out(8, '\0');
    qToLittleEndian(bitsOf(v), out.data());
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

QString journalFile(const QString &dayFile) {
    return dayFile + QStringLiteral(".bekleyen");
}

QString lockFile(const QString &dayFile) {
    return dayFile + QStringLiteral(".lock");
}

namespace {

// One line of the journal: a change noted before its action committed
// ('P', with its collection's reference), or a record about to go from one
// value to another ('A'), both values as the bits of the double.
struct Line {
    char kind = 'P';
    QString refer;
    int record = 0;
    double amount = 0;
    quint64 from = 0, to = 0;
};

bool readJournal(const QString &dayFile, std::vector<Line> *lines, QString *error) {
    lines->clear();
    QFile f(journalFile(dayFile));
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.fileName() + QStringLiteral(" okunamıyor: ") + f.errorString();
        return false;
    }
    while (!f.atEnd()) {
        const QList<QByteArray> parts = f.readLine().trimmed().split(' ');
        bool ok = parts.size() == 4 || parts.size() == 3;
        Line l;
        if (ok && parts[0] == "P" && parts.size() == 4) {
            l.refer = QString::fromUtf8(QByteArray::fromHex(parts[1]));
            l.record = parts[2].toInt(&ok);
            l.amount = fromBits(parts[3].toULongLong(&ok, 16));
        } else if (ok && parts[0] == "A" && parts.size() == 4) {
            l.kind = 'A';
            l.record = parts[1].toInt(&ok);
            l.from = parts[2].toULongLong(&ok, 16);
            l.to = parts[3].toULongLong(&ok, 16);
        } else {
            ok = false;
        }
        // A line cut short by a stop while it was written is no change.
        if (ok)
            lines->push_back(l);
    }
    return true;
}

bool writeJournal(const QString &dayFile, const std::vector<Line> &lines, QString *error) {
    const QString name = journalFile(dayFile);
    if (lines.empty()) {
        if (QFile::exists(name) && !QFile::remove(name)) {
            *error = name + QStringLiteral(" silinemiyor.");
            return false;
        }
        return true;
    }
    QByteArray text;
    for (const Line &l : lines) {
        if (l.kind == 'P')
            text += "P " + l.refer.toUtf8().toHex() + ' ' + QByteArray::number(l.record) + ' ' +
                    QByteArray::number(bitsOf(l.amount), 16) + '\n';
        else
            text += "A " + QByteArray::number(l.record) + ' ' + QByteArray::number(l.from, 16) +
                    ' ' + QByteArray::number(l.to, 16) + '\n';
    }
    // Whole or not at all: written beside it, synced, then renamed over it.
    QSaveFile f(name);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit()) {
        *error = name + QStringLiteral(" yazılamıyor: ") + f.errorString();
        return false;
    }
    return true;
}

double readRecord(QFile &f, int record) {
    const qint64 at = offsetOf(record);
    if (f.size() < at + 8 || !f.seek(at))
        return 0;
    return readDouble(f.read(8));
}

bool writeRecord(QFile &f, int record, double value) {
    const qint64 at = offsetOf(record);
    // A short file grows with empty records up to the day's.
    if (f.size() < at && !f.resize(at))
        return false;
    return f.seek(at) && f.write(doubleBytes(value)) == 8 && f.flush() && ::fsync(f.handle()) == 0;
}

// Notes that `record` is to move by `amount`: from what it will hold once
// the 'A' lines already in `lines` are written, or holds now.
void planChange(QFile &day, std::vector<Line> &lines, int record, double amount) {
    double from = readRecord(day, record);
    for (const Line &l : lines)
        if (l.kind == 'A' && l.record == record)
            from = fromBits(l.to);
    lines.push_back({'A', QString(), record, 0, bitsOf(from), bitsOf(from + amount)});
}

// The journal's lines without the last `ours`, the changes of the action
// that holds the lock.
void dropLast(std::vector<Line> &lines, size_t ours) {
    lines.resize(lines.size() >= ours ? lines.size() - ours : 0);
}

// Writes every 'A' line's new value where the record still holds the old
// one (a record that already holds the new one was written before a stop).
bool applyLines(QFile &day, const std::vector<Line> &lines) {
    for (const Line &l : lines) {
        if (l.kind != 'A')
            continue;
        const quint64 now = bitsOf(readRecord(day, l.record));
        if (now == l.from && !writeRecord(day, l.record, fromBits(l.to)))
            return false;
    }
    return true;
}

bool openDay(QFile &day, QString *error) {
    if (!day.open(QIODevice::ReadWrite)) {
        *error = day.fileName() + QStringLiteral(" yazılamıyor: ") + day.errorString();
        return false;
    }
    return true;
}

std::unique_ptr<QLockFile> lockDay(const QString &dayFile, QString *error) {
    auto lock = std::make_unique<QLockFile>(lockFile(dayFile));
    if (!lock->tryLock(LockTimeoutMs)) {
        *error = dayFile + (lock->error() == QLockFile::LockFailedError
                                ? QStringLiteral(" başka bir masada kullanılıyor.")
                                : QStringLiteral(" kilitlenemiyor: klasöre yazılamıyor."));
        return nullptr;
    }
    return lock;
}

// Under the lock: settles the journal; the changes that cannot be told yet
// stay in `kept`.
bool settleLocked(const QString &dayFile, QFile &day, const Stored &stored, int *settled,
                  std::vector<Line> *kept, QString *error) {
    std::vector<Line> lines;
    if (!readJournal(dayFile, &lines, error))
        return false;
    kept->clear();
    // Whatever a desk stopped while writing the journal left beside it.
    const QFileInfo journal(journalFile(dayFile));
    for (const QString &stray : journal.dir().entryList({journal.fileName() + QStringLiteral(".*")},
                                                        QDir::Files | QDir::Hidden))
        QFile::remove(journal.dir().filePath(stray));
    if (lines.empty())
        return writeJournal(dayFile, {}, error); // nothing, or nothing but a cut line
    // Records a stopped desk was writing first, then the changes it noted.
    if (!applyLines(day, lines)) {
        *error = dayFile + QStringLiteral(" yazılamıyor: ") + day.errorString();
        return false;
    }
    std::vector<Line> planned;
    for (const Line &l : lines) {
        if (l.kind == 'A') {
            ++*settled;
            continue;
        }
        const std::optional<bool> isStored = stored(l.refer);
        if (!isStored) {
            kept->push_back(l);
            continue;
        }
        ++*settled;
        if (!*isStored)
            continue;
        planChange(day, planned, l.record, l.amount);
    }
    std::vector<Line> noted = *kept;
    noted.insert(noted.end(), planned.begin(), planned.end());
    if (!writeJournal(dayFile, noted, error))
        return false;
    if (!applyLines(day, planned)) {
        *error = dayFile + QStringLiteral(" yazılamıyor: ") + day.errorString();
        return false;
    }
    return writeJournal(dayFile, *kept, error);
}

} // namespace

DayTotalJournal::DayTotalJournal(QString dayFile) : m_file(std::move(dayFile)) {}

DayTotalJournal::~DayTotalJournal() = default;

void DayTotalJournal::add(const QDate &date, double amount, const QString &refer) {
    m_changes.push_back({dayRecord(date), amount, refer});
}

bool DayTotalJournal::prepare(const Stored &stored, QString *error) {
    m_lock = lockDay(m_file, error);
    if (!m_lock)
        return false;
    QFile day(m_file);
    std::vector<Line> kept;
    int settled = 0;
    if (!openDay(day, error) || !settleLocked(m_file, day, stored, &settled, &kept, error)) {
        m_lock.reset();
        return false;
    }
    for (const Change &c : m_changes)
        kept.push_back({'P', c.refer, c.record, c.amount, 0, 0});
    if (!writeJournal(m_file, kept, error)) {
        m_lock.reset();
        return false;
    }
    return true;
}

bool DayTotalJournal::apply(QString *error) {
    if (!m_lock)
        return false;
    std::vector<Line> lines;
    QFile day(m_file);
    bool ok = readJournal(m_file, &lines, error) && openDay(day, error);
    if (ok) {
        // Ours are the last lines; before them the changes nobody could tell.
        dropLast(lines, m_changes.size());
        const std::vector<Line> kept = lines;
        for (const Change &c : m_changes)
            planChange(day, lines, c.record, c.amount);
        ok = writeJournal(m_file, lines, error);
        if (ok && !applyLines(day, lines)) {
            *error = m_file + QStringLiteral(" yazılamıyor: ") + day.errorString();
            ok = false;
        }
        ok = ok && writeJournal(m_file, kept, error);
    }
    m_changes.clear();
    m_lock.reset();
    return ok;
}

void DayTotalJournal::drop() {
    if (m_lock) {
        std::vector<Line> lines;
        QString error;
        // What cannot be removed now, the next settling drops: its
        // collections are not stored.
        if (readJournal(m_file, &lines, &error)) {
            dropLast(lines, m_changes.size());
            (void)writeJournal(m_file, lines, &error);
        }
    }
    m_changes.clear();
    m_lock.reset();
}

bool settleJournal(const QString &dayFile, const Stored &stored, int *settled, QString *error) {
    *settled = 0;
    if (!QFile::exists(journalFile(dayFile)))
        return true;
    const auto lock = lockDay(dayFile, error);
    if (!lock)
        return false;
    QFile day(dayFile);
    std::vector<Line> kept;
    return openDay(day, error) && settleLocked(dayFile, day, stored, settled, &kept, error);
}

bool addToDayTotal(const QString &filePath, const QDate &date, double amount) {
    if (!date.isValid())
        return false;
    // Nothing here can tell whether another desk's collection is stored:
    // what it left behind waits for a desk that can.
    DayTotalJournal journal(filePath);
    journal.add(date, amount, QString());
    QString error;
    return journal.prepare([](const QString &) { return std::optional<bool>(); }, &error) &&
           journal.apply(&error);
}

} // namespace cashbox
