#pragma once

#include "core/company.h"
#include "core/theme.h"

#include <QString>

// The process-wide state: the open company and what the desktop program
// adds to it. Filled once at start-up; owned by main (or a test) and passed
// by reference; nothing is global.
struct Session : Company {
    using Company::Company;

    bool pictures = true;
    QString key;

    ColourTheme theme;
};
