#pragma once

namespace startup {

// A machine without a display (a server, a cron job, a test run) runs Qt's
// GUI application object on the offscreen platform, unless a platform was
// chosen explicitly. Call before that object is made.
void preferOffscreenWithoutDisplay();

} // namespace startup
