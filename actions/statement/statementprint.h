#pragma once

#include "surcharge/engine.h"

#include <QDate>
#include <QString>

class prnx;
namespace printing {
struct PrinterSettings;
class Report;
} // namespace printing

// "ÜYE HESAP ÖZETİ": the member's statement laid out in lines and character
// columns for the printer output control.
namespace statement {

inline constexpr char16_t PrintTitle[] = u"ÜYE HESAP ÖZETİ";

struct PrintHead {
    QString isim1, adr1, adr2, adr3;
    QString unvan; // the cooperative's name
    QString date;  // the statement's base date as the clerk typed it
};

// The printer settings a statement print starts from, before the setup screen.
void presetPrinter(printing::PrinterSettings &settings);

// The first row printed: the chosen start row (above 0), else every row with
// "Tam Liste", else as many of the last rows as a page holds under its head.
int firstPrintedRow(int rowCount, int startRow, bool fullList, int lineCount);

// Opens the printer in the record's mode and prints the rows from `firstRow`
// on, with a head on every page and at the end the statement's totals, which
// cover every row. False, after the printer's message, when the job did
// not reach the printer or its file.
[[nodiscard]] bool printStatement(prnx &printer, const surcharge::Statement &st, int firstRow,
                                  const PrintHead &head, int tlonda);
// The same statement, every row, as one section of a longer job whose
// report is open: it starts on a page of its own and ends its last page.
void printSection(printing::Report &report, const surcharge::Statement &st, const PrintHead &head,
                  int tlonda);

} // namespace statement
