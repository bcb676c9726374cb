// The grid in edit mode, driven from the keyboard as a clerk types: number
// and date entry, the condition kinds with their messages, the modes and the
// events they raise.
#include "controls/gridwindow.h"
#include "startup/base/daynumber.h"
#include "support/qtprint.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Form = GridWindow;

TEST(DclistEntry, NumberCellTakesDigitsThroughItsBuffer) {
    struct Case {
        double max;
        int decimals;
        QString keys, buffer, shown;
    } cases[] = {
        {1e9, 2, "1+", "1000", "1,000.00"},       {1e9, 2, ",5", ".5", ".50"},
        {1e9, 2, "1234,5", "1234.5", "1,234.50"}, {1e9, 0, "12,5", "125", "125"},
        {999, 0, "1234", "123", "123"},           {1e9, 2, "12x3", "123", "123.00"},
        {1e9, 2, "123\b\b4", "14", "14.00"},      {0, 0, "7", "", ""},
    };
    for (const Case &c : cases) {
        Form f;
        f.grid->Add("N", "tutar", "Tutar", 100, c.max, 0, c.decimals, 3);
        f.editRow();
        ASSERT_EQ(f.grid->CurrentCol(), 0);
        f.type(c.keys);
        EXPECT_EQ(f.grid->Text(0), c.buffer) << c.keys.toStdString();
        EXPECT_EQ(f.editorText(), c.shown) << c.keys.toStdString();
    }
}

// Rows "a" 250, "b" 0, "c" 10; each case sets the grid up, acts, and
// compares the events raised (KeyDown aside) and the state after.
TEST(DclistCases, KeysClicksSearchAndSortInEachMode) {
    const auto edit = [](int col) {
        return [col](Form &f) {
            f.grid->ChngMode(1, 0);
            f.grid->ChngMode(2, 0);
            f.grid->AlanDegisti(col);
        };
    };
    const auto lastRow = [](Form &f) {
        f.grid->setOtoIncrement(true);
        f.grid->ChngMode(1, 2);
    };
    const auto clickHeader = [](Form &f) {
        const QHeaderView *h = f.grid->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(1) + 5, h->height() / 2));
    };
    struct Case {
        const char *what;
        std::function<void(Form &)> setup, act;
        QStringList events;
        QString state; // mode, cursor, editor row | buffers | the rows' names
    } cases[] = {
        {"a digit goes on after the number",
         edit(1),
         [](Form &f) { f.type("7"); },
         {},
         "2 0 0 | a 2507 | a b c"},
        {"Backspace on an empty buffer starts a fresh number",
         edit(1),
         [](Form &f) { f.type("\b\b\b\b+7"); },
         {},
         "2 0 0 | a 7 | a b c"},
        {"Down on the last row",
         lastRow,
         [](Form &f) { f.key(Qt::Key_Down); },
         {},
         "1 2 - | c 10 | a b c"},
        {"MoveNext past the last row",
         lastRow,
         [](Form &f) { f.grid->MoveNext(); },
         {"SatirChange 3"},
         "1 3 - |   | a b c "},
        {"a click on a passive grid",
         [](Form &) {},
         [](Form &f) {
             QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {},
                               f.grid->visualRect(f.grid->model()->index(2, 1)).center());
         },
         {"SatirChange 2", "MouseDown 1 1 2"},
         "0 2 - | c 10 | a b c"},
        {"search without a hit while typing",
         edit(0),
         [](Form &f) {
             f.type("x");
             f.grid->FindByName("ad", "q", 0);
         },
         {},
         "2 0 - | x 250 | a b c"},
        {"search with a hit while typing",
         edit(0),
         [](Form &f) {
             f.type("x");
             f.grid->FindByName("ad", "c", 0);
         },
         {"SatirChange 2"},
         "2 2 - | c 10 | a b c"},
        {"header click while typing",
         [&](Form &f) {
             f.grid->setSort(true);
             edit(0)(f);
         },
         [&](Form &f) {
             f.type("x");
             clickHeader(f);
         },
         {},
         "2 2 2 | x 250 | b c a"},
    };
    for (const Case &c : cases) {
        Form f;
        f.fill({"a", "b", "c"}, {250, 0, 10});
        QApplication::processEvents();
        c.setup(f);
        EventLog log(f.grid);
        c.act(f);
        QApplication::processEvents();
        QStringList names;
        for (int r = 0; r < f.grid->ListCount(); ++r)
            names << f.grid->Caption(r, 0).toString();
        const QLineEdit *e = f.grid->editor();
        const QString state =
            QStringLiteral("%1 %2 %3 | %4 %5 | %6")
                .arg(f.grid->CurrentMode())
                .arg(f.grid->CurSat())
                .arg(e ? QString::number(f.grid->indexAt(e->geometry().center()).row()) : "-")
                .arg(f.grid->Text(0), f.grid->Text(1), names.join(u' '));
        EXPECT_EQ(log.take().filter(QRegularExpression("^(?!KeyDown)")), c.events) << c.what;
        EXPECT_EQ(state, c.state) << c.what;
    }
}

