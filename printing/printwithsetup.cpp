#include "printing/printwithsetup.h"

#include "printing/yzcsetup.h"

#include <QApplication>

namespace printing {
namespace {

// A print that fails half-way still gives the pointer back.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

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
