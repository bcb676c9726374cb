// The input field driven from the keyboard, as a clerk types, and the
// number entry it shares with the grid's cells.
#include "controls/gridwindow.h"
#include "controls/xtext.h"
#include "support/qtprint.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

struct Form {
    QWidget window;
    xtext *first = new xtext(&window);
    xtext *field = new xtext(&window);
    xtext *last = new xtext(&window);
    Form() {
        auto *l = new QVBoxLayout(&window);
        l->addWidget(first);
        l->addWidget(field);
        l->addWidget(last);
        window.show();
        field->setFocus();
        QApplication::processEvents();
    }
    void type(const QString &keys) {
        for (QChar c : keys)
            QTest::keyClick(field, c.toLatin1());
    }
};

// The same keys typed into the digit buffer alone, into a grid's number cell
// and into a number field: what the buffer keeps, how many keys it refused
// (each one beeps) and what is shown. Every key raises the field's Change.
TEST(NumberEntry, DigitBufferGridCellAndFieldAgree) {
    struct Case {
        double max;
        int decimals;
        QString keys, buffer, shown;
        int refused;
    } cases[] = {
        {1e9, 2, "1+", "1000", "1,000.00", 0},
        {1e9, 2, ",5", ".5", ".50", 0},
        {1e9, 2, "1234,5", "1234.5", "1,234.50", 0},
        {1e9, 2, "1.2.3", "1.23", "1.23", 0},
        {1e9, 0, "12,5", "125", "125", 0},
        {999, 0, "1234", "123", "123", 1},
        {1e9, 2, "12x3", "123", "123.00", 1},
        {1e9, 2, "123\b\b4", "14", "14.00", 0},
        {0, 0, "0", "0", "", 0},
        {0, 0, "7", "", "", 1},
    };
    for (const Case &c : cases) {
        const std::string what = c.keys.toStdString();
        entry::DigitBuffer b;
        b.maximum = c.max;
        b.decimals = c.decimals;
        int refused = 0;
        for (QChar k : c.keys)
            refused += b.type(k) == entry::DigitBuffer::Result::Refused;
        EXPECT_EQ(b.text, c.buffer) << what;
        EXPECT_EQ(refused, c.refused) << what;

        GridWindow g;
        g.grid->Add("N", "tutar", "Tutar", 100, c.max, 0, c.decimals, 3);
        g.editRow();
        g.type(c.keys);
        EXPECT_EQ(g.grid->Text(0), c.buffer) << what;
        EXPECT_EQ(g.editorText(), c.shown) << what;

        Form f;
        f.field->xTextBicim(xtext::Sayi, c.max, Qt::AlignRight, 0, c.decimals, 3);
        QSignalSpy changes(f.field, &xtext::Change);
        f.type(c.keys);
        EXPECT_EQ(f.field->text(), c.shown) << what;
        EXPECT_EQ(f.field->Value().toDouble(), c.buffer.toDouble()) << what;
        EXPECT_EQ(changes.count(), c.keys.size()) << what;
    }
}

// Typing dots with their digits, and a wrong date on leaving, are driven
// through the fields themselves below and in the grid's tests.
TEST(DateEntry, BackspaceTakesTheDotWithItsDigit) {
    EXPECT_EQ(entry::dateBackspace("05."), "0");
    EXPECT_EQ(entry::dateBackspace("05.03.2"), "05.03.");
    EXPECT_EQ(entry::dateOnLeaving("01.03.2026"), "01.03.2026");
    EXPECT_EQ(entry::dateToolTip("01.03.2026"), " 01 Mart 2026 Pazar ");
    EXPECT_EQ(entry::dateToolTip("1.3"), " Hatalı Tarih ");
}

// Entering a field starts a fresh entry: the first typed character replaces
// the old number or date. Keys that type nothing leave both as they are and
// raise no Change; Delete empties the number.
TEST(Xtext, OnlyTypedKeysReachTheNumberAndTheDate) {
    const auto shiftTab = QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab);
    struct Case {
        int kind;
        QString old;
        QList<QKeyCombination> keys;
        QString text, value;
        int changes;
    } cases[] = {
        {xtext::Sayi, "250", {Qt::Key_7}, "7", "7", 1},
        {xtext::Sayi, "250", {Qt::Key_F2, Qt::Key_7, Qt::Key_Plus}, "7,000", "7000", 2},
        {xtext::Sayi, "250", {Qt::Key_Home, Qt::Key_End, Qt::Key_F2}, "250", "250", 0},
        {xtext::Sayi, "250", {shiftTab}, "250", "250", 0},
        {xtext::Sayi, "250", {Qt::Key_Delete}, "", "0", 1},
        {xtext::Tarih, "01.03.2026", {Qt::Key_F2}, "01.03.2026", "01.03.2026", 0},
        {xtext::Tarih, "01.03.2026", {shiftTab}, "01.03.2026", "01.03.2026", 0},
        {xtext::Tarih, "01.03.2026", {Qt::Key_Shift, Qt::Key_0, Qt::Key_5}, "05.", "05.", 2},
    };
    for (const Case &c : cases) {
        Form f;
        f.field->xTextBicim(c.kind, 1e9, Qt::AlignRight, 0, 0, 3);
        f.field->setValue(c.old);
        f.first->setFocus();
        f.field->setFocus();
        QApplication::processEvents();
        QSignalSpy changes(f.field, &xtext::Change);
        for (const QKeyCombination k : c.keys)
            QTest::keyClick(f.field, k.key(), k.keyboardModifiers());
        const std::string what = c.old.toStdString() + " " + std::to_string(c.keys.size());
        EXPECT_EQ(f.field->text(), c.text) << what;
        EXPECT_EQ(f.field->Value().toString(), c.value) << what;
        EXPECT_EQ(changes.count(), c.changes) << what;
    }
}

TEST(Xtext, DateFieldPutsDotsAndChecksOnLeaving) {
    Form f;
    f.field->setTextTip(xtext::Tarih);
    f.field->setTextValue("01.01.2026");
    f.first->setFocus();
    f.field->setFocus();
    QApplication::processEvents();
    f.type("3102");
    EXPECT_EQ(f.field->text(), "31.02.");
    f.type("2026");
    EXPECT_EQ(f.field->toolTip(), " Hatalı Tarih ");
    QTest::keyClick(f.field, Qt::Key_Return); // on to the next field
    EXPECT_TRUE(f.last->hasFocus());
    EXPECT_EQ(f.field->text(), "??.??.????");
}

TEST(Xtext, EnterDownAndUpMoveBetweenFields) {
    Form f;
    QTest::keyClick(f.field, Qt::Key_Down);
    EXPECT_TRUE(f.last->hasFocus());
    QTest::keyClick(f.last, Qt::Key_Up);
    EXPECT_TRUE(f.field->hasFocus());
    QTest::keyClick(f.field, Qt::Key_Up);
    EXPECT_TRUE(f.first->hasFocus());
}

TEST(Xtext, TextFieldKeepsItsLengthAndRaisesKeyDown) {
    Form f;
    f.field->setMaxLenght(4);
    QSignalSpy keys(f.field, &xtext::KeyDown);
    f.type("ab'%cd");
    EXPECT_EQ(f.field->text(), "ab'%");
    EXPECT_EQ(keys.count(), 6);
    f.field->setTextTip(7); // unknown kinds read back as text
    EXPECT_EQ(f.field->TextTip(), int(xtext::Metin));
}

} // namespace
