#pragma once

#include "cli/command.h"

// koop-cli general-list: the general debt/credit list of a code range at a
// base date, as the list screen's " Hesapla" builds it; as text, CSV, JSON or
// a spreadsheet, and printed when asked.
int runGeneralList(const cli::Call &call);

// text, csv, json or xlsx.
bool isListFormat(const QString &value);