TEST(DclistEntry, QuoteRepeatsTheCellAbove) {
    Form f;
    f.grid->Add("N", "tutar", "Tutar", 100, 1e9, 0, 2, 3);
    f.grid->Add("A", "ack", "Açıklama", 150, 20);
    f.grid->CreateNewCaption();
    f.grid->setCaption(0, 0, 42.5);
    f.grid->setCaption(0, 1, "Ocak aidatı");
    f.editRow(5, 4);
    f.grid->setCaption(3, 0, 7.0);
    f.grid->setCaption(3, 1, "Şubat");
    f.type("\"");
    EXPECT_EQ(f.grid->Text(0), "7");
    EXPECT_EQ(f.editorText(), "7.00");
    f.key(Qt::Key_Return);
    f.type("\"");
    EXPECT_EQ(f.grid->Text(1), "Şubat");
    EXPECT_EQ(f.editorText(), "Şubat");

    // In row 0 the quote is ignored in a number cell and typed in a text cell.
    Form g;
    g.grid->Add("N", "tutar", "Tutar", 100, 1e9, 0, 2, 3);
    g.grid->Add("A", "ack", "Açıklama", 150, 20);
    g.editRow();
    g.type("\"");
    EXPECT_EQ(g.grid->Text(0), "");
    EXPECT_EQ(g.editorText(), "");
    g.key(Qt::Key_Return);
    g.type("\"");
    EXPECT_EQ(g.grid->Text(1), "\"");
}

TEST(DclistEntry, DateConditionKinds) {
    const QString holiday = "Korvane|information|Tatil gününe denk gelen tarih girdiniz.\n"
                            "   07 Mart 2026 Cumartesi";
    const QString wrong = "Korvane|warning|Hatalı Tarih Girildi.\nDüzeltiniz.";
    const QString today = formatTrDate(QDate::currentDate());
    struct Case {
        int kind;
        QString typed;
        QStringList boxes;
        int columnAfter; // 0 stays in the cell
        QString buffer;
    } cases[] = {
        {0, "07032026", {holiday}, 1, "07.03.2026"},
        {0, "31022026", {}, 1, ""},
        {1, "07032026", {holiday}, 1, "07.03.2026"},
        {1, "31022026", {wrong}, 0, "31.02.2026"},
        {4, "07032026", {}, 1, "07.03.2026"},
        {4, "31022026", {wrong}, 0, "31.02.2026"},
        {5, "07032026", {}, 1, "07.03.2026"},
        {5, "31022026", {}, 1, ""},
        {6, "09032026", {}, 0, "09.03.2026"}, // Enter raises OnKosulVar instead
        {2, "07032026", {holiday}, 1, "07.03.2026"},
        // Dots come with their digits and go with Backspace; other keys and
        // digits past the year are dropped.
        {5, "0503\b3x20261", {}, 1, "05.03.2026"},
        {5, "05", {}, 1, "05" + today.mid(2)}, // a part date is completed from today
    };
    for (const Case &c : cases) {
        Form f;
        f.grid->Add("T", "vade", "Vade", 90, 10, c.kind);
        f.grid->Add("A", "ack", "Açıklama", 150, 20);
        f.editRow();
        f.type(c.typed);
        f.key(Qt::Key_Return);
        const std::string what = QString("kind %1 %2").arg(c.kind).arg(c.typed).toStdString();
        EXPECT_EQ(f.boxes(), c.boxes) << what;
        EXPECT_EQ(f.grid->CurrentCol(), c.columnAfter) << what;
        EXPECT_EQ(f.grid->Text(0), c.buffer) << what;
        if (c.columnAfter == 0 && c.kind != 6) {
            EXPECT_EQ(f.grid->editor()->selectedText(), c.buffer) << what;
        }
    }
}

