#pragma once

#include "base/messages.h"
#include "base/money.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>
#include <vector>

// koop-cli's commands as one table read by QCommandLineParser. Each entry
// names the command, its synopsis, a one-line description, its options and
// arguments, whether it needs the GUI application object, and the function
// that runs it; usage, help and the complaints about a wrong command line
// are all made from it, in Turkish.
namespace cli {

enum Exit : int {
    ExitOk = 0,
    ExitFailed = 1, // the action failed after its message
    ExitWrongCommandLine = 2,
    ExitReceiptNotPrinted = 3, // the collection is stored, its receipt is not printed
    ExitDayTotalPending = 4,   // stored; its day total waits for the next opening to be written
    ExitBusy = 5,              // another desk held the company's files past the wait; nothing done
};

struct Option {
    QCommandLineOption option;
    // Checked before the command runs: a value it refuses, or no value at
    // all, ends the command line with `refusal`. Without a rule every value
    // will do, and a missing value is reported as an unknown option.
    bool (*accepts)(const QString &value) = nullptr;
    QString refusal{};
};

struct Argument {
    QString name; // as the synopsis writes it
    QString description;
};

struct Command;

// One run of a command, its command line checked against the table.
struct Call {
    const Command &command;
    const QCommandLineParser &parser;
    QStringList arguments; // exactly as many as the command names
    Messages &messages;

    // The option's value, its default when it was not given.
    QString value(const QString &option) const;
    // Every value of an option that may be given more than once.
    QStringList values(const QString &option) const;
    // Every "KEY=VALUE" of an option such as --set, split at its first "=".
    std::vector<std::pair<QString, QString>> keyValues(const QString &option) const;
    bool isSet(const QString &option) const { return parser.isSet(option); }
    // A report's --mode: 2 the dot-matrix printer, 1 graphic; without it the
    // report's own preset.
    bool dotMatrix(bool preset) const {
        return isSet(QStringLiteral("mode")) ? value(QStringLiteral("mode")).toInt() == 2 : preset;
    }
    // Shows the command's usage as a message; the exit code to end with.
    int wrongCommandLine() const;
    // A run that would post again what is already there goes on only with
    // --again: false, after `before` and how to go on, when it may not.
    [[nodiscard]] bool mayRepeat(const std::optional<QString> &before) const;
};

struct Command {
    QString name;
    QStringList synopsis; // one line per form, after "koop-cli "
    QString description;
    std::vector<Option> options;
    std::vector<Argument> arguments;
    // Fonts and painting (the receipt, graphic printing) need the GUI
    // application object; without a display it runs offscreen.
    bool needsGui = false;
    int (*run)(const Call &call) = nullptr;
};

// Makes the application object the command needs, checks the command line
// against `table`, and runs the command, or shows the help asked for
// ("help [COMMAND]", "--help"). Returns the process exit code.
int runCommandLine(const std::vector<Command> &table, int &argc, char **argv);

// Writes the text to standard output as UTF-8.
void printOut(const QString &text);
// The same to standard error.
void printErr(const QString &text);
// A command's output: to standard output without a path, else into the file
// whole; false after "Dosya yazılamadı".
[[nodiscard]] bool writeOut(const QString &path, const QString &text, Messages &messages);

// A whole number within [min, max], or nothing.
std::optional<qint64> wholeNumber(const QString &text, qint64 min, qint64 max);

// "A-B" as its two ends; nothing unless there is exactly one "-".
std::optional<std::pair<QString, QString>> twoEnds(const QString &value);

// Up to five amounts, "A1,A2,A3,A4,A5", as the dues heads' amount fields
// take them: each 0 to `max` with at most `decimals` decimals, no sign, an
// empty place 0. With `allFive` every place must be there. Nothing for
// anything else.
std::optional<std::array<Money, 5>> headAmounts(const QString &text, int decimals, double max,
                                                bool allFive);

// Where a long run is, on standard error: over itself a few times a second
// when that is a terminal, a line at a time when `always` (a log), else
// nothing.
class ProgressLine {
  public:
    explicit ProgressLine(bool always = false);
    bool shown() const { return m_mode != Off; }
    // `last` is always shown, and ends the line.
    void show(const QString &text, bool last);

  private:
    enum { Off, Terminal, Lines } m_mode;
    QElapsedTimer m_shown;
};

} // namespace cli
