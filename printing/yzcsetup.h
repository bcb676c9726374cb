#pragma once

#include "printing/printcontext.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The printer setup screen: shown modally before a report or a receipt is
// printed, it edits the shared printer settings record and may change the
// current system printer. The printing screen prints only when the record
// says confirmed afterwards.
class yzcsetup : public QDialog {
    Q_OBJECT
  public:
    explicit yzcsetup(printing::PrintContext &context, QWidget *parent = nullptr);

    // Graphic output goes to this PDF file from now on; also what the
    // "PDF Dosyası..." button does after its file dialog.
    void choosePdfFile(const QString &path);

    QLabel *printerLabel() const { return m_printer; }
    QRadioButton *dotMatrixOption() const { return m_dotMatrix; }
    QRadioButton *graphicOption() const { return m_graphic; }
    QRadioButton *portraitOption() const { return m_portrait; }
    QRadioButton *landscapeOption() const { return m_landscape; }
    QComboBox *lineCountBox() const { return m_lineCount; }
    QComboBox *copiesBox() const { return m_copies; }
    QCheckBox *titleCheck() const { return m_printTitle; }
    QCheckBox *dateCheck() const { return m_printDate; }
    QCheckBox *pageNoCheck() const { return m_printPageNo; }
    QCheckBox *companyCheck() const { return m_printCompany; }
    QLineEdit *titleBox() const { return m_title; }
    QPushButton *choosePrinterButton() const { return m_choosePrinter; }
    QPushButton *pdfButton() const { return m_pdf; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    static QString noPrinterText() {
        return QStringLiteral("Seçili Yazıcı Yok... Yazıcı Yükleyiniz.");
    }

  private:
    void loadRecord();
    void modeChanged();
    void confirm();
    void choosePrinter();
    void askPdfFile();

    printing::PrintContext &m_context;
    QLabel *m_printer;
    QRadioButton *m_dotMatrix, *m_graphic, *m_portrait, *m_landscape;
    QComboBox *m_lineCount, *m_copies;
    QCheckBox *m_printTitle, *m_printDate, *m_printPageNo, *m_printCompany;
    QLineEdit *m_title;
    QPushButton *m_choosePrinter, *m_pdf, *m_ok, *m_cancel;
};

namespace printing {

// The system print dialog for `parent`, started from the context's current
// printer; on confirmation the chosen printer and its page settings become
// the current ones. False when the user cancels.
[[nodiscard]] bool choosePrinter(PrintContext &context, QWidget *parent);

} // namespace printing
