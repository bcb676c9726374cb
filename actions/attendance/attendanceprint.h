#pragma once

#include "actions/attendance/attendanceaction.h"

class prnx;
namespace printing {
struct PrinterSettings;
}

// "HAZİRUN CETVELİ": the sheet the members sign at the general assembly,
// laid out in lines and character columns for the printer output control.
namespace attendance {

inline constexpr char16_t PrintTitle[] = u"HAZİRUN CETVELİ";

// The printer settings the list's print starts from, before the setup screen:
// its title over the clerk's last confirmed choices.
void presetPrinter(printing::PrinterSettings &settings);

struct PrintOptions {
    // The page groups to end pages at, or none.
    std::optional<Groups> groups;
    // Two tick boxes before the signature, "Asaleten" (in person) and
    // "Vekaleten" (by proxy), the address column giving them room.
    bool marks = false;
};

// Opens the printer in the record's mode and prints the list, a page ending
// four lines short of the record's line count and, with groups, after each
// group's last member. The pages printed; "Liste Getirilmemiş.." and nothing
// for an empty list; nothing too, after the printer's message, when the job
// did not reach the printer or its file.
[[nodiscard]] std::optional<int> printList(prnx &printer, Messages &messages,
                                           const std::vector<Member> &members,
                                           const PrintOptions &options);

} // namespace attendance
