#include "printing/printwithsetup.h"

#include "printing/preview.h"
#include "printing/yzcsetup.h"

#include <QApplication>

namespace printing {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

bool printWithSetup(PrintContext &context, QWidget *parent,
                    const std::function<void(PrinterSettings &)> &preset,
                    const std::function<void()> &print) {
    // A PDF file chosen on the setup screen is for this print alone: the next
    // one, a receipt or another report, never writes over it unasked.
    const QString before = context.pdfFile;
    preset(context.settings);
    yzcsetup setup(context, parent);
    setup.exec();
    const bool confirmed = context.settings.confirmed;
    if (confirmed && context.preview && !context.settings.dotMatrix &&
        context.pdfOutput().isEmpty()) {
        // The pages first; a dot-matrix job shows its own when it is handed over.
        previewGraphic(context, parent, print);
    } else if (confirmed) {
        WaitCursor wait;
        print();
    }
    context.pdfFile = before;
    return confirmed;
}

} // namespace printing
