#pragma once

#include "startup/base/messages.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>

// koop-cli collect DIR CODE AMOUNT [--aciklama TEXT] [--pdf FILE]: a cash
// collection as the desk posts it on " Tamam", without questions. Prints the
// receipt number and the reference code, one a line; with --pdf writes the
// receipt there. Exit 1 when nothing was posted, 2 for a wrong command line.
int runCollect(const QStringList &args, Messages &messages);

namespace cli {

// The receipt needs fonts and so the GUI application object: made here for
// "collect", nothing for any other command.
std::unique_ptr<QCoreApplication> makeCollectApplication(int &argc, char **argv);

} // namespace cli
