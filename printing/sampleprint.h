#pragma once

#include "printing/printcontext.h"

#include <QDate>
#include <QString>

namespace printing {

struct SampleSummary {
    qint16 pages = 0;
    int rows = 0; // member rows printed
};

// A printer test in the shape of every report: a heading on each page
// (company, date, title, page number, column captions), member rows with
// right-aligned amounts, rules, Turkish letters, and a total; as many rows as
// fill one and a half pages, so the page break is seen. Mode and line count
// come from the context's settings record. False when the printer did not open.
[[nodiscard]] bool printSample(PrintContext &context, const QString &company, const QDate &date,
                               SampleSummary *summary = nullptr);

} // namespace printing