TEST(DclistConditions, EmptyTextAndZeroNumberAreRefused) {
    Form f;
    f.grid->Add("A", "kod", "Kod", 90, 8, 3);
    f.grid->Add("N", "tutar", "Tutar", 100, 1e9, 2, 2, 3);
    f.grid->Add("A", "ack", "Açıklama", 150, 20);
    f.editRow();
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.messages.lastText(), "En Az Bir Harf Girmelisiniz.");
    EXPECT_EQ(f.messages.boxes.back().icon, Messages::Icon::Warning);
    EXPECT_EQ(f.grid->CurrentCol(), 0);
    f.type("K1");
    f.key(Qt::Key_Down);
    EXPECT_EQ(f.grid->CurrentCol(), 1);
    f.type("0");
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.messages.lastText(), "Bir Sayi Girmelisiniz.");
    EXPECT_EQ(f.grid->CurrentCol(), 1);
    EXPECT_EQ(f.messages.boxes.size(), 2u);
    f.type("12");
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.grid->CurrentCol(), 2);
    EXPECT_EQ(f.messages.boxes.size(), 2u);
}

TEST(DclistConditions, LookupCellAsksTheOwner) {
    Form f;
    f.grid->Add("A", "kod", "Kod", 90, 15, 6);
    f.grid->Add("A", "isim", "Ad", 150, 35);
    f.editRow();
    EventLog log(f.grid);
    f.type("01");
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.grid->CurrentCol(), 0);
    const QStringList events = log.take();
    EXPECT_EQ(events.filter("OnKosulVar"),
              QStringList({"OnKosulVar 0 KOD 01", "OnKosulVar 0 KOD 01"}));
    f.grid->OnKosulReturn("0123");
    EXPECT_EQ(f.grid->Text(0), "0123");
    EXPECT_EQ(f.editorText(), "0123");
    f.grid->setTextByName("isim", "Ayşe Çelik");
    f.grid->AlanDegisti(101);
    EXPECT_EQ(f.grid->CurrentCol(), 1);
    EXPECT_EQ(f.editorText(), "Ayşe Çelik");
    EXPECT_EQ(log.take(), QStringList({"AlanChanged 1"}));
}

TEST(DclistModes, BrowseEditAndBackRaiseTheirEvents) {
    Form f;
    f.grid->Add("M", "kod", "Kod", 90, 8);
    f.grid->Add("N", "fiat1", "Fiyat1", 120, 999999999, 0, 2, 3);
    f.grid->Add("S", "tip", "Tip", 40, 0);
    f.grid->Add("B", "kalan", "Kalan", 90, 0, 0, 2, 3);
    for (int i = 0; i < 3; ++i)
        f.grid->CreateNewCaption();
    f.grid->setCaption(1, 0, "00002");
    EventLog log(f.grid);
    QObject::connect(f.grid, &dclist::UpdateData, f.grid,
                     [&](int row) { f.grid->OkUpdateData(row); });

    f.grid->ChngMode(1, 1);
    EXPECT_EQ(f.grid->CurrentMode(), 1);
    EXPECT_EQ(f.grid->CurSat(), 1);
    EXPECT_EQ(f.grid->TextByName("KOD"), "00002");
    EXPECT_EQ(log.take(), QStringList({"ChangeEditMode false", "SatirChange 1"}));

    f.grid->ChngMode(2, 1);
    EXPECT_EQ(f.grid->CurrentMode(), 2);
    EXPECT_EQ(f.grid->CurrentCol(), 1); // M is skipped
    EXPECT_EQ(log.take(), QStringList({"ChangeEditMode true", "AlanChanged 1"}));

    f.type("1+");
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.grid->CurrentCol(), 2);
    f.type("xyz");
    EXPECT_EQ(f.grid->Text(2), "xyz");
    f.key(Qt::Key_Return); // past B: the row is finished
    EXPECT_EQ(f.grid->CurrentMode(), 1);
    EXPECT_EQ(f.grid->CurrentCol(), 0);
    EXPECT_EQ(log.take(), QStringList({"KeyDown 49 0 1", "KeyDown 43 0 1", "AlanChanged 2",
                                       "KeyDown 88 0 1", "KeyDown 89 0 1", "KeyDown 90 0 1",
                                       "ChangeEditMode false", "SatirChange 1", "UpdateData 1"}));
    EXPECT_EQ(f.grid->Caption(1, 1), QVariant(1000.0));
    EXPECT_EQ(f.grid->Caption(1, 2), QVariant(QString("x")));
    EXPECT_EQ(f.grid->Caption(1, 0), QVariant(QString("00002")));

    // Esc in the first editable column: back to browse without UpdateData.
    f.grid->ChngMode(2, 1);
    f.key(Qt::Key_Escape);
    EXPECT_EQ(f.grid->CurrentMode(), 1);
    EXPECT_EQ(log.take(), QStringList({"ChangeEditMode true", "AlanChanged 1",
                                       "ChangeEditMode false", "SatirChange 1"}));

    f.grid->ChngMode(0, 0);
    EXPECT_EQ(f.grid->CurrentMode(), 0);
    EXPECT_EQ(log.take(), QStringList());
}

