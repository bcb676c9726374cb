#include "base/inifile.h"

#include "base/cp1254.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

namespace ini {
namespace {

constexpr int kMaxValue = 254;

QString sectionName(const QString &line) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']')))
        return t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
    return {};
}

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringList readLines(const QString &filePath, bool *exists) {
    QFile f(filePath);
    *exists = f.open(QIODevice::ReadOnly);
    if (!*exists)
        return {};
    QString text = decodeLegacyText(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text.split(QLatin1Char('\n'));
}

} // namespace

QString decodeLegacyText(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return cp1254::decode(bytes);
}

QString readValue(const QString &section, const QString &key, const QString &defaultValue,
                  const QString &filePath) {
    bool exists = false;
    const QStringList lines = readLines(filePath, &exists);
    bool inSection = false;
    for (const QString &line : lines) {
        const QString name = sectionName(line);
        if (!name.isEmpty() || line.trimmed().startsWith(QLatin1Char('['))) {
            inSection = sameName(name, section);
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || !sameName(line.left(eq).trimmed(), key))
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
            value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        return value.left(kMaxValue);
    }
    return defaultValue.left(kMaxValue);
}

bool writeValue(const QString &section, const QString &key, const QString &filePath,
                const QString &value) {
    bool exists = false;
    QStringList lines = readLines(filePath, &exists);
    if (exists && !lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionAt = -1;
    qsizetype insertAt = -1;
    bool done = false;
    for (qsizetype i = 0; i < lines.size() && !done; ++i) {
        const QString name = sectionName(lines[i]);
        if (!name.isEmpty()) {
            if (sectionAt >= 0)
                break;
            if (sameName(name, section)) {
                sectionAt = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        const qsizetype eq = lines[i].indexOf(QLatin1Char('='));
        if (eq >= 0 && sameName(lines[i].left(eq).trimmed(), key)) {
            lines[i] = entry;
            done = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionAt < 0) {
            lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        } else {
            lines.insert(insertAt, entry);
        }
    }
    QSaveFile out(filePath);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write((lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8());
    return out.commit();
}

} // namespace ini
