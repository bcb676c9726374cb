#include "printing/prnx.h"

#include "printing/dostext.h"
#include "printing/preview.h"

#include "base/wholefile.h"
#include "core/company.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryFile>

#include <algorithm>

namespace {

constexpr char kEsc = 27;
constexpr char kCondensedOn = 15;
constexpr char kCondensedOff = 18;

// How long the dot-matrix program may take to spool a job before the desk
// stops waiting for it.
constexpr int kHandOverMs = 60000;

const QString NotOpened = QStringLiteral("Yazıcı Yazdırılamıyor..\n");
const QString NotFinished = QStringLiteral("Yazdırma tamamlanamadı.\n");

QFont defaultFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

prnx::prnx(printing::PrintContext &context, QObject *parent)
    : QObject(parent), m_context(context), m_font(defaultFont()) {}

prnx::~prnx() {
    // A job left open by a screen that closed still finishes its document.
    QString ignored;
    if (m_painter && m_painter->isActive() && m_painter->end() && m_pdfFile)
        (void)m_pdfFile->commit(&ignored);
}

QVariantMap prnx::fontProperties() const {
    return {{QStringLiteral("fontname"), m_font.family()},
            {QStringLiteral("fontsize"), m_font.pointSizeF()},
            {QStringLiteral("fontchar"), m_fontChar}};
}

void prnx::setFontProperties(const QVariantMap &properties) {
    QFont font(properties.value(QStringLiteral("fontname"), QStringLiteral("Tahoma")).toString());
    bool ok = false;
    double size = properties.value(QStringLiteral("fontsize"), 8.25).toDouble(&ok);
    if (!ok || size <= 0)
        size = 8.25;
    font.setPointSizeF(size);
    m_font = font;
    m_fontChar = properties.value(QStringLiteral("fontchar"), 162).toInt();
}

qint16 prnx::linesFitting(int printableHeight, int lineHeight) {
    if (lineHeight <= 0 || printableHeight <= 0)
        return 0;
    return static_cast<qint16>(std::min(printableHeight / lineHeight, 32767));
}

bool prnx::OpenPrinter(quint8 mode, const QString &documentName, bool condensed) {
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_pages = 0;
    m_failure.clear();
    m_failureTold = false;
    switch (mode) {
    case Grafik:
        m_mode = Grafik;
        if (openGraphic(documentName))
            return true;
        m_mode = Kapali;
        return false;
    case DotMatrix:
        m_mode = DotMatrix;
        if (openDotMatrix(condensed))
            return true;
        m_mode = Kapali;
        return false;
    case 3:
    case 4:
    case Sessiz:
        m_mode = mode;
        return false;
    default:
        m_mode = Kapali;
        return false;
    }
}

QPrinter *prnx::jobPrinter() {
    if (m_context.target) {
        m_pdf.reset();
        return m_context.target; // the preview's pages
    }
    QPrinter &system = m_context.printer();
    const QString pdf = m_context.pdfOutput();
    if (pdf.isEmpty()) {
        m_pdf.reset();
        return &system;
    }
    // A PDF job takes the page settings of the current printer, and leaves
    // that printer as the user chose it. The file replaces an earlier one
    // only once it is complete.
    m_pdfFile = std::make_unique<wholefile::Staged>(pdf);
    QString error;
    if (!m_pdfFile->open(&error)) {
        fail(NotOpened + QStringLiteral("PDF dosyası yazılamıyor: ") + pdf + QStringLiteral(": ") +
             error);
        m_pdfFile.reset();
        return nullptr;
    }
    m_pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_pdf->setOutputFormat(QPrinter::PdfFormat);
    m_pdf->setPageLayout(system.pageLayout());
    m_pdf->setOutputFileName(m_pdfFile->path());
    return m_pdf.get();
}

bool prnx::openGraphic(const QString &documentName) {
    QPrinter *printer = jobPrinter();
    if (!printer)
        return false;
    printer->setDocName(documentName);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(printer)) {
        m_painter.reset();
        m_pdfFile.reset();
        const QString pdf = m_context.pdfOutput();
        fail(NotOpened + (pdf.isEmpty() ? QStringLiteral("Yazıcı açılamıyor: ") +
                                              (printer->printerName().isEmpty()
                                                   ? QStringLiteral("seçili yazıcı yok")
                                                   : printer->printerName())
                                        : QStringLiteral("PDF dosyası yazılamıyor: ") + pdf));
        m_pdf.reset();
        return false;
    }
    // The line height is that of the bold font, so a bold cell never
    // overlaps the next line.
    QFont bold = m_font;
    bold.setBold(true);
    const QFontMetrics metrics(bold, printer);
    m_lineHeight =
        static_cast<qint16>(metrics.size(Qt::TextSingleLine, QStringLiteral("Öq")).height());
    m_linesPerPage = linesFitting(printer->height(), m_lineHeight);
    m_context.settings.lineCount = static_cast<quint8>(std::min<int>(m_linesPerPage, 255));
    m_columnWidth = double(printer->width()) / Sutun;
    m_painter->setFont(m_font);
    m_left = m_top = m_right = 0;
    m_bottom = m_lineHeight;
    return true;
}

