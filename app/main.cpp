// koop: opens the one screen its command line names and ends when that
// screen closes.
#include "base/wholefile.h"
#include "core/headless.h"
#include "core/startup.h"
#include "gui/desktop.h"
#include "gui/qtmessages.h"
#include "gui/screencontext.h"
#include "printing/printcontext.h"
#include "screens/company/korvane.h"
#include "screens/kit/help.h"
#include "screens/screentable.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

void write(FILE *to, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

QString usage() {
    return QStringLiteral(
        "Kullanım:\n"
        "  koop KLASÖR ANAHTAR   şirket klasöründe (DataPath altında) bir ekran açar:\n"
        "                        AYAR, BORCLA, TOPBORC, TAHSIL, GENEL, HAZIRUN, ETIKET,\n"
        "                        BORCENT, KASTAH; UYE (üye kartları), SIRKET (şirket\n"
        "                        bilgileri)\n"
        "  koop --menu           başlatıcıyı açar: şirketler ve ekranlar\n"
        "  koop --help           bu yardımı yazar\n"
        "  koop --version        sürümü yazar\n"
        "Pencere açmadan aynı işler: koop-cli --help\n");
}

// The suite's command line is a folder and a key; an option is ours or a
// mistake, and a mistake never becomes a folder named like it. Returns the
// exit code when the run ends here.
std::optional<int> ownOption(const QStringList &arguments) {
    if (arguments.isEmpty() || !arguments[0].startsWith(u'-'))
        return std::nullopt;
    const QString &option = arguments[0];
    if (option == u"--help" || option == u"-h") {
        write(stdout, usage());
        return 0;
    }
    if (option == u"--menu" && arguments.size() == 1)
        return std::nullopt;
    if (option == u"--version") {
        write(stdout, QStringLiteral("koop " KOOP_VERSION "\n"));
        return 0;
    }
    write(stderr, QStringLiteral("koop: bilinmeyen seçenek: ") + option + u'\n' + usage());
    return 2;
}

// Opens the screen of `entry`, gone once it closes; F1 on it opens the
// manual at its section.
QWidget *openScreen(const screens::Screen &entry, ScreenContext &session,
                    printing::PrintContext &print) {
    QWidget *screen = entry.make(session, print);
    screenkit::setHelpSection(*screen, screenkit::helpSection(entry.keys.first()));
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    // Scripted runs and start-up tests: the screen opens, says what it has
    // to say, and closes again.
    if (qEnvironmentVariableIsSet("KOOP_OPEN_ONLY"))
        QTimer::singleShot(0, screen, &QWidget::close);
    return screen;
}

// One screen opened from the launcher, with the company it works on; all
// of it goes when the screen closes.
struct LaunchedScreen {
    explicit LaunchedScreen(Messages &messages) : session(messages) {}
    Session session;
    std::unique_ptr<printing::PrintContext> print;
    std::unique_ptr<ScreenContext> context;
};

// "Korvane Koop": the companies and the screens. Each screen opens on its
// own company session in this process, and the launcher comes back when
// it closes; the process ends with the launcher.
int runLauncher(Messages &messages, Registry &registry) {
    Session paths(messages);
    startup::readPaths(paths, registry, QCoreApplication::applicationDirPath());
    std::vector<korvane::Entry> entries;
    for (const screens::Screen &s : screens::table())
        entries.push_back({s.keys.first(), s.title});
    QApplication::setQuitOnLastWindowClosed(false);
    auto *launcher = new korvane(messages, paths.dataPath, entries, {});
    launcher->setAttribute(Qt::WA_DeleteOnClose);
    screenkit::setHelpSection(*launcher, QStringLiteral("(koop --menu)"));
    QObject::connect(launcher, &QObject::destroyed, qApp, &QCoreApplication::quit);
    const auto open = [&messages, &registry, launcher](const QString &folder, const QString &key) {
        const screens::Screen *entry = screens::find(key);
        if (!entry)
            return false;
        auto desk = std::make_shared<LaunchedScreen>(messages);
        if (!startup::open(desk->session, registry, folder + u' ' + key,
                           QCoreApplication::applicationDirPath()))
            return false;
        desk->print = std::make_unique<printing::PrintContext>(desk->session);
        desk->print->preview = true;
        desk->context = std::make_unique<ScreenContext>(desk->session);
        launcher->hide();
        QWidget *screen = openScreen(*entry, *desk->context, *desk->print);
        // The company stays open as long as its screen, and no longer.
        QObject::connect(screen, &QObject::destroyed, launcher, [desk, launcher]() mutable {
            desk.reset();
            launcher->refresh();
            launcher->show();
            launcher->raise();
            launcher->activateWindow();
        });
        return true;
    };
    launcher->setOpener(open);
    launcher->show();
    if (qEnvironmentVariableIsSet("KOOP_OPEN_ONLY"))
        QTimer::singleShot(0, launcher, &QWidget::close);
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[]) {
    // Before QApplication takes out the arguments it knows (-style and the like).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    if (const auto code = ownOption(arguments))
        return *code;
    startup::quietenSessionNotices();
    // Scripted runs with the log message service need no display.
    if (messagesLogRequested())
        startup::preferOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    // Nothing the program makes is readable by everyone, whatever the mask
    // it was started with; a company's folder may widen it to its group.
    (void)wholefile::useOfficeMask(QString());
    QApplication::setApplicationName(QStringLiteral("korvane"));
    // Without Qt's Turkish texts its own dialogs speak English; no more.
    (void)desktop::installTurkishTranslations(app);
    desktop::addMissingFonts();
    screenkit::installHelpKey(app);

    const std::unique_ptr<Messages> messages = makeMessages();
    const std::unique_ptr<Registry> registry = Registry::fromEnvironment();
    if (arguments.value(0) == u"--menu")
        return runLauncher(*messages, *registry);
    Session session(*messages);
    if (!startup::open(session, *registry, startup::joinArguments(arguments),
                       QCoreApplication::applicationDirPath()))
        return startup::ExitStartupFailed;

    const screens::Screen *entry = screens::find(session.key);
    if (!entry) {
        screens::showUnknownKey(*messages);
        return startup::ExitStartupFailed;
    }
    printing::PrintContext print(session);
    print.preview = true; // every printout shows its pages before the printer
    ScreenContext screen(session);
    // The process ends when its one screen closes, the manual's window
    // open or not.
    QObject::connect(openScreen(*entry, screen, print), &QObject::destroyed, qApp,
                     &QCoreApplication::quit);
    return QApplication::exec();
}
