#pragma once

#include "printing/printersettings.h"

#include <QString>
#include <memory>

class QPrinter;
struct Company;

namespace printing {

// What every printing screen shares with the printer setup screen and the
// output control: the settings record and the current system printer, which
// "Yazıcı Seç" changes for the rest of the process. The screens own one and
// hand it to both.
class PrintContext {
  public:
    explicit PrintContext(Company &company);
    ~PrintContext();
    PrintContext(const PrintContext &) = delete;
    PrintContext &operator=(const PrintContext &) = delete;

    Company &company() const { return m_company; }

    PrinterSettings settings;

    // A PDF file graphic printing writes instead of the system printer; the
    // environment's KOOP_PRINT_PDF wins over it.
    QString pdfFile;
    // When set, a finished dot-matrix file is copied here instead of being
    // handed to the dot-matrix program (print tests, the command line).
    QString dotMatrixCopy;

    // The desktop's prints pass the print preview first; the command line's
    // and the tests' go straight to their file or printer.
    bool preview = false;
    // While the preview draws a job: the printer to draw it on instead.
    QPrinter *target = nullptr;

    // Prints without a printer (the command line, tests): in dot-matrix mode
    // the file's copy goes to `file`, in graphic mode the PDF is written there.
    void printTo(bool dotMatrix, const QString &file);

    // The current system printer, made on first use.
    QPrinter &printer();
    // The printer's name once one is in use (a setup screen shows it, "Yazıcı
    // Seç" changes it); empty before, for the system's default.
    QString chosenPrinterName() const;
    // True when the system has at least one printer installed.
    [[nodiscard]] static bool systemHasPrinter();
    // The PDF graphic printing writes, or empty for the system printer.
    QString pdfOutput() const;
    // The program that sends a dot-matrix file to the printer: KOOP_DOTYAZ,
    // else "dotyaz" in the program folder.
    QString dotMatrixProgram() const;

  private:
    Company &m_company;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace printing
