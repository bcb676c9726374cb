#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// The one way to show a message box. Every screen, the command line and the
// data layer report through it, so tests and scripted runs can read every
// box as a line and answer questions in advance.
class Messages {
  public:
    enum class Icon { Warning, Question, Information, None };

    virtual ~Messages() = default;
    virtual void show(Icon icon, const QString &title, const QString &text) = 0;
    // A Yes/No question; true for Yes.
    [[nodiscard]] virtual bool ask(Icon icon, const QString &title, const QString &text,
                                   bool defaultYes) = 0;

    void warning(const QString &text) { show(Icon::Warning, korvane(), text); }
    // "Tekrar Dene" or "Vazgeç" after a wait for another desk; true to wait
    // again. An action another desk kept from running is remembered (the
    // command line then ends with its own exit code).
    [[nodiscard]] bool retry(const QString &text) {
        const bool again = askRetry(korvane(), text);
        m_busy = m_busy || !again;
        return again;
    }
    void markBusy() { m_busy = true; }
    [[nodiscard]] bool busy() const { return m_busy; }
    void information(const QString &text) { show(Icon::Information, korvane(), text); }
    // A run that ended as it should says so: a box on the desk; the command
    // line keeps quiet about it unless asked.
    virtual void done(const QString &text) { information(text); }
    static QString korvane() { return QStringLiteral("Korvane"); }

  protected:
    // A question like any other where no buttons of its own can be shown.
    [[nodiscard]] virtual bool askRetry(const QString &title, const QString &text) {
        return ask(Icon::Question, title, text, false);
    }

  private:
    bool m_busy = false;
};

// Writes each box as one line `title|icon|text` on standard error (line feeds
// as \n) and answers questions from a list of yes/no, then no.
class LogMessages : public Messages {
  public:
    explicit LogMessages(QStringList answers = {});
    // Answers from KOOP_ANSWERS.
    static std::unique_ptr<LogMessages> fromEnvironment();
    static QStringList answersFromEnvironment();

    void show(Icon icon, const QString &title, const QString &text) override;
    [[nodiscard]] bool ask(Icon icon, const QString &title, const QString &text,
                           bool defaultYes) override;

    static QString iconName(Icon icon);
    static QString logLine(Icon icon, const QString &title, const QString &text);

  private:
    QStringList m_answers;
    qsizetype m_next = 0;
};

// Collects boxes in memory; for tests of code that reports.
class RecordingMessages : public Messages {
  public:
    struct Box {
        Icon icon;
        QString title;
        QString text;
    };
    void show(Icon icon, const QString &title, const QString &text) override {
        boxes.push_back({icon, title, text});
    }
    [[nodiscard]] bool ask(Icon icon, const QString &title, const QString &text, bool) override {
        boxes.push_back({icon, title, text});
        if (answers.isEmpty())
            return false;
        return answers.takeFirst();
    }
    QString lastText() const { return boxes.empty() ? QString() : boxes.back().text; }
    std::vector<Box> boxes;
    QList<bool> answers;
};

// True when KOOP_MESSAGES=log asks for the log implementation.
[[nodiscard]] bool messagesLogRequested();
