#pragma once

#include "data/koopdata.h"

#include <QStringList>
#include <optional>
#include <vector>

class prnx;

// The address labels' layout on continuous label stock: two labels across,
// printed by the dot-matrix printer.
namespace labels {

// A label block: eight lines of 130 columns, the left label at columns 5
// and 7, the right one (if any) at 60 and 62, each field cut or padded to 35.
QStringList block(const data::MemberCard &left, const data::MemberCard *right);

// The test page: twice eight lines of two 50-digit rulers and a blank line,
// the page ended without advancing the stock. False, after the printer's
// message, when the job did not reach the printer or its file.
[[nodiscard]] bool printTest(prnx &printer);
// The labels two by two, each block followed by a blank line, a last block
// with only its left label, a closing blank line. The number of labels;
// nothing, after the printer's message, when the job did not get through.
[[nodiscard]] std::optional<int> printLabels(prnx &printer,
                                             const std::vector<data::MemberCard> &cards);

} // namespace labels
