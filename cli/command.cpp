#include "cli/command.h"

#include "base/wholefile.h"
#include "core/headless.h"
#include "gui/desktop.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace cli {

namespace {

// Qt would read "-5" as the short option 5: a negative amount passes the
// parser behind a mark nobody types, and stays an argument.
constexpr QChar Shield(0xFDD0);

bool looksNegative(const QString &arg) {
    return arg.size() > 1 && arg[0] == u'-' && (arg[1].isDigit() || arg[1] == u'.');
}

QString unshielded(const QString &arg) {
    return arg.startsWith(Shield) ? arg.mid(1) : arg;
}

void write(FILE *to, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

} // namespace

void printOut(const QString &text) {
    write(stdout, text);
}

bool writeOut(const QString &path, const QString &text, Messages &messages) {
    if (path.isEmpty()) {
        printOut(text);
        return true;
    }
    QString error;
    if (wholefile::write(path, text.toUtf8(), &error))
        return true;
    messages.warning(QStringLiteral("Dosya yazılamadı: ") + path + u'\n' + error);
    return false;
}

void printErr(const QString &text) {
    write(stderr, text);
}

namespace {

const QCommandLineOption &helpOption() {
    static const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                         QStringLiteral("bu yardımı yazar"));
    return help;
}

const QCommandLineOption &verboseOption() {
    static const QCommandLineOption verbose(
        {QStringLiteral("v"), QStringLiteral("verbose")},
        QStringLiteral("iş bitince \"Etiketler Bitmiştir..\" gibi haberleri de yazar"));
    return verbose;
}

bool isGlobal(const QString &name) {
    return helpOption().names().contains(name) || verboseOption().names().contains(name);
}

// The messages as people who script read them: "koop-cli: text" on
// standard error with its real line breaks, and nothing when a run ended as
// it should unless --verbose asks. KOOP_MESSAGES=log keeps the log form, one
// line a box; questions are answered from KOOP_ANSWERS either way.
class ConsoleMessages : public LogMessages {
  public:
    ConsoleMessages() : LogMessages(answersFromEnvironment()), m_log(messagesLogRequested()) {}
    void setVerbose(bool verbose) { m_verbose = verbose; }

    void show(Icon icon, const QString &title, const QString &text) override {
        if (m_log) {
            LogMessages::show(icon, title, text);
            return;
        }
        QString flat = text;
        flat.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        while (flat.endsWith(u'\n'))
            flat.chop(1);
        write(stderr, QStringLiteral("koop-cli: ") + flat + u'\n');
        std::fflush(stderr);
    }
    void done(const QString &text) override {
        if (m_log || m_verbose)
            LogMessages::done(text);
    }

