#include "printing/printwithsetup.h"
#include "printing/yzcsetup.h"
#include "printjob.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
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
