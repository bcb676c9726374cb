#pragma once

#include "cli/command.h"

// koop-cli statements: every selected member's statement into one PDF or a
// PDF each in a folder ("Toplu Ekstre").
int runStatements(const cli::Call &call);

// koop-cli arrears: the members owing for more than some months or more
// than an amount, with their ages ("İhtar Listesi"), and their letters.
int runArrears(const cli::Call &call);

// koop-cli dashboard: a year's figures ("Genel Durum") as text or JSON, and
// its charts into a PNG or a PDF.
int runDashboard(const cli::Call &call);
