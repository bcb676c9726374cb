#include "printing/pageprint.h"

#include "base/wholefile.h"
#include "core/company.h"
#include "printing/printcontext.h"

#include <QApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace printing {
namespace {

bool drawOn(QPrinter &printer, Messages &messages, const QString &what,
            const std::function<void(QPainter &)> &draw) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        messages.warning(what + QStringLiteral(" yazdırılamadı: yazıcı açılamıyor."));
        return false;
    }
    draw(painter);
    if (painter.end())
        return true;
    messages.warning(what + QStringLiteral(" yazdırılamadı: ") +
                     (printer.outputFileName().isEmpty()
                          ? QStringLiteral("yazıcı belgeyi almadı.")
                          : QStringLiteral("PDF dosyası yazılamadı.")));
    return false;
}

} // namespace

bool printPage(PrintContext &context, const QString &what,
               const std::function<void(QPainter &)> &draw) {
    Messages &messages = context.company().messages;
    const QString pdf = context.pdfOutput();
    const QPrinter &chosen = context.printer();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(chosen.printerName());
    printer.setCopyCount(chosen.copyCount());
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    if (!pdf.isEmpty()) {
        wholefile::Staged file(pdf);
        QString error;
        if (!file.open(&error)) {
            messages.warning(what + QStringLiteral(" yazdırılamadı: PDF dosyası yazılamıyor: ") +
                             pdf + QStringLiteral(": ") + error);
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file.path());
        if (!drawOn(printer, messages, what, draw))
            return false;
        if (file.commit(&error))
            return true;
        messages.warning(what + QStringLiteral(" yazdırılamadı: PDF dosyası yazılamadı: ") + pdf +
                         QStringLiteral(": ") + error);
        return false;
    }
    QPrintPreviewDialog preview(&printer, QApplication::activeWindow());
    bool drawn = true;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter *p) { drawn = drawOn(*p, messages, what, draw) && drawn; });
    preview.exec();
    return drawn;
}

} // namespace printing
