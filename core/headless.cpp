#include "core/headless.h"

#include <QByteArray>

namespace startup {

void preferOffscreenWithoutDisplay() {
    // An empty variable counts as unset, as Qt itself reads them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace startup
