#include "printing/dostext.h"
#include "printing/printwithsetup.h"
#include "printing/yzcsetup.h"
#include "printjob.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PrintWithSetup, PrintsOnlyWhenConfirmedUnderAWaitCursor) {
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        PrintJob job; // its PDF file is a printer to confirm with
        printing::PrintContext &context = job.context;
        context.settings.title = u"önceki"_s;
        bool printed = false;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        QTimer::singleShot(0, [&] {
            auto *setup = qobject_cast<yzcsetup *>(QApplication::activeModalWidget());
            ASSERT_NE(setup, nullptr);
            (confirm ? setup->okButton() : setup->cancelButton())->click();
        });
        const bool result = printing::printWithSetup(
            context, nullptr, [](printing::PrinterSettings &s) { s.title = u"LİSTE"_s; },
            [&] {
                printed = true;
                cursor = QApplication::overrideCursor()->shape();
            });
        EXPECT_EQ(result, confirm);
        EXPECT_EQ(printed, confirm);
        EXPECT_EQ(context.settings.title, u"LİSTE"_s); // preset before the screen
        EXPECT_EQ(cursor, confirm ? Qt::WaitCursor : Qt::ArrowCursor);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

// A PDF file chosen on the setup screen is for that print alone: the next
// print (a receipt after a statement) goes to the printer, or asks again.
TEST(PrintWithSetup, APdfChosenOnTheScreenIsForOnePrint) {
    PrintJob job;
    printing::PrintContext &context = job.context;
    const QString before = context.pdfFile;
    const QString chosen = job.dir.filePath(u"ekstre.pdf"_s);
    QString printedTo;
    QTimer::singleShot(0, [&] {
        auto *setup = qobject_cast<yzcsetup *>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        setup->choosePdfFile(chosen);
        setup->okButton()->click();
    });
    EXPECT_TRUE(printing::printWithSetup(
        context, nullptr, [](printing::PrinterSettings &) {},
        [&] { printedTo = context.pdfOutput(); }));
    EXPECT_EQ(printedTo, chosen);
    EXPECT_EQ(context.pdfFile, before);
}

namespace {

// Presses a button of the preview's tool bar once it is up, after `look`.
void inPreview(const QString &button, const std::function<void(QDialog &)> &look = {}) {
    // Waits for it: the setup screen may still be closing.
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [=] {
        auto *preview = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!preview || preview->objectName() != u"onizleme"_s)
            return;
        poll->stop();
        poll->deleteLater();
        if (look)
            look(*preview);
        for (QAction *a : preview->findChild<QToolBar *>()->actions())
            if (a->text() == button)
                a->trigger();
    });
    poll->start(10);
}

} // namespace

// The desk's prints show their pages first. A graphic job is drawn on the
// preview's pages; a dot-matrix one reaches its program only on "Yazdır".
TEST(PrintWithSetup, ThePreviewComesBeforeThePrinter) {
    PrintJob job;
    printing::PrintContext &context = job.context;
    context.preview = true;
    int drawnOnPreview = 0, printedElsewhere = 0;
    QTimer::singleShot(0, [&] {
        auto *setup = qobject_cast<yzcsetup *>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        inPreview(u"Kapat"_s, [](QDialog &preview) {
            EXPECT_EQ(preview.findChild<QPrintPreviewWidget *>()->pageCount(), 2);
        });
        // To the printer, not a file (the file made the screen's Tamam usable
        // on a machine without a printer).
        context.pdfFile.clear();
        setup->okButton()->click();
    });
    EXPECT_TRUE(printing::printWithSetup(
        context, nullptr, [](printing::PrinterSettings &s) { s.dotMatrix = false; },
        [&] {
            ++(context.target ? drawnOnPreview : printedElsewhere);
            prnx p(context);
            ASSERT_TRUE(p.OpenPrinter(prnx::Grafik, u"iki sayfa"_s, true));
            for (int page = 0; page < 2; ++page) {
                p.YeniSayfa();
                p.Lprint(u"Sayfa"_s, 10, true);
                p.SayfaBitti(true);
            }
            p.ClosePrinter();
        }));
    EXPECT_GT(drawnOnPreview, 0);
    EXPECT_EQ(printedElsewhere, 0); // closed: nothing on paper

    const QString marker = job.dir.filePath(u"printed"_s);
    const QString script = job.dir.filePath(u"dotyaz"_s);
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\ncp \"$1\" \"" + marker.toUtf8() + "\"\n");
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    qputenv("KOOP_DOTYAZ", script.toUtf8());
    context.dotMatrixCopy.clear();
    context.settings.lineCount = 66;
    for (const QString &button : {u"Kapat"_s, u"Yazdır"_s}) {
        SCOPED_TRACE(button.toStdString());
        inPreview(button);
        prnx p(context);
        ASSERT_TRUE(p.OpenPrinter(prnx::DotMatrix, u"liste"_s, true));
        p.YeniSayfa();
        p.Lprint(u"Şükrü Öztürk"_s, 20, true, prnx::Sola, true);
        p.SayfaBitti(true);
        p.ClosePrinter();
        EXPECT_TRUE(p.failure().isEmpty()) << p.failure().toStdString();
        EXPECT_EQ(QFile::exists(marker), button == u"Yazdır"_s);
    }
    qunsetenv("KOOP_DOTYAZ");
    // The preview reads the job back as the printer prints it.
    const std::vector<printing::DosLine> lines = printing::fromDosJob(readAll(marker));
    ASSERT_GE(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, u"Şükrü Öztürk        "_s);
    EXPECT_TRUE(lines[0].bold[0]);
    EXPECT_EQ(lines.size(), 67u); // the form filled to 66 lines, then condensed off
}
