#include "printing/yzcsetup.h"
#include "printjob.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

QStringList items(const QComboBox *box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

std::vector<bool> checks(const yzcsetup &screen) {
    return {screen.titleCheck()->isChecked(), screen.dateCheck()->isChecked(),
            screen.pageNoCheck()->isChecked(), screen.companyCheck()->isChecked()};
}

} // namespace

TEST(Yzcsetup, WithoutAPrinterOnlyAPdfFileCanBeChosen) {
    if (printing::PrintContext::systemHasPrinter())
        GTEST_SKIP() << "a printer is installed";
    PrintJob s;
    s.context.pdfFile.clear();
    s.context.settings.title = QStringLiteral("Borç Listesi");
    s.context.settings.confirmed = true;
    yzcsetup screen(s.context);
    EXPECT_FALSE(s.context.settings.confirmed);
    EXPECT_EQ(screen.printerLabel()->text(),
              QStringLiteral("Seçili Yazıcı Yok... Yazıcı Yükleyiniz."));
    EXPECT_FALSE(screen.okButton()->isEnabled());
    EXPECT_FALSE(screen.choosePrinterButton()->isEnabled());
    EXPECT_TRUE(screen.pdfButton()->isEnabled());
    EXPECT_EQ(screen.titleBox()->text(), QString()); // loading stopped at the printer
    EXPECT_EQ(items(screen.copiesBox()), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(items(screen.lineCountBox()), QStringList({"22", "33", "44", "66", "70"}));
    EXPECT_EQ(screen.lineCountBox()->currentText(), QStringLiteral("66"));
    EXPECT_EQ(screen.copiesBox()->currentText(), QStringLiteral("1"));

    screen.choosePdfFile(QStringLiteral("/tmp/rapor.pdf"));
    EXPECT_EQ(screen.printerLabel()->text(), QStringLiteral("PDF: /tmp/rapor.pdf"));
    EXPECT_TRUE(screen.okButton()->isEnabled());
    EXPECT_EQ(screen.titleBox()->text(), QStringLiteral("Borç Listesi"));
    EXPECT_EQ(s.context.pdfFile, QStringLiteral("/tmp/rapor.pdf"));
}

TEST(Yzcsetup, LoadsTheRecordIntoTheControls) {
    const struct {
        quint8 orientation, lineCount, copies;
        bool dotMatrix;
        bool portrait;
        const char *lineText;
        int copiesIndex;
    } cases[] = {
        {1, 66, 1, true, true, "66", 0},
        {0, 44, 3, false, false, "44", 2},
        {2, 75, 5, false, false, "75", 4},
        {1, 0, 0, true, true, "0", -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.lineCount));
        PrintJob s;
        auto &r = s.context.settings;
        r = {QStringLiteral("Hazirun Cetveli"),
             true,
             false,
             true,
             false,
             c.orientation,
             c.lineCount,
             c.copies,
             true,
             c.dotMatrix};
        yzcsetup screen(s.context);
        EXPECT_EQ(screen.titleBox()->text(), QStringLiteral("Hazirun Cetveli"));
        EXPECT_EQ(checks(screen), (std::vector<bool>{true, false, true, false}));
        EXPECT_EQ(screen.portraitOption()->isChecked(), c.portrait);
        EXPECT_EQ(screen.landscapeOption()->isChecked(), !c.portrait);
        EXPECT_EQ(screen.lineCountBox()->currentText(), QString::fromLatin1(c.lineText));
        EXPECT_EQ(screen.copiesBox()->currentIndex(), c.copiesIndex);
        EXPECT_EQ(screen.dotMatrixOption()->isChecked(), c.dotMatrix);
        // Dot-matrix pages have a line count; graphic pages an orientation.
        EXPECT_EQ(screen.lineCountBox()->isEnabled(), c.dotMatrix);
        EXPECT_EQ(screen.portraitOption()->isEnabled(), !c.dotMatrix);
        EXPECT_EQ(screen.landscapeOption()->isEnabled(), !c.dotMatrix);
        EXPECT_FALSE(r.confirmed);
    }
}

TEST(Yzcsetup, TamamStoresTheChoices) {
    PrintJob s;
    s.context.settings.orientation = 1;
    s.context.settings.lineCount = 66;
    s.context.settings.copies = 1;
    yzcsetup screen(s.context);
    screen.dotMatrixOption()->setChecked(true);
    EXPECT_TRUE(screen.lineCountBox()->isEnabled());
    screen.lineCountBox()->setCurrentIndex(2); // "44"
    screen.copiesBox()->setCurrentIndex(1);
    screen.landscapeOption()->setChecked(true);
    screen.titleCheck()->setChecked(true);
    screen.companyCheck()->setChecked(true);
    screen.titleBox()->setText(QStringLiteral("Genel Borç Alacak Listesi"));
    screen.okButton()->click();

    const printing::PrinterSettings &r = s.context.settings;
    EXPECT_EQ(screen.result(), int(QDialog::Accepted));
    EXPECT_TRUE(r.confirmed);
    EXPECT_TRUE(r.dotMatrix);
    EXPECT_EQ(int(r.mode()), 2);
    EXPECT_EQ(int(r.lineCount), 44);
    EXPECT_EQ(int(r.copies), 2);
    EXPECT_EQ(int(r.orientation), 2);
    EXPECT_EQ(r.title, QStringLiteral("Genel Borç Alacak Listesi"));
    EXPECT_EQ((std::vector<bool>{r.printTitle, r.printDate, r.printPageNo, r.printCompany}),
              (std::vector<bool>{true, false, false, true}));
}

TEST(Yzcsetup, VazgecLeavesTheRecordUnconfirmed) {
    PrintJob s;
    s.context.settings.lineCount = 33;
    s.context.settings.copies = 2;
    s.context.settings.confirmed = true;
    yzcsetup screen(s.context);
    screen.lineCountBox()->setCurrentIndex(0);
    screen.titleBox()->setText(QStringLiteral("değişmez"));
    screen.cancelButton()->click();
    EXPECT_EQ(screen.result(), int(QDialog::Rejected));
    EXPECT_FALSE(s.context.settings.confirmed);
    EXPECT_EQ(int(s.context.settings.lineCount), 33);
    EXPECT_EQ(int(s.context.settings.copies), 2);
    EXPECT_EQ(s.context.settings.title, QString());
}
