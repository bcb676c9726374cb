#pragma once

namespace startup {

// A machine without a display (a server, a cron job, a test run) runs Qt's
// GUI application object on the offscreen platform, unless a platform was
// chosen explicitly. Call before that object is made.
void preferOffscreenWithoutDisplay();

} // namespace startup

namespace startup {

// Qt's notices about the session it runs in ("XDG_RUNTIME_DIR not set", a
// runtime folder of the wrong mode) are nothing a clerk can act on: they
// are dropped; every other message of Qt goes where it went.
void quietenSessionNotices();

} // namespace startup
