#include "printing/yzcsetup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The leading whole number of a box's text, 0 when there is none, kept
// within a byte as the record stores it.
quint8 byteValue(const QString &text) {
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t[n].isDigit())
        ++n;
    const int value = t.left(n).toInt();
    return static_cast<quint8>(std::clamp(value, 0, 255));
}

} // namespace

yzcsetup::yzcsetup(printing::PrintContext &context, QWidget *parent)
    : QDialog(parent), m_context(context) {
    setWindowTitle(QStringLiteral("Yazıcı Ayarları"));

    m_printer = new QLabel(noPrinterText());
    m_choosePrinter = new QPushButton(QStringLiteral("&Yazıcı Seç"));
    m_pdf = new QPushButton(QStringLiteral("&PDF Dosyası..."));

    m_dotMatrix = new QRadioButton(QStringLiteral("Dot Matrix (Dos Mod)"));
    m_graphic = new QRadioButton(QStringLiteral("Grafik (Windows Mod)"));
    auto *modeGroup = new QButtonGroup(this);
    modeGroup->addButton(m_dotMatrix);
    modeGroup->addButton(m_graphic);
    auto *modeBox = new QGroupBox;
    auto *modeLayout = new QVBoxLayout(modeBox);
    modeLayout->addWidget(m_dotMatrix);
    modeLayout->addWidget(m_graphic);

    m_portrait = new QRadioButton(QStringLiteral("Dikey"));
    m_landscape = new QRadioButton(QStringLiteral("Yatay"));
    auto *orientationGroup = new QButtonGroup(this);
    orientationGroup->addButton(m_portrait);
    orientationGroup->addButton(m_landscape);
    auto *orientationBox = new QGroupBox;
    auto *orientationLayout = new QVBoxLayout(orientationBox);
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);

    // Editable, as the record may hold a line count graphic printing computed.
    m_lineCount = new QComboBox;
    m_lineCount->setEditable(true);
    m_lineCount->setValidator(new QIntValidator(0, 255, m_lineCount));
    m_copies = new QComboBox;

    m_printTitle = new QCheckBox(QStringLiteral("Başlık Yazılsın"));
    m_printDate = new QCheckBox(QStringLiteral("Tarih Yazılsın"));
    m_printPageNo = new QCheckBox(QStringLiteral("Sayfa No Yazılsın"));
    m_printCompany = new QCheckBox(QStringLiteral("Şirket Adı Yazılsın"));
    m_title = new QLineEdit;

    m_ok = new QPushButton(QStringLiteral("&Tamam"));
    m_cancel = new QPushButton(QStringLiteral("&Vazgeç"));
    m_ok->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_printer, 0, 0, 1, 3);
    grid->addWidget(m_choosePrinter, 0, 3);
    grid->addWidget(modeBox, 1, 0, 1, 2);
    grid->addWidget(orientationBox, 1, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Satır Sayısı")), 2, 0);
    grid->addWidget(m_lineCount, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Kopya Sayısı")), 2, 2);
    grid->addWidget(m_copies, 2, 3);
    grid->addWidget(m_printTitle, 3, 0, 1, 2);
    grid->addWidget(m_printDate, 3, 2, 1, 2);
    grid->addWidget(m_printPageNo, 4, 0, 1, 2);
    grid->addWidget(m_printCompany, 4, 2, 1, 2);
    auto *titleLabel = new QLabel(QStringLiteral("Başlık:"));
    titleLabel->setBuddy(m_title);
    grid->addWidget(titleLabel, 5, 0);
    grid->addWidget(m_title, 5, 1, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_pdf);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 6, 0, 1, 4);

    connect(m_dotMatrix, &QRadioButton::toggled, this, &yzcsetup::modeChanged);
    connect(m_ok, &QPushButton::clicked, this, &yzcsetup::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &yzcsetup::reject);
    connect(m_choosePrinter, &QPushButton::clicked, this, &yzcsetup::choosePrinter);
    connect(m_pdf, &QPushButton::clicked, this, &yzcsetup::askPdfFile);

    for (int n = 1; n <= 5; ++n)
        m_copies->addItem(QString::number(n));
    for (int n : {22, 33, 44, 66, 70})
        m_lineCount->addItem(QString::number(n));
    m_lineCount->setCurrentText(QStringLiteral("66"));
    m_copies->setCurrentText(QStringLiteral("1"));
    m_graphic->setChecked(true);
    m_portrait->setChecked(true);
    modeChanged();
    m_ok->setEnabled(false);
    m_choosePrinter->setEnabled(false);

    m_context.settings.confirmed = false;
    loadRecord();
}

