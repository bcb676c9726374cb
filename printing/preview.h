#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace printing {

class PrintContext;

// The print preview every printout passes on its way to a printer: the pages
// as they will come out, to leaf through and zoom, then "Yazdır" to the
// printer chosen last, "PDF Olarak Kaydet" into a file, or "Kapat" for
// nothing.

// A graphic job: `print` draws the whole job again on whatever printer the
// preview names (the preview's own pages, the system printer, a PDF).
void previewGraphic(PrintContext &context, QWidget *parent, const std::function<void()> &print);

// A dot-matrix job's text file, its pages of the record's line count, drawn
// in a fixed-width face; true when the clerk chose to print it, which hands
// the file over. A PDF saved from it holds the same pages.
[[nodiscard]] bool previewDotMatrix(PrintContext &context, const QString &jobFile);

} // namespace printing