TEST(DclistModes, RowOfShownColumnsOnlyGoesStraightToUpdateData) {
    Form f;
    f.grid->Add("M", "kod", "Kod", 90, 8);
    f.grid->Add("b", "kalan", "Kalan", 90, 0, 0, 2, 3);
    f.grid->CreateNewCaption();
    f.grid->ChngMode(1, 0);
    EventLog log(f.grid);
    f.grid->ChngMode(2, 0);
    EXPECT_EQ(f.grid->CurrentMode(), 1);
    EXPECT_EQ(log.take(), QStringList({"ChangeEditMode true", "ChangeEditMode false",
                                       "SatirChange 0", "UpdateData 0"}));
}

TEST(DclistModes, LockedGridAsksTheOwner) {
    Form f;
    f.grid->Add("A", "ack", "Açıklama", 150, 20);
    f.grid->CreateNewCaption();
    f.grid->CreateNewCaption();
    f.grid->ChngMode(1, 1);
    f.grid->setLocked(true);
    f.grid->setEditable(true);
    EventLog log(f.grid);
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.grid->CurrentMode(), 1);
    EXPECT_EQ(log.take(), QStringList({"isLocked 1"}));
    f.grid->LockedReturn(true);
    EXPECT_EQ(f.grid->CurrentMode(), 2);
    EXPECT_EQ(f.grid->CurSat(), 1);
    EXPECT_EQ(log.take(), QStringList({"ChangeEditMode true", "AlanChanged 0"}));
}

TEST(DclistModes, CellLockLeavesOnlyEnterDownAndEsc) {
    Form f;
    f.grid->Add("A", "kod", "Kod", 90, 8);
    f.grid->Add("A", "ack", "Açıklama", 150, 20);
    f.grid->CreateNewCaption();
    f.grid->setCaption(0, 0, "K1");
    QObject::connect(f.grid, &dclist::AlanChanged, f.grid,
                     [&](int col) { f.grid->setCellLock(col == 0); });
    f.editRow(0);
    ASSERT_TRUE(f.grid->editor());
    EXPECT_TRUE(f.grid->editor()->isReadOnly());
    f.type("zz");
    f.key(Qt::Key_Up);
    EXPECT_EQ(f.grid->Text(0), "K1");
    EXPECT_EQ(f.grid->CurrentMode(), 2);
    f.key(Qt::Key_Down);
    EXPECT_EQ(f.grid->CurrentCol(), 1);
    EXPECT_FALSE(f.grid->editor()->isReadOnly());
    f.type("ab");
    EXPECT_EQ(f.grid->Text(1), "ab");
}

