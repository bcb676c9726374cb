#pragma once

#include "startup/base/messages.h"

#include <QString>
#include <cstdint>

// koop-cli init: a new company folder with the suite's xdata.dat, an empty
// korvane.dat and the program's dalun.dat, optionally filled with a demo
// cooperative. Nothing is created unless everything is; an existing company
// is never touched.
namespace cli {

struct InitOptions {
    QString folder;
    bool demo = false;
    uint32_t seed = 1;
};

// Returns the process exit code; every failure has shown its message.
int initCompany(const InitOptions &options, Messages &messages);

} // namespace cli
