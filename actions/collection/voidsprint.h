#pragma once

#include "actions/collection/voidaction.h"

class prnx;
namespace printing {
struct PrinterSettings;
}

// "İPTAL EDİLEN MAKBUZLAR" laid out in lines and character columns for the
// printer output control: what the auditors are handed.
namespace collection {

struct VoidsHead {
    QString range; // "01.12.2026 - 31.12.2026", or empty for every void
    QString unvan; // the cooperative's name
};

// The head of the voids between two dates (either may be invalid).
VoidsHead voidsHead(Company &company, const QDate &from, const QDate &to);

// The printer settings the list's print starts from, before the setup screen.
void presetVoidsPrinter(printing::PrinterSettings &settings);

// Opens the printer in the record's mode and prints the voids, the head on
// every page and their total at the end. False, after the printer's message,
// when the job did not reach the printer or its file.
[[nodiscard]] bool printVoids(prnx &printer, const std::vector<VoidLine> &lines,
                              const VoidsHead &head, int tlonda);

} // namespace collection
