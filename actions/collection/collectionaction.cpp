#include "actions/collection/collectionaction.h"

#include "base/inifile.h"
#include "base/wholefile.h"
#include "data/koopdata.h"
#include "gui/picture.h"
#include "printing/printcontext.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace collection {

Opening openCollection(Session &s) {
    Opening o;
    o.date = s.today();
    if (const auto settings = data::requireSettings(s.ayar, s.messages)) {
        o.settingsExist = true;
        o.receiptNo = data::lastReceiptNumber(*settings, s.genel) + 1;
    }
    return o;
}

posting::CashCollectionResult collect(Session &s, const Opening &opening, const QString &kod,
                                      const QString &name, Money amount,
                                      const QString &description) {
    posting::CashCollection c;
    c.kod = kod;
    c.name = name;
    c.date = opening.date;
    c.receiptNo = opening.receiptNo;
    c.amount = amount;
    c.description = description;
    c.cashBox = CashBoxNumber;
    c.settingsExist = opening.settingsExist;
    const posting::CashCollectionResult result = posting::postCashCollection(s, c);
    if (result.committed && result.receiptNo != opening.receiptNo)
        s.messages.information(
            QStringLiteral("%1 numaralı makbuz bu arada başka bir masada verildi;\n"
                           "bu tahsilat %2 numaralı makbuzla kaydedildi.")
                .arg(opening.receiptNo)
                .arg(result.receiptNo));
    return result;
}

ReceiptValues receiptValues(Session &s, const ShownReceipt &shown) {
    ReceiptValues v;
    v.receiptNo = shown.receiptNo;
    v.date = shown.date;
    v.kod = shown.kod;
    const auto card = data::readMember(s.carkart, shown.kod);
    v.name = card && !card->isim1.isEmpty() ? card->isim1 : shown.name;
    v.description = shown.description;
    v.amountText = shown.amountText;
    v.amount = shown.amount;
    v.balance = shown.balance;
    v.copy = shown.copy;
    v.tlnick = s.tlnick;
    v.krnick = s.krnick;
    v.tlonda = s.tlonda;
    return v;
}

ReceiptHeader receiptHeader(Session &s) {
    const QString file = s.companyFile(QStringLiteral("korvane.dat"));
    const QString section = QStringLiteral("makbuz");
    ReceiptHeader h;
    h.lines[0] = ini::readValue(section, QStringLiteral("baslik1"),
                                data::cooperativeName(s.genel).trimmed(), file);
    h.lines[1] = ini::readValue(section, QStringLiteral("baslik2"), QString(), file);
    h.lines[2] = ini::readValue(section, QStringLiteral("baslik3"), QString(), file);
    const QString logo = ini::readValue(section, QStringLiteral("logo"), QString(), file).trimmed();
    if (logo.isEmpty()) {
        h.logo = defaultLogo();
    } else {
        const QString path = QDir::isAbsolutePath(toLocalSeparators(logo)) ? toLocalSeparators(logo)
                                                                           : s.imageFile(logo);
        h.logo = loadPicture(path, s.messages).toImage();
    }
    return h;
}

namespace {

void preparePage(QPrinter &printer) {
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // Positions are measured from the paper's edge, not from the margins.
    printer.setFullPage(true);
}

bool drawOn(QPrinter &printer, Session &s, const ReceiptHeader &h, const ReceiptValues &v) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        s.messages.warning(QStringLiteral("Makbuz yazdırılamadı: yazıcı açılamıyor."));
        return false;
    }
    drawReceiptPage(painter, h, v);
    if (painter.end())
        return true;
    s.messages.warning(QStringLiteral("Makbuz yazdırılamadı: ") +
                       (printer.outputFileName().isEmpty()
                            ? QStringLiteral("yazıcı belgeyi almadı.")
                            : QStringLiteral("PDF dosyası yazılamadı.")));
    return false;
}

} // namespace

bool printReceipt(printing::PrintContext &context, const ReceiptHeader &h, const ReceiptValues &v,
                  QWidget *parent) {
    Session &s = context.session();
    const QString pdf = context.pdfOutput();
    // The receipt goes to the printer chosen last on any setup screen, without
    // changing that printer's page for the reports printed after it.
    const QPrinter &chosen = context.printer();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(chosen.printerName());
    printer.setCopyCount(chosen.copyCount());
    preparePage(printer);
    if (!pdf.isEmpty()) {
        // The receipt replaces an earlier file only once it is complete.
        wholefile::Staged file(pdf);
        QString error;
        if (!file.open(&error)) {
            s.messages.warning(QStringLiteral("Makbuz yazdırılamadı: PDF dosyası yazılamıyor: ") +
                               pdf + QStringLiteral(": ") + error);
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file.path());
        if (!drawOn(printer, s, h, v))
            return false;
        if (file.commit(&error))
            return true;
        s.messages.warning(QStringLiteral("Makbuz yazdırılamadı: PDF dosyası yazılamadı: ") + pdf +
                           QStringLiteral(": ") + error);
        return false;
    }
    QPrintPreviewDialog preview(&printer, parent);
    bool drawn = true;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter *p) { drawn = drawOn(*p, s, h, v) && drawn; });
    preview.exec();
    return drawn;
}

} // namespace collection
