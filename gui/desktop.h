#pragma once

#include <memory>

class QCoreApplication;

// What the desktop must offer before the first window or print: Qt's own
// texts in Turkish, and the faces the screens and printouts are laid out in.
namespace desktop {

// The application object of a program that paints without windows of its
// own (koop-cli's receipts, prints and charts): charts are graphics items,
// which need the widgets' application, not only the GUI one.
std::unique_ptr<QCoreApplication> makePaintingApplication(int &argc, char **argv);

// Qt's dialogs and standard buttons (file and print dialogs, the print
// preview, Evet/Hayır) in Turkish; false when the translations are not
// installed, and they stay English.
[[nodiscard]] bool installTurkishTranslations(QCoreApplication &app);

// Tahoma, the face of the printed reports, is not on a Linux desktop, and
// its usual substitute there is wider, so columns cut their text ("01.07.202").
// Without a Tahoma of its own the program draws it in Liberation Sans (Debian's
// fonts-liberation), whose widths match or undercut Tahoma's. Needs a GUI
// application.
void addMissingFonts();

} // namespace desktop
