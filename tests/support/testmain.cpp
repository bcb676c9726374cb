#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#ifdef KOOP_TEST_GUI
#include "gui/desktop.h"

#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace {

// The server run of an executable when no test server is named: nothing to
// run it against.
class NoServer : public ::testing::Environment {
  public:
    void SetUp() override { GTEST_SKIP() << "KOOP_TEST_PG names no server"; }
};

} // namespace

// Qt SQL loads its drivers through the application object; widget tests need
// the GUI one. Every test runs with the log message service and, unless told
// otherwise, on the offscreen display, however it is started.
int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KOOP_MESSAGES", "log");
    // "--server": the server run of the executable (see serverRun()).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--server") == 0) {
            qputenv("KOOP_TEST_ON_SERVER", "1");
            std::copy(argv + i + 1, argv + argc + 1, argv + i);
            --argc;
            break;
        }
    }
    TestApplication app(argc, argv);
    // The clerk's own settings (fonts, the vouchers' title) start from their
    // defaults in every run, and the tests never touch the developer's.
    QTemporaryDir userSettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userSettings.path());
#ifdef KOOP_TEST_GUI
    // Printed pages are laid out in the faces the program itself uses.
    desktop::addMissingFonts();
#endif
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariable("KOOP_TEST_ON_SERVER") == u"1" &&
        qEnvironmentVariableIsEmpty("KOOP_TEST_PG"))
        ::testing::AddGlobalTestEnvironment(new NoServer);
    return RUN_ALL_TESTS();
}