  private:
    bool m_log;
    bool m_verbose = false;
};

const Command *find(const std::vector<Command> &table, const QString &name) {
    const auto it =
        std::find_if(table.begin(), table.end(), [&](const Command &c) { return c.name == name; });
    return it == table.end() ? nullptr : &*it;
}

// Every command's forms, for a command line that names none.
QString usage(const std::vector<Command> &table) {
    QString out = QStringLiteral("Kullanım:\n");
    for (const Command &c : table)
        for (const QString &form : c.synopsis)
            out += QStringLiteral("  koop-cli ") + form + u'\n';
    return out;
}

// Rows of two columns, the second one aligned.
QString columns(const std::vector<std::pair<QString, QString>> &rows) {
    qsizetype width = 0;
    for (const auto &row : rows)
        width = std::max(width, row.first.size());
    QString out;
    for (const auto &[left, right] : rows)
        out += QStringLiteral("  ") + left.leftJustified(width + 2) + right + u'\n';
    return out;
}

QString helpText(const std::vector<Command> &table) {
    std::vector<std::pair<QString, QString>> commands;
    for (const Command &c : table)
        commands.emplace_back(c.name, c.description);
    return QStringLiteral("koop-cli: programın işlemleri pencere açmadan, betikler ve zamanlanmış "
                          "işler için.\n\n") +
           QStringLiteral("Sürüm: koop-cli --version\n\n") + usage(table) +
           QStringLiteral("\nKomutlar:\n") + columns(commands) +
           QStringLiteral("\nBir komutun ayrıntıları: koop-cli help KOMUT\n"
                          "Çıkış kodları: 0 tamam, 1 işlem yapılamadı, 2 hatalı komut satırı, "
                          "3 tahsilat kaydedildi ama makbuz yazdırılamadı (collect), 4 "
                          "tahsilat kaydedildi ama kasa gün toplamı yazılamadı; şirket bir "
                          "sonraki açılışta tamamlar (collect), 5 şirket dosyaları başka bir "
                          "masada kullanılıyordu; 5 saniye beklendi, işlem yapılmadı "
                          "(KOOP_ANSWERS=yes ile bir kez daha beklenir).\n");
}

QString helpText(const Command &command) {
    QString out = QStringLiteral("Kullanım:\n");
    for (const QString &form : command.synopsis)
        out += QStringLiteral("  koop-cli ") + form + u'\n';
    out += u'\n' + command.description + u'\n';
    std::vector<std::pair<QString, QString>> rows;
    for (const Argument &a : command.arguments)
        rows.emplace_back(a.name, a.description);
    if (!rows.empty())
        out += QStringLiteral("\nArgümanlar:\n") + columns(rows);
    rows.clear();
    std::vector<QCommandLineOption> options;
    for (const Option &o : command.options)
        options.push_back(o.option);
    options.push_back(verboseOption());
    options.push_back(helpOption());
    for (const QCommandLineOption &o : options) {
        QStringList names;
        for (const QString &n : o.names())
            names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
        QString title = names.join(QStringLiteral(", "));
        if (!o.valueName().isEmpty())
            title += u' ' + o.valueName();
        QString text = o.description();
        if (!o.defaultValues().isEmpty())
            text += QStringLiteral(" (varsayılan: ") + o.defaultValues().join(u' ') + u')';
        rows.emplace_back(title, text);
    }
    return out + QStringLiteral("\nSeçenekler:\n") + columns(rows);
}

// What to say about a command line Qt's parser refused, whose own texts are
// English: the first option the command does not have, or the option whose
// value is missing, as it was typed.
QString complaint(const Command &command, const QStringList &args) {
    const auto unknown = [](const QString &arg) {
        return QStringLiteral("Bilinmeyen seçenek: ") + arg;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--")
            break;
        if (arg.size() < 2 || arg[0] != u'-' || looksNegative(arg))
            continue;
        const bool isLong = arg.startsWith(u"--");
        const QString body = arg.mid(isLong ? 2 : 1);
        const qsizetype assign = body.indexOf(u'=');
        const QString name = body.left(assign);
        const auto it =
            std::find_if(command.options.begin(), command.options.end(),
                         [&](const Option &o) { return o.option.names().contains(name); });
        const bool known = it != command.options.end() || isGlobal(name);
        // One dash: Qt reads each letter as an option of its own.
        if (!known || (!isLong && name.size() != 1))
            return unknown(arg);
        const bool takesValue = it != command.options.end() && !it->option.valueName().isEmpty();
        if (takesValue && assign < 0) {
            if (i + 1 == args.size())
                return it->refusal.isEmpty() ? unknown(arg) : it->refusal;
            ++i;
        } else if (!takesValue && assign >= 0) {
            return unknown(arg);
        }
    }
    return QString();
}

} // namespace

QString Call::value(const QString &option) const {
    return unshielded(parser.value(option));
}

QStringList Call::values(const QString &option) const {
    QStringList out;
    for (const QString &v : parser.values(option))
        out << unshielded(v);
    return out;
}

bool Call::mayRepeat(const std::optional<QString> &before) const {
    if (!before || isSet(QStringLiteral("again")))
        return true;
    messages.warning(*before + QStringLiteral("\nYeniden yazmak için --again verilmeli."));
    return false;
}

std::vector<std::pair<QString, QString>> Call::keyValues(const QString &option) const {
    std::vector<std::pair<QString, QString>> out;
    for (const QString &set : values(option)) {
        const qsizetype eq = set.indexOf(u'=');
        out.emplace_back(set.left(eq), set.mid(eq + 1));
    }
    return out;
}

int Call::wrongCommandLine() const {
    messages.warning(QStringLiteral("Kullanım: koop-cli ") +
                     command.synopsis.join(QStringLiteral("\nkoop-cli ")));
    return ExitWrongCommandLine;
}

