#include "base/messages.h"

#include <cstdio>

LogMessages::LogMessages(QStringList answers) : m_answers(std::move(answers)) {
    for (QString &a : m_answers)
        a = a.trimmed().toLower();
}

QStringList LogMessages::answersFromEnvironment() {
    const QString raw = qEnvironmentVariable("KOOP_ANSWERS");
    QStringList answers;
    for (const QString &a : raw.split(QLatin1Char(','), Qt::SkipEmptyParts))
        answers << a.trimmed().toLower();
    return answers;
}

std::unique_ptr<LogMessages> LogMessages::fromEnvironment() {
    return std::make_unique<LogMessages>(answersFromEnvironment());
}

QString LogMessages::iconName(Icon icon) {
    switch (icon) {
    case Icon::Warning:
        return QStringLiteral("warning");
    case Icon::Question:
        return QStringLiteral("question");
    case Icon::Information:
        return QStringLiteral("information");
    case Icon::None:
        break;
    }
    return QStringLiteral("none");
}

QString LogMessages::logLine(Icon icon, const QString &title, const QString &text) {
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    flat.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return title + QLatin1Char('|') + iconName(icon) + QLatin1Char('|') + flat;
}

void LogMessages::show(Icon icon, const QString &title, const QString &text) {
    const QByteArray line = logLine(icon, title, text).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

bool LogMessages::ask(Icon icon, const QString &title, const QString &text, bool) {
    show(icon, title, text);
    if (m_next >= m_answers.size())
        return false;
    return m_answers.at(m_next++) == QLatin1String("yes");
}

bool messagesLogRequested() {
    return qEnvironmentVariable("KOOP_MESSAGES")
               .compare(QLatin1String("log"), Qt::CaseInsensitive) == 0;
}
