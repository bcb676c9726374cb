// koop: opens the one screen its command line names and ends when that
// screen closes.
#include "base/wholefile.h"
#include "core/headless.h"
#include "core/startup.h"
#include "gui/desktop.h"
#include "gui/qtmessages.h"
#include "gui/screencontext.h"
#include "printing/printcontext.h"
#include "screens/screentable.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
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
        "                        BORCENT, KASTAH\n"
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
    if (option == u"--version") {
        write(stdout, QStringLiteral("koop " KOOP_VERSION "\n"));
        return 0;
    }
    write(stderr, QStringLiteral("koop: bilinmeyen seçenek: ") + option + u'\n' + usage());
    return 2;
}

// Opens the screen of `key`.
void openScreen(const screens::Screen &entry, ScreenContext &session,
                printing::PrintContext &print) {
    QWidget *screen = entry.make(session, print);
    // The process ends when its one screen closes.
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    // Scripted runs and start-up tests: the screen opens, says what it has
    // to say, and closes again.
    if (qEnvironmentVariableIsSet("KOOP_OPEN_ONLY"))
        QTimer::singleShot(0, screen, &QWidget::close);
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

    const std::unique_ptr<Messages> messages = makeMessages();
    const std::unique_ptr<Registry> registry = Registry::fromEnvironment();
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
    ScreenContext screen(session);
    openScreen(*entry, screen, print);
    return QApplication::exec();
}
