#pragma once

#include "printing/printcontext.h"

#include <functional>

class QWidget;

namespace printing {

// The wait cursor for as long as it lives; a print that fails half-way still
// gives the pointer back.
struct WaitCursor {
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// What every printing screen does on its print key: put its defaults into
// the settings record, show the printer setup screen modally over `parent`,
// and only when the user confirms run `print` under a wait cursor. `print`
// opens the printer in the record's mode (1 graphic, 2 dot-matrix). False
// when the user cancelled.
bool printWithSetup(PrintContext &context, QWidget *parent,
                    const std::function<void(PrinterSettings &)> &preset,
                    const std::function<void()> &print);

} // namespace printing
