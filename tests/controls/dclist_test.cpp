// The grid driven as a clerk and the owning screen drive it: keys, clicks and
// the owner's answers in each mode, the condition kinds with their messages,
// and the events each step raises.
#include "base/daynumber.h"
#include "controls/gridwindow.h"
#include "support/qtprint.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Form = GridWindow;

// The steps of the cases below: what a clerk or the owning screen does.
using Step = std::function<void(Form &)>;
Step steps(const std::vector<Step> &list) {
    return [list](Form &f) {
        for (const Step &s : list)
            s(f);
    };
}
Step typing(const QString &keys) {
    return [keys](Form &f) { f.type(keys); };
}
Step press(Qt::Key key) {
    return [key](Form &f) { f.key(key); };
}
Step browse(int row) {
    return [row](Form &f) { f.grid->ChngMode(1, row); };
}
Step edit(int col, int row = 0) {
    return [col, row](Form &f) {
        f.grid->ChngMode(1, row);
        f.grid->ChngMode(2, row);
        f.grid->AlanDegisti(col);
    };
}
Step find(const char *text) {
    return [text](Form &f) { f.grid->FindByName("ad", text, 0); };
}
Step answerDelete(bool confirm) {
    return [confirm](Form &f) { f.grid->OperasyonDeleteReturn(confirm, 1); };
}

