#include "core/headless.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace startup {

void preferOffscreenWithoutDisplay() {
    // An empty variable counts as unset, as Qt itself reads them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

namespace {

QtMessageHandler previousHandler = nullptr;

void withoutSessionNotices(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
}

} // namespace

void quietenSessionNotices() {
    previousHandler = qInstallMessageHandler(withoutSessionNotices);
}

} // namespace startup