bool prnx::openDotMatrix(bool condensed) {
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/xXXXXXX"));
    file->setAutoRemove(false);
    if (!file->open()) {
        fail(NotOpened + QStringLiteral("Geçici yazıcı dosyası açılamadı: ") + QDir::tempPath() +
             QStringLiteral(": ") + file->errorString());
        return false;
    }
    m_fileName = file->fileName();
    m_file = std::move(file);
    m_condensed = condensed;
    m_pending.clear();
    if (condensed)
        m_pending += kCondensedOn;
    return true;
}

qint16 prnx::YeniSayfa() {
    ++m_pages;
    if (m_mode == Grafik && m_painter) {
        if (m_pages > 1) {
            auto *printer = static_cast<QPrinter *>(m_painter->device());
            printer->newPage();
        }
        m_left = m_top = 0;
        m_bottom = m_lineHeight;
    }
    m_lines = 0;
    return m_pages;
}

void prnx::Lprint(const QString &text, qint16 width, bool newLine, quint8 alignment, bool bold,
                  bool italic, bool underline, bool strikeOut) {
    if (m_mode == Grafik && m_painter) {
        QFont font = m_font;
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);
        font.setStrikeOut(strikeOut);
        m_painter->setFont(font);
        const qsizetype columns = width >= 1 ? width : text.size();
        m_right = static_cast<int>(m_left + m_columnWidth * double(columns));
        const Qt::Alignment horizontal = alignment == Saga     ? Qt::AlignRight
                                         : alignment == Ortala ? Qt::AlignHCenter
                                                               : Qt::AlignLeft;
        const QRect cell(m_left, m_top, m_right - m_left, m_bottom - m_top);
        m_painter->save();
        // Cut at the column's edge only: the dots of "İ", "Ö" and "Ü" rise
        // above the font's ascent in some faces and must not be cut off.
        m_painter->setClipRect(
            QRect(m_left, m_top - m_lineHeight, m_right - m_left, 3 * m_lineHeight));
        m_painter->drawText(cell, int(horizontal | Qt::AlignTop | Qt::TextSingleLine), text);
        m_painter->restore();
        m_left = m_right;
    } else if (m_mode == DotMatrix && m_file) {
        addCell(text, width, alignment, bold, italic, underline);
    }
    if (newLine)
        endLine();
}

void prnx::LinePrint(qint16 width, bool bold, bool newLine) {
    if (m_mode == Grafik && m_painter) {
        m_right = static_cast<int>(m_left + m_columnWidth * double(width));
        const int middle = m_top + (m_bottom - m_top) / 2;
        m_painter->drawLine(m_left, middle, m_right, middle);
        m_left = m_right;
    } else if (m_mode == DotMatrix && m_file) {
        addCell(QString(std::max<int>(width, 0), u'_'), width, Sola, bold, false, false);
    }
    if (newLine)
        endLine();
}

void prnx::addCell(const QString &text, qint16 width, quint8 alignment, bool bold, bool italic,
                   bool third) {
    QByteArray cell = printing::toDosText(printing::dotMatrixCell(text, width, alignment));
    if (bold)
        cell = QByteArray() + kEsc + 'G' + cell + kEsc + 'H';
    if (italic)
        cell = QByteArray() + kEsc + '4' + cell + kEsc + '5';
    if (third)
        cell = QByteArray() + kEsc + char(1) + cell + kEsc + char(0);
    m_pending += cell;
}

void prnx::endLine() {
    ++m_lines;
    if (m_mode == Grafik) {
        m_left = 0;
        m_top = m_bottom;
        m_bottom += m_lineHeight;
    } else if (m_mode == DotMatrix && m_file) {
        writeLine(m_pending);
        m_pending.clear();
    }
}