// Rows "a" 250, "b" 0, "c" 10; each case sets the grid up, acts, and
// compares the events raised (KeyDown aside) and the state after, down to
// the rows the view shows.
TEST(DclistCases, KeysClicksAndOwnerCallsInEachMode) {
    const Step lastRow = [](Form &f) {
        f.grid->setOtoIncrement(true);
        f.grid->ChngMode(1, 2);
    };
    const Step lockFirstCell = [](Form &f) {
        QObject::connect(f.grid, &dclist::AlanChanged, f.grid,
                         [&f](int col) { f.grid->setCellLock(col == 0); });
    };
    const Step lockGrid = [](Form &f) {
        f.grid->setLocked(true);
        f.grid->setEditable(true);
    };
    const Step lookup = [](Form &f) { f.grid->setKosul(0, 6); };
    const Step shiftF5 = [](Form &f) { f.key(Qt::Key_F5, Qt::ShiftModifier); };
    const auto click = [](Qt::MouseButton button) -> Step {
        return [button](Form &f) {
            QTest::mouseClick(f.grid->viewport(), button, {},
                              f.grid->visualRect(f.grid->model()->index(2, 1)).center());
        };
    };
    const Step doubleClick = [](Form &f) {
        QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {},
                           f.grid->visualRect(f.grid->model()->index(2, 1)).center());
    };
    const Step editable = [](Form &f) { f.grid->setEditable(true); };
    const Step clickHeader = [](Form &f) {
        const QHeaderView *h = f.grid->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(1) + 5, h->height() / 2));
    };
    const Step freedRowIsEmpty = [](Form &f) {
        EXPECT_FALSE(f.grid->Caption(2, 0).isValid()) << "the freed last row keeps its cell";
    };
    struct Case {
        const char *what;
        Step setup, act;
        QString events; // joined by ", "; KeyDown only where a case names it
        // mode, cursor, editor row 'text' | buffers | the rows' names (view rows)
        QString state;
    } cases[] = {
        {"a digit goes on after the number", edit(1), typing("7"), "",
         "2 0 0 '2,507.00' | a 2507 | a b c (3)"},
        {"Backspace on an empty buffer starts a fresh number", edit(1), typing("\b\b\b\b+7"), "",
         "2 0 0 '7.00' | a 7 | a b c (3)"},
        {"a locked cell is read-only and takes no Up", steps({lockFirstCell, edit(0)}),
         steps({typing("zz"), press(Qt::Key_Up)}), "", "2 0 0 'a' read-only | a 250 | a b c (3)"},
        {"Down leaves a locked cell for an open one", steps({lockFirstCell, edit(0)}),
         steps({press(Qt::Key_Down), typing("5")}), "AlanChanged 1",
         "2 0 0 '2,505.00' | a 2505 | a b c (3)"},
        {"Enter on a locked grid asks the owner, who allows the edit", steps({browse(1), lockGrid}),
         steps({press(Qt::Key_Return), [](Form &f) { f.grid->LockedReturn(true); }}),
         "isLocked 1, ChangeEditMode true, AlanChanged 0", "2 1 1 'b' | b 0 | a b c (3)"},
        {"Enter on a locked grid asks the owner, who refuses the edit",
         steps({browse(1), lockGrid}),
         steps({press(Qt::Key_Return), [](Form &f) { f.grid->LockedReturn(false); }}), "isLocked 1",
         "1 1 - | b 0 | a b c (3)"},
        {"a quote repeats the text cell above", edit(0, 2), typing("\""), "",
         "2 2 2 'b' | b 10 | a b c (3)"},
        {"a quote repeats the amount above into an empty number cell", edit(1, 1), typing("\""), "",
         "2 1 1 '250.00' | b 250 | a b c (3)"},
        {"a quote in the first row is typed in a text cell", edit(0), typing("\""), "",
         "2 0 0 '\"' | \" 250 | a b c (3)"},
        {"a quote in the first row is ignored in an empty number cell",
         steps({[](Form &f) { f.grid->setCaption(0, 1, QVariant()); }, edit(1)}), typing("\""), "",
         "2 0 0 '' | a  | a b c (3)"},
        {"Enter and Down in a lookup cell ask the owner, who answers", steps({lookup, edit(0)}),
         steps({typing("01"), press(Qt::Key_Down), press(Qt::Key_Return),
                [](Form &f) { f.grid->OnKosulReturn("0123"); }}),
         "OnKosulVar 0 AD 01, OnKosulVar 0 AD 01", "2 0 0 '0123' | 0123 250 | a b c (3)"},
        {"after a lookup the owner fills the next cell and moves on", steps({lookup, edit(0)}),
         [](Form &f) {
             f.grid->OnKosulReturn("0123");
             f.grid->setTextByName("tutar", "75");
             f.grid->AlanDegisti(101);
         },
         "AlanChanged 1", "2 0 0 '75.00' | 0123 75 | a b c (3)"},
        {"a row of shown columns only goes straight to UpdateData",
         steps({[](Form &f) { f.grid->setStyle("Mb"); }, browse(0)}),
         [](Form &f) { f.grid->ChngMode(2, 0); },
         "ChangeEditMode true, ChangeEditMode false, SatirChange 0, UpdateData 0",
         "1 0 - | a 250 | a b c (3)"},
        {"Down on the last row", lastRow, press(Qt::Key_Down), "", "1 2 - | c 10 | a b c (3)"},
        {"MoveNext past the last row", lastRow, [](Form &f) { f.grid->MoveNext(); },
         "SatirChange 3", "1 3 - |   | a b c  (4)"},
        {"Insert in browse mode empties a row at the cursor", browse(1), press(Qt::Key_Insert),
         "SatirChange 1", "1 1 - |   | a  b c (4)"},
        {"Delete asks the owner, who refuses", browse(1),
         steps({press(Qt::Key_Delete), answerDelete(false)}), "OperasyonDelete 1",
         "1 1 - | b 0 | a b c (3)"},
        {"Delete asks the owner, who confirms", browse(1),
         steps({press(Qt::Key_Delete), answerDelete(true), freedRowIsEmpty}), "OperasyonDelete 1",
         "1 1 - | c 10 | a c (2)"},
        {"the focus wakes a passive grid", [](Form &) {}, [](Form &f) { f.grid->setFocus(); },
         "ChangeEditMode false, SatirChange 0", "1 0 - | a 250 | a b c (3)"},
        {"a click on a passive grid", [](Form &) {}, click(Qt::LeftButton),
         "SatirChange 2, MouseDown 1 1 2", "0 2 - | c 10 | a b c (3)"},
        {"a right click in browse mode", browse(0), click(Qt::RightButton),
         "SatirChange 2, MouseDown 2 1 2", "1 2 - | c 10 | a b c (3)"},
        // KeyDown carries Qt's key codes (16777220 Return, 16777248 Shift,
        // 16777268 F5) and the shift state in Basic's bits.
        {"a double click is Enter for the owner", browse(2), doubleClick, "KeyDown 16777220 0 2",
         "1 2 - | c 10 | a b c (3)"},
        {"a double click on an Editable grid starts editing", steps({browse(2), editable}),
         doubleClick, "ChangeEditMode true, AlanChanged 0", "2 2 2 'c' | c 10 | a b c (3)"},
        {"keys of a grid that is not Editable go to the owner", browse(1),
         steps({shiftF5, typing("k")}),
         "KeyDown 16777248 1 1, KeyDown 16777268 1 1, KeyDown 75 0 1", "1 1 - | b 0 | a b c (3)"},
        {"search without a hit while typing", edit(0), steps({typing("x"), find("q")}), "",
         "2 0 - | x 250 | a b c (3)"},
        {"search with a hit while typing", edit(0), steps({typing("x"), find("c")}),
         "SatirChange 2", "2 2 - | c 10 | a b c (3)"},
        {"header click while typing", steps({[](Form &f) { f.grid->setSort(true); }, edit(0)}),
         steps({typing("x"), clickHeader}), "", "2 2 2 'x' | x 250 | b c a (3)"},
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
        QString editor = "-";
        if (const QLineEdit *e = f.grid->editor())
            editor = QStringLiteral("%1 '%2'%3")
                         .arg(f.grid->indexAt(e->geometry().center()).row())
                         .arg(e->text(), e->isReadOnly() ? " read-only" : "");
        const QString state = QStringLiteral("%1 %2 %3 | %4 %5 | %6 (%7)")
                                  .arg(f.grid->CurrentMode())
                                  .arg(f.grid->CurSat())
                                  .arg(editor, f.grid->Text(0), f.grid->Text(1), names.join(u' '))
                                  .arg(f.grid->model()->rowCount());
        QStringList events = log.take();
        if (!c.events.contains("KeyDown"))
            events = events.filter(QRegularExpression("^(?!KeyDown)"));
        EXPECT_EQ(events.join(", "), c.events) << c.what;
        EXPECT_EQ(state, c.state) << c.what;
    }
}

