#include "printing/preview.h"

#include "base/wholefile.h"
#include "core/company.h"
#include "printing/dostext.h"
#include "printing/printcontext.h"
#include "printing/printwithsetup.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeySequence>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace printing {
namespace {

// The dialog around Qt's preview widget, with the program's own Turkish
// tool bar. `print` sends the job to the chosen printer, `savePdf` into the
// file given; both close the preview.
class PreviewDialog : public QDialog {
  public:
    PreviewDialog(QPrinter &pages, QWidget *parent, const std::function<void(QPrinter *)> &render,
                  std::function<void()> print, std::function<void(const QString &)> savePdf)
        : QDialog(parent), m_preview(new QPrintPreviewWidget(&pages, this)) {
        setWindowTitle(QStringLiteral("Baskı Önizleme"));
        setObjectName(QStringLiteral("onizleme"));
        resize(980, 760);
        connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
                [render](QPrinter *p) { render(p); });
        auto *bar = new QToolBar(this);
        const auto action = [&](const char16_t *text, const QKeySequence &key, auto slot) {
            QAction *a = bar->addAction(QString::fromUtf16(text));
            a->setShortcut(key);
            a->setToolTip(QString::fromUtf16(text) + QStringLiteral(" (") +
                          key.toString(QKeySequence::NativeText) + u')');
            connect(a, &QAction::triggered, this, slot);
            return a;
        };
        action(u"Yazdır", QKeySequence(Qt::CTRL | Qt::Key_P), [this, print] {
            accept();
            print();
        });
        action(u"PDF Olarak Kaydet", QKeySequence(Qt::CTRL | Qt::Key_S), [this, savePdf] {
            QString path =
                QFileDialog::getSaveFileName(this, QStringLiteral("PDF Olarak Kaydet"), QString(),
                                             QStringLiteral("PDF belgesi (*.pdf)"));
            if (path.isEmpty())
                return;
            if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
                path += QStringLiteral(".pdf");
            accept();
            savePdf(path);
        });
        bar->addSeparator();
        action(u"Önceki Sayfa", QKeySequence(Qt::Key_PageUp),
               [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
        action(u"Sonraki Sayfa", QKeySequence(Qt::Key_PageDown),
               [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
        action(u"Yakınlaştır", QKeySequence(Qt::CTRL | Qt::Key_Plus),
               [this] { m_preview->zoomIn(); });
        action(u"Uzaklaştır", QKeySequence(Qt::CTRL | Qt::Key_Minus),
               [this] { m_preview->zoomOut(); });
        action(u"Sayfaya Sığdır", QKeySequence(Qt::CTRL | Qt::Key_0),
               [this] { m_preview->fitInView(); });
        bar->addSeparator();
        action(u"Kapat", QKeySequence(Qt::Key_Escape), [this] { reject(); });
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(bar);
        layout->addWidget(m_preview, 1);
        m_preview->fitInView();
    }

  private:
    QPrintPreviewWidget *m_preview;
};

// The dot-matrix pages: the record's line count to a page, 136 columns
// across (a condensed line and its margin), in a fixed-width face. False
// when the page could not be drawn or finished.
bool drawText(QPrinter &printer, const std::vector<DosLine> &lines, int perPage) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double width = printer.width(), height = printer.height();
    const double lineHeight = height / std::max(perPage, 1);
    const double columnWidth = width / 136;
    QFont face = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    face.setPixelSize(std::max(1, int(lineHeight * 0.8)));
    // A character as wide as a column, whatever the face's proportions.
    const double natural = QFontMetricsF(face, &printer).horizontalAdvance(u'M');
    if (natural > 0)
        face.setStretch(std::clamp(int(100 * columnWidth / natural), 1, 4000));
    QFont bold = face;
    bold.setBold(true);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && i % size_t(perPage) == 0)
            printer.newPage();
        const double y = double(i % size_t(perPage)) * lineHeight;
        const DosLine &line = lines[i];
        // A run of characters of one weight at a time, placed at its column.
        for (qsizetype start = 0; start < line.text.size();) {
            qsizetype end = start;
            while (end < line.text.size() && line.bold[size_t(end)] == line.bold[size_t(start)])
                ++end;
            painter.setFont(line.bold[size_t(start)] ? bold : face);
            painter.drawText(QPointF(double(start) * columnWidth, y + lineHeight * 0.8),
                             line.text.mid(start, end - start));
            start = end;
        }
    }
    return painter.end();
}

QPrinter &layoutOf(PrintContext &context, QPrinter &own) {
    own.setPageLayout(context.printer().pageLayout());
    return own;
}

} // namespace

void previewGraphic(PrintContext &context, QWidget *parent, const std::function<void()> &print) {
    QPrinter layout(QPrinter::HighResolution);
    const auto render = [&](QPrinter *p) {
        context.target = p;
        print();
        context.target = nullptr;
    };
    const QString before = context.pdfFile;
    PreviewDialog dialog(
        layoutOf(context, layout), parent, render,
        [&] {
            WaitCursor wait;
            print();
        },
        [&](const QString &path) {
            context.pdfFile = path;
            WaitCursor wait;
            print();
            context.pdfFile = before;
        });
    dialog.exec();
}

bool previewDotMatrix(PrintContext &context, const QString &jobFile) {
    Messages &messages = context.company().messages;
    QFile job(jobFile);
    if (!job.open(QIODevice::ReadOnly)) {
        messages.warning(QStringLiteral("Yazdırma tamamlanamadı.\nYazıcı dosyası okunamadı: ") +
                         jobFile + QStringLiteral(": ") + job.errorString());
        return false;
    }
    const std::vector<DosLine> lines = fromDosJob(job.readAll());
    const int perPage = std::max<int>(context.settings.lineCount, 1);
    bool printIt = false;
    QPrinter layout(QPrinter::HighResolution);
    PreviewDialog dialog(
        layoutOf(context, layout), QApplication::activeWindow(),
        [&](QPrinter *p) { (void)drawText(*p, lines, perPage); }, [&] { printIt = true; },
        [&](const QString &path) {
            // In place only once complete, as every PDF the program writes.
            wholefile::Staged file(path);
            QString error;
            if (file.open(&error)) {
                QPrinter pdf(QPrinter::HighResolution);
                pdf.setPageLayout(layout.pageLayout());
                pdf.setOutputFormat(QPrinter::PdfFormat);
                pdf.setOutputFileName(file.path());
                if (!drawText(pdf, lines, perPage))
                    error = QStringLiteral("PDF dosyası yazılamadı.");
                else if (file.commit(&error))
                    return;
            }
            messages.warning(QStringLiteral("PDF dosyası yazılamadı: ") + path + u'\n' + error);
        });
    dialog.exec();
    return printIt;
}

} // namespace printing
