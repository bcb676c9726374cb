#pragma once

#include "gui/screencontext.h"

#include <QStringList>
#include <functional>
#include <vector>

class QWidget;
namespace printing {
class PrintContext;
}

// Every screen the suite can name on the command line: its keys and how it
// is made. The key check, the text of an unknown key and the dispatch of
// `koop` all read this one table.
namespace screens {

struct Screen {
    QStringList keys; // as typed after the company folder, upper case
    QString title;    // its name in the launcher's menu
    // One of the screens the suite starts, named in the box of an unknown
    // key; the office's own (member cards, set-up) are opened all the same.
    bool suite = true;
    // Makes the screen. The printer settings and the chosen printer are the
    // process's, one for every screen it opens.
    std::function<QWidget *(ScreenContext &, printing::PrintContext &)> make;
};

const std::vector<Screen> &table();

// The entry whose keys hold `key`; nothing for a key that names no screen.
const Screen *find(const QString &key);

// The two boxes of a key that names no screen: the error, then every key.
void showUnknownKey(Messages &messages);

} // namespace screens
