// koop: opens the one screen its command line names and ends when that
// screen closes.
#include "screens/statement/tah2.h"
#include "startup/headless.h"
#include "startup/qtmessages.h"
#include "startup/startup.h"

#include <QApplication>
#include <QTimer>

namespace {

// Opens the screen of `key`; false while that screen has not been built.
bool openScreen(startup::ScreenKey key, Session &session) {
    QWidget *screen = nullptr;
    switch (key) {
    case startup::ScreenKey::Tahsil:
        screen = new tah2(session);
        break;
    case startup::ScreenKey::Ayar:
    case startup::ScreenKey::Borcla:
    case startup::ScreenKey::Topborc:
    case startup::ScreenKey::Genel:
    case startup::ScreenKey::Hazirun:
    case startup::ScreenKey::Etiket:
    case startup::ScreenKey::Borcent:
    case startup::ScreenKey::Kastah:
    case startup::ScreenKey::None:
        break;
    }
    if (!screen)
        return false;
    // The process ends when its one screen closes.
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    // Scripted runs and start-up tests: the screen opens, says what it has
    // to say, and closes again.
    if (qEnvironmentVariableIsSet("KOOP_OPEN_ONLY"))
        QTimer::singleShot(0, screen, &QWidget::close);
    return true;
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
    QApplication::setApplicationName(QStringLiteral("korvane"));

    const std::unique_ptr<Messages> messages = makeMessages();
    const std::unique_ptr<Registry> registry = Registry::fromEnvironment();
    Session session(*messages);
    if (!startup::open(session, *registry, startup::joinArguments(arguments),
                       QCoreApplication::applicationDirPath()))
        return startup::ExitStartupFailed;

    const startup::ScreenKey key = startup::screenKeyFrom(session.key);
    if (key == startup::ScreenKey::None) {
        startup::showUnknownKey(*messages);
        return startup::ExitStartupFailed;
    }
    if (!openScreen(key, session)) {
        messages->information(QStringLiteral("Bu ekran henüz hazır değil."));
        return 0;
    }
    return QApplication::exec();
}