// Enter on a cell of each type and condition kind; a refused cell stays
// open with its text selected.
TEST(DclistConditions, ConfirmingACellChecksItsKind) {
    const QString holiday = "Korvane|information|Tatil gününe denk gelen tarih girdiniz.\n"
                            "   07 Mart 2026 Cumartesi";
    const QString wrongDate = "Korvane|warning|Hatalı Tarih Girildi.\nDüzeltiniz.";
    const QString noLetter = "Korvane|warning|En Az Bir Harf Girmelisiniz.";
    const QString noNumber = "Korvane|warning|Bir Sayi Girmelisiniz.";
    const QString today = formatTrDate(QDate::currentDate());
    struct Case {
        QString type;
        int kind;
        QString typed;
        QStringList boxes;
        int columnAfter; // 0 stays in the cell
        QString buffer;
    } cases[] = {
        {"T", 0, "07032026", {holiday}, 1, "07.03.2026"},
        {"T", 0, "31022026", {}, 1, ""},
        {"T", 1, "07032026", {holiday}, 1, "07.03.2026"},
        {"T", 1, "31022026", {wrongDate}, 0, "31.02.2026"},
        {"T", 4, "07032026", {}, 1, "07.03.2026"},
        {"T", 4, "31022026", {wrongDate}, 0, "31.02.2026"},
        {"T", 5, "07032026", {}, 1, "07.03.2026"},
        {"T", 5, "31022026", {}, 1, ""},
        {"T", 6, "09032026", {}, 0, "09.03.2026"}, // Enter raises OnKosulVar instead
        {"T", 2, "07032026", {holiday}, 1, "07.03.2026"},
        // Dots come with their digits and go with Backspace; other keys and
        // digits past the year are dropped.
        {"T", 5, "0503\b3x20261", {}, 1, "05.03.2026"},
        {"T", 5, "05", {}, 1, "05" + today.mid(2)}, // a part date is completed from today
        {"A", 3, "", {noLetter}, 0, ""},
        {"A", 3, "K1", {}, 1, "K1"},
        {"N", 2, "0", {noNumber}, 0, "0"},
        {"N", 2, "12", {}, 1, "12"},
    };
    for (const Case &c : cases) {
        Form f;
        f.grid->Add(c.type, "hucre", "Hücre", 90, c.type == u"N" ? 1e9 : 10, c.kind, 2, 3);
        f.grid->Add("A", "ack", "Açıklama", 150, 20);
        f.editRow();
        f.type(c.typed);
        f.key(Qt::Key_Return);
        const std::string what =
            (c.type + ' ' + QString::number(c.kind) + ' ' + c.typed).toStdString();
        EXPECT_EQ(f.boxes(), c.boxes) << what;
        EXPECT_EQ(f.grid->CurrentCol(), c.columnAfter) << what;
        EXPECT_EQ(f.grid->Text(0), c.buffer) << what;
        if (c.columnAfter == 0 && c.kind != 6) {
            EXPECT_EQ(f.grid->editor()->selectedText(), f.editorText()) << what;
        }
    }
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

// On an empty Editable grid a typed letter opens the first row and is typed
// into it; OkUpdateData then counts the row.
TEST(DclistModes, TypingIntoAnEmptyEditableGridAddsTheRow) {
    Form f;
    f.grid->Add("A", "ack", "Açıklama", 150, 20);
    f.grid->setEditable(true);
    f.grid->ChngMode(1, 0);
    f.type("k");
    EXPECT_EQ(f.grid->CurrentMode(), 2);
    EXPECT_EQ(f.editorText(), "k");
    EXPECT_EQ(f.grid->ListCount(), 0);
    f.key(Qt::Key_Return);
    EXPECT_EQ(f.grid->CurrentMode(), 1);
    f.grid->OkUpdateData(-1);
    EXPECT_EQ(f.grid->ListCount(), 1);
    EXPECT_EQ(f.grid->Caption(0, 0), QVariant(QString("k")));
}

// What the owner writes into the buffers goes into the open editor at once
// (a number in its display form, the caret at the end); in browse mode only
// Flash draws it and only OkUpdateData puts it into the row.
TEST(DclistModes, OwnerWritesTheBuffers) {
    Form f;
    f.grid->Add("N", "tutar", "Tutar", 100, 1e9, 0, 2, 3);
    f.grid->Add("A", "isim", "Ad", 150, 35);
    f.editRow();
    f.grid->setTextByName("TUTAR", "1234.5");
    EXPECT_EQ(f.editorText(), "1,234.50");
    EXPECT_EQ(f.grid->editor()->cursorPosition(), 8);
    f.type("6");
    EXPECT_EQ(f.grid->Text(0), "1234.56");
    EXPECT_EQ(f.grid->TextByName("nothing"), "");

    f.grid->ChngMode(1, 0);
    f.grid->setTextByName("isim", "Ayşe");
    EXPECT_EQ(f.shown(0, 1), "");
    f.grid->Flash();
    EXPECT_EQ(f.shown(0, 1), "Ayşe");
    EXPECT_FALSE(f.grid->Caption(0, 1).isValid());
    f.grid->OkUpdateData(-1);
    EXPECT_EQ(f.grid->Caption(0, 1).toString(), "Ayşe");
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

} // namespace