void prnx::writeLine(const QByteArray &bytes) {
    if (m_file->write(bytes) < 0 || m_file->write("\r\n", 2) < 0)
        fail(NotFinished + QStringLiteral("Geçici yazıcı dosyası yazılamadı: ") +
             m_file->fileName() + QStringLiteral(": ") + m_file->errorString());
}

void prnx::fail(const QString &text) {
    // The first failure is the cause; what follows it only repeats it.
    if (m_failure.isEmpty())
        m_failure = text;
}

bool prnx::tellFailure() {
    if (m_failure.isEmpty())
        return false;
    if (!m_failureTold)
        m_context.company().messages.warning(m_failure);
    m_failureTold = true;
    return true;
}

void prnx::SayfaBitti(bool fill) {
    if (m_mode == DotMatrix && m_file && fill) {
        // Continuous paper: blank lines up to the form's last line put the
        // next page at the top of the next form.
        for (int n = m_lines + 1; n <= m_context.settings.lineCount; ++n)
            writeLine(QByteArrayLiteral(" "));
    }
    // Graphic pages end when the next one starts or the document ends.
    m_lines = 0;
}

void prnx::ClosePrinter() {
    if (m_mode == Grafik && m_painter) {
        const bool ended = m_painter->end();
        m_painter.reset();
        m_pdf.reset();
        QString error;
        if (!ended)
            fail(NotFinished +
                 (m_pdfFile ? QStringLiteral("PDF dosyası yazılamadı: ") + m_pdfFile->target()
                            : QStringLiteral("Yazıcı belgeyi almadı.")));
        else if (m_pdfFile && !m_pdfFile->commit(&error))
            fail(NotFinished + QStringLiteral("PDF dosyası yazılamadı: ") + m_pdfFile->target() +
                 QStringLiteral(": ") + error);
        m_pdfFile.reset();
    } else if (m_mode == DotMatrix && m_file) {
        if (m_condensed)
            writeLine(QByteArray(1, kCondensedOff));
        if (!m_file->flush())
            fail(NotFinished + QStringLiteral("Geçici yazıcı dosyası yazılamadı: ") + m_fileName +
                 QStringLiteral(": ") + m_file->errorString());
        m_file->close();
        m_file.reset();
        m_pending.clear();
        // A job that could not be written whole is not printed in part.
        if (m_failure.isEmpty())
            handOver();
        QFile::remove(m_fileName);
    }
}

void prnx::abandon() {
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_pdf.reset();
    m_pdfFile.reset(); // never committed: the earlier file stays
    if (m_file) {
        m_file->close();
        m_file.reset();
        QFile::remove(m_fileName);
    }
    m_pending.clear();
    m_mode = Kapali;
}

void prnx::handOver() {
    const QString copy = m_context.dotMatrixCopy;
    if (copy.isEmpty()) {
        // Closed unprinted from the preview: nothing to report.
        if (m_context.preview && !printing::previewDotMatrix(m_context, m_fileName))
            return;
        runDotMatrixProgram();
        return;
    }
    QFile job(m_fileName);
    QString error;
    if (!job.open(QIODevice::ReadOnly))
        error = job.errorString();
    else if (wholefile::write(copy, job.readAll(), &error))
        return;
    fail(NotFinished + QStringLiteral("Dosya yazılamadı: ") + copy + QStringLiteral(": ") + error);
}

void prnx::runDotMatrixProgram() {
    const QString program = m_context.dotMatrixProgram();
    QProcess process;
    // The printer chosen with "Yazıcı Seç" rather than the system's default.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString chosen = m_context.chosenPrinterName();
    if (!chosen.isEmpty())
        environment.insert(QStringLiteral("LPDEST"), chosen);
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, {m_fileName});
    if (!process.waitForStarted()) {
        fail(NotFinished + QStringLiteral("Nokta vuruşlu yazıcı programı çalıştırılamadı: ") +
             program + QStringLiteral(" (") + process.errorString() + u')');
        return;
    }
    // The program only spools the file; the window keeps painting meanwhile.
    const QDeadlineTimer deadline(kHandOverMs);
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(50)) {
        if (deadline.hasExpired()) {
            process.kill();
            process.waitForFinished();
            fail(NotFinished + QStringLiteral("Nokta vuruşlu yazıcı programı yanıt vermedi: ") +
                 program);
            return;
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        QString why = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        if (why.isEmpty())
            why = QStringLiteral("çıkış kodu %1").arg(process.exitCode());
        fail(NotFinished + QStringLiteral("Yazıcıya gönderilemedi: ") + why);
    }
}