int runCommandLine(const std::vector<Command> &table, int &argc, char **argv) {
    startup::quietenSessionNotices();
    const Command *named = argc > 1 ? find(table, QString::fromLocal8Bit(argv[1])) : nullptr;
    std::unique_ptr<QCoreApplication> app;
    if (named && named->needsGui) {
        startup::preferOffscreenWithoutDisplay();
        app = desktop::makePaintingApplication(argc, argv);
        (void)desktop::installTurkishTranslations(*app); // else Qt's dialogs speak English
        desktop::addMissingFonts();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const auto messages = std::make_unique<ConsoleMessages>();
    // Nothing the program makes is readable by everyone, whatever the mask
    // it was started with; a company's folder may widen it to its group.
    (void)wholefile::useOfficeMask(QString());

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        write(stderr, usage(table));
        return ExitWrongCommandLine;
    }
    QString name = args.takeFirst();
    if (name == u"--help" || name == u"-h" || (name == u"help" && args.isEmpty())) {
        write(stdout, helpText(table));
        return ExitOk;
    }
    if (name == u"--version") {
        write(stdout, QStringLiteral("koop-cli " KOOP_VERSION "\n"));
        return ExitOk;
    }
    const bool helpOnly = name == u"help";
    if (helpOnly) {
        if (args.size() != 1) {
            write(stderr, usage(table));
            return ExitWrongCommandLine;
        }
        name = args.takeFirst();
    }
    const Command *command = find(table, name);
    if (!command) {
        messages->warning(QStringLiteral("Bilinmeyen komut: ") + name);
        write(stderr, usage(table));
        return ExitWrongCommandLine;
    }
    if (helpOnly) {
        write(stdout, helpText(*command));
        return ExitOk;
    }

    QCommandLineParser parser;
    for (const Option &o : command->options)
        parser.addOption(o.option);
    parser.addOption(helpOption());
    parser.addOption(verboseOption());
    QStringList shielded{QStringLiteral("koop-cli")};
    for (const QString &arg : args)
        shielded << (looksNegative(arg) ? Shield + arg : arg);
    Call call{*command, parser, {}, *messages};
    if (!parser.parse(shielded)) {
        const QString text = complaint(*command, args);
        if (text.isEmpty())
            return call.wrongCommandLine();
        messages->warning(text);
        return ExitWrongCommandLine;
    }
    if (parser.isSet(helpOption())) {
        write(stdout, helpText(*command));
        return ExitOk;
    }
    messages->setVerbose(parser.isSet(verboseOption()));
    for (const Option &o : command->options) {
        if (!o.accepts || !parser.isSet(o.option))
            continue;
        // An option given more than once has every value checked.
        const QStringList given = call.values(o.option.names().constFirst());
        if (!std::all_of(given.begin(), given.end(), o.accepts)) {
            messages->warning(o.refusal);
            return ExitWrongCommandLine;
        }
    }
    for (const QString &arg : parser.positionalArguments())
        call.arguments << unshielded(arg);
    if (call.arguments.size() != qsizetype(command->arguments.size()))
        return call.wrongCommandLine();
    const int code = command->run(call);
    // A desk that gave up waiting for another says so in its exit code.
    return code == ExitFailed && messages->busy() ? ExitBusy : code;
}

std::optional<qint64> wholeNumber(const QString &text, qint64 min, qint64 max) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return std::nullopt;
    return v;
}

std::optional<std::pair<QString, QString>> twoEnds(const QString &value) {
    const QStringList ends = value.split(u'-');
    if (ends.size() != 2)
        return std::nullopt;
    return std::pair{ends[0], ends[1]};
}

std::optional<std::array<Money, 5>> headAmounts(const QString &text, int decimals, double max,
                                                bool allFive) {
    const QStringList places = text.split(u',');
    if (places.size() > 5 || (allFive && places.size() != 5))
        return std::nullopt;
    std::array<Money, 5> out{};
    const Money most = Money::fromDouble(max).value_or(Money());
    for (qsizetype i = 0; i < places.size(); ++i) {
        const QString place = places[i].trimmed();
        if (place.isEmpty())
            continue;
        const auto amount = parseTypedAmount(place, decimals);
        if (!amount || *amount < Money() || *amount > most || place.startsWith(u'+'))
            return std::nullopt;
        out[size_t(i)] = *amount;
    }
    return out;
}

ProgressLine::ProgressLine(bool always)
    : m_mode(isatty(fileno(stderr)) ? Terminal
             : always               ? Lines
                                    : Off) {}

void ProgressLine::show(const QString &text, bool last) {
    if (m_mode == Off || (!last && m_shown.isValid() && m_shown.elapsed() < 200))
        return;
    m_shown.start();
    QString line = text + u'\n';
    if (m_mode == Terminal)
        line = u'\r' + text + QStringLiteral("\033[K") + (last ? QStringLiteral("\n") : QString());
    write(stderr, line);
    std::fflush(stderr);
}

} // namespace cli
