#pragma once

#include <QString>
#include <functional>

class QPainter;

namespace printing {

class PrintContext;

// One A4 portrait page drawn by `draw`, its positions measured from the
// paper's edge: into the context's PDF file, which replaces an earlier one
// only once it is complete, or through Qt's print preview over the active
// window to the printer chosen last on any setup screen (without changing
// that printer's page for the reports printed after it). Every message
// begins with `what` ("Makbuz"); false after one.
[[nodiscard]] bool printPage(PrintContext &context, const QString &what,
                             const std::function<void(QPainter &)> &draw);

} // namespace printing
