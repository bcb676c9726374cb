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

namespace {

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
