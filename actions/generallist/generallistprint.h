#pragma once

#include "actions/generallist/generallistaction.h"
#include "printing/report.h"

class prnx;
namespace printing {
struct PrinterSettings;
}

// "ÜYE GENEL BORÇ ALACAK LİSTESİ": the general list laid out in lines and
// character columns for the printer output control.
namespace generallist {

inline constexpr char16_t PrintTitle[] = u"ÜYE GENEL BORÇ ALACAK LİSTESİ";
inline constexpr char16_t AgingTitle[] = u"ÜYE BORÇ YAŞLANDIRMA LİSTESİ";

struct PrintHead {
    QString date;  // "Baz Tarih", as the clerk typed it
    QString unvan; // the cooperative's name
};

// The list with its ages as printed, and the dunning list after it: code
// (10), name (20), the five ages, the surcharge and the balance (13 each),
// 129 of the page's 132 columns.
inline constexpr qint16 AgingCodeWidth = 10;
inline constexpr qint16 AgingNameWidth = 20;
inline constexpr qint16 AgingAmountWidth = 13;
const printing::Columns &agingColumns();
QStringList agingHeads();
// A row's cells after the code and the name, as shown.
QStringList agingCells(const Figures &f, int tlonda);

// The printer settings the list's print starts from, before the setup screen.
void presetPrinter(printing::PrinterSettings &settings);
// The same for the list with its ages.
void presetAgingPrinter(printing::PrinterSettings &settings);

// Opens the printer in the record's mode and prints the list's rows, with a
// rule under each column after every row when `rules`, the head on every
// page and at the end the list's grand totals. With `aging` the columns are
// the code, the name, the five ages, the surcharge and the balance, in the
// narrower widths that fit them on the page. False, after the printer's
// message, when the job did not reach the printer or its file.
[[nodiscard]] bool printList(prnx &printer, const List &list, const PrintHead &head, bool rules,
                             int tlonda, bool aging = false);

} // namespace generallist