TEST(DclistModes, EditableGridStartsEditingFromTheKeyboard) {
    Form f;
    f.grid->Add("A", "ack", "Açıklama", 150, 20);
    f.grid->setEditable(true);
    f.grid->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(f.grid->CurrentMode(), 1); // the focus wakes a passive grid
    f.type("k");
    EXPECT_EQ(f.grid->CurrentMode(), 2);
    EXPECT_EQ(f.editorText(), "k");
    EXPECT_EQ(f.grid->ListCount(), 0);
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.grid->CurrentMode(), 1);
    f.grid->OkUpdateData(-1);
    EXPECT_EQ(f.grid->ListCount(), 1);
    EXPECT_EQ(f.grid->Caption(0, 0), QVariant(QString("k")));

    // Without Editable the same key goes to the owner.
    f.grid->setEditable(false);
    QSignalSpy keys(f.grid, &dclist::KeyDown);
    f.key(Qt::Key_F5, Qt::ShiftModifier); // QTest presses Shift first
    f.type("k");
    ASSERT_EQ(keys.count(), 3);
    EXPECT_EQ(keys.at(0), QVariantList({int(Qt::Key_Shift), 1, 0}));
    EXPECT_EQ(keys.at(1), QVariantList({int(Qt::Key_F5), 1, 0}));
    EXPECT_EQ(keys.at(2), QVariantList({int(Qt::Key_K), 0, 0}));
    EXPECT_EQ(f.grid->CurrentMode(), 1);
}

TEST(DclistModes, SetTextWritesIntoTheOpenEditor) {
    Form f;
    f.grid->Add("N", "tutar", "Tutar", 100, 1e9, 0, 2, 3);
    f.editRow();
    f.grid->setTextByName("TUTAR", "1234.5");
    EXPECT_EQ(f.editorText(), "1,234.50");
    EXPECT_EQ(f.grid->editor()->cursorPosition(), 8);
    f.type("6");
    EXPECT_EQ(f.grid->Text(0), "1234.56");
    EXPECT_EQ(f.grid->TextByName("nothing"), "");
}

// The way an entry screen keeps typing rows: in UpdateData it stores the
// row, moves on (OtoIncrement appends) and edits the next one.
TEST(DclistModes, EntryScreenTypesRowAfterRow) {
    Form f;
    f.grid->Add("A", "ack", "Açıklama", 150, 20, 3);
    f.grid->Add("N", "tutar", "Tutar", 100, 1e9, 2, 2, 3);
    f.grid->setEditable(true);
    f.grid->setOtoIncrement(true);
    QObject::connect(f.grid, &dclist::UpdateData, f.grid, [&](int row) {
        f.grid->OkUpdateData(row);
        f.grid->MoveNext();
        f.grid->ChngMode(2, f.grid->CurSat());
    });
    f.grid->ChngMode(1, 0);
    f.key(Qt::Key_Return);
    for (const char *row : {"Ocak", "Şubat", "Mart"}) {
        f.grid->editor()->insert(QString::fromUtf8(row));
        f.key(Qt::Key_Return);
        f.type("150");
        f.key(Qt::Key_Return);
    }
    EXPECT_EQ(f.grid->CurrentMode(), 2);
    EXPECT_EQ(f.grid->CurSat(), 3);
    EXPECT_EQ(f.grid->ListCount(), 4); // the row now being typed was appended
    f.key(Qt::Key_Escape);
    EXPECT_EQ(f.grid->CurrentMode(), 1);
    EXPECT_EQ(f.grid->Caption(2, 0).toString(), "Mart");
    EXPECT_EQ(f.grid->Caption(1, 1), QVariant(150.0));
    EXPECT_TRUE(f.messages.boxes.empty());
}

TEST(DclistModes, FlashDrawsTheBuffersTheOwnerChanged) {
    Form f;
    f.grid->Add("A", "kod", "Kod", 90, 15);
    f.grid->Add("A", "isim", "Ad", 150, 35);
    f.grid->CreateNewCaption();
    f.grid->ChngMode(1, 0);
    f.grid->setTextByName("isim", "Ayşe");
    QApplication::processEvents();
    const QModelIndex name = f.grid->model()->index(0, 1);
    EXPECT_EQ(name.data().toString(), "");
    f.grid->Flash();
    EXPECT_EQ(name.data().toString(), "Ayşe");
    EXPECT_FALSE(f.grid->Caption(0, 1).isValid()); // the row itself is unchanged
    f.grid->OkUpdateData(-1);
    EXPECT_EQ(f.grid->Caption(0, 1).toString(), "Ayşe");
}

} // namespace
