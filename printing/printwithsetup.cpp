#include "printing/printwithsetup.h"

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
    preset(context.settings);
    yzcsetup setup(context, parent);
    setup.exec();
    if (!context.settings.confirmed)
        return false;
    WaitCursor wait;
    print();
    return true;
}

} // namespace printing
