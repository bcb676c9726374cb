#include <gtest/gtest.h>
#ifdef KOOP_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

// Qt SQL loads its drivers through the application object; widget tests need
// the GUI one (run under QT_QPA_PLATFORM=offscreen).
int main(int argc, char **argv) {
#ifdef KOOP_TEST_GUI
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