void yzcsetup::loadRecord() {
    const QString pdf = m_context.pdfOutput();
    const bool hasPrinter = printing::PrintContext::systemHasPrinter();
    if (!pdf.isEmpty())
        m_printer->setText(QStringLiteral("PDF: ") + pdf);
    else if (hasPrinter)
        m_printer->setText(m_context.printer().printerName());
    else
        return; // nothing to print on: the label asks for a printer

    const printing::PrinterSettings &s = m_context.settings;
    m_title->setText(s.title);
    m_printTitle->setChecked(s.printTitle);
    m_printDate->setChecked(s.printDate);
    m_printPageNo->setChecked(s.printPageNo);
    m_printCompany->setChecked(s.printCompany);
    m_lineCount->setCurrentText(QString::number(s.lineCount));
    m_copies->setCurrentIndex(s.copies >= 1 && s.copies <= m_copies->count() ? s.copies - 1 : -1);
    (s.orientation == 1 ? m_portrait : m_landscape)->setChecked(true);
    (s.dotMatrix ? m_dotMatrix : m_graphic)->setChecked(true);
    modeChanged();
    m_ok->setEnabled(true);
    m_choosePrinter->setEnabled(hasPrinter);
}

void yzcsetup::modeChanged() {
    const bool dot = m_dotMatrix->isChecked();
    m_lineCount->setEnabled(dot);
    m_portrait->setEnabled(!dot);
    m_landscape->setEnabled(!dot);
}

void yzcsetup::confirm() {
    printing::PrinterSettings &s = m_context.settings;
    s.confirmed = true;
    s.title = m_title->text();
    s.printTitle = m_printTitle->isChecked();
    s.printDate = m_printDate->isChecked();
    s.printPageNo = m_printPageNo->isChecked();
    s.printCompany = m_printCompany->isChecked();
    s.dotMatrix = m_dotMatrix->isChecked();
    s.copies = byteValue(m_copies->currentText());
    s.orientation = m_portrait->isChecked() ? 1 : 2;
    s.lineCount = byteValue(m_lineCount->currentText());
    accept();
}

void yzcsetup::choosePrinter() {
    if (printing::choosePrinter(m_context, this))
        loadRecord();
}

void yzcsetup::askPdfFile() {
    // A name typed without ".pdf" gets it; an existing file is only replaced
    // after the dialog's question.
    QFileDialog dialog(this, QStringLiteral("PDF Dosyası"), m_context.pdfFile,
                       QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        choosePdfFile(dialog.selectedFiles().constFirst());
}

void yzcsetup::choosePdfFile(const QString &path) {
    m_context.pdfFile = path;
    loadRecord();
}

namespace printing {

bool choosePrinter(PrintContext &context, QWidget *parent) {
    // QPrintDialog edits the printer in place: name, orientation, copies and
    // the page settings become those of the current printer when accepted.
    // A cancelled dialog leaves the printer untouched.
    QPrinter &printer = context.printer();
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // "Print to file" in the dialog: graphic printing writes that PDF.
        context.pdfFile = printer.outputFileName();
        printer.setOutputFileName(QString());
    }
    return true;
}

} // namespace printing
