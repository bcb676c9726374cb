#include "printing/printcontext.h"

#include "core/company.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace printing {

PrintContext::PrintContext(Company &company) : m_company(company) {}

PrintContext::~PrintContext() = default;

void PrintContext::printTo(bool dotMatrix, const QString &file) {
    settings.dotMatrix = dotMatrix;
    (dotMatrix ? dotMatrixCopy : pdfFile) = file;
}

QPrinter &PrintContext::printer() {
    // High resolution keeps the 132-column grid exact to a fraction of a point.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

QString PrintContext::chosenPrinterName() const {
    return m_printer ? m_printer->printerName() : QString();
}

bool PrintContext::systemHasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QString PrintContext::pdfOutput() const {
    const QString forced = qEnvironmentVariable("KOOP_PRINT_PDF");
    return forced.isEmpty() ? pdfFile : forced;
}

QString PrintContext::dotMatrixProgram() const {
    const QString overridden = qEnvironmentVariable("KOOP_DOTYAZ");
    if (!overridden.isEmpty())
        return overridden;
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("dotyaz.exe");
#else
    const QString name = QStringLiteral("dotyaz");
#endif
    QString folder = toLocalSeparators(m_company.prgPath);
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder + name;
}

} // namespace printing
