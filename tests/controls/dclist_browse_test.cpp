// The grid's table and browse mode: columns, display forms, rows, keys and
// mouse, search, sorting, the row limit, fonts and colours.
#include "controls/gridwindow.h"
#include "support/qtprint.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Form = GridWindow;

TEST(DclistColumns, AddKeepsTheLettersWidthsAndKeys) {
    Form f;
    f.grid->Add("a", "kod", "Kod", 90, 8);
    f.grid->Add("X", "bad", "Bad", 50, 0); // not a type letter: nothing added
    f.grid->Add("", "bad", "Bad", 50, 0);
    f.grid->Add("Nn", "tutar", "Tutar", 120, 1e9, 2, 2, 3);
    f.grid->Add("M", "gizli", "", 0, 0);
    EXPECT_EQ(f.grid->ColumnCount(), 3);
    EXPECT_EQ(f.grid->Style(), "aNM");
    EXPECT_EQ(f.grid->Sizes(), "009001200000");
    EXPECT_EQ(f.grid->SectionName(1), "TUTAR");
    EXPECT_EQ(f.grid->SectionName(7), "");
    EXPECT_TRUE(f.grid->isColumnHidden(2));
    EXPECT_EQ(f.grid->columnWidth(1), 120);
    EXPECT_EQ(f.grid->model()->headerData(1, Qt::Horizontal).toString(), "Tutar");
    f.grid->setSectionName(2, "adr1");
    EXPECT_EQ(f.grid->SectionName(2), "ADR1");
    f.grid->setSectionName(9, "x");
    f.grid->Reset();
    EXPECT_EQ(f.grid->ColumnCount(), 0);
    EXPECT_EQ(f.grid->Style(), "");
}

TEST(DclistColumns, CellsAreDrawnByTheirType) {
    Form f;
    f.grid->Add("N", "n", "N", 90, 1e9, 0, 2, 3);
    f.grid->Add("b", "b", "B", 90, 0, 0, 0, 0);
    f.grid->Add("T", "t", "T", 90, 10);
    f.grid->Add("V", "v", "V", 40, 5);
    f.grid->Add("e", "e", "E", 40, 5);
    f.grid->Add("S", "s", "S", 40, 1);
    for (int i = 0; i < 3; ++i)
        f.grid->CreateNewCaption();
    const QVariantList row0 = {1234.5, 1234567.0, QDate(2026, 3, 5), "True", "False", "K"};
    const QVariantList row1 = {0.0, "0", "05.03.2026", "False", "True", "x"};
    const QVariantList row2 = {-12.5, QVariant(), QVariant(), "evet", QVariant(true), QVariant()};
    for (int c = 0; c < 6; ++c) {
        f.grid->setCaption(0, c, row0[c]);
        f.grid->setCaption(1, c, row1[c]);
        f.grid->setCaption(2, c, row2[c]);
    }
    auto row = [&](int r) {
        QStringList out;
        for (int c = 0; c < 6; ++c)
            out << f.shown(r, c);
        return out;
    };
    EXPECT_EQ(row(0), QStringList({"1,234.50", "1234567", "05.03.2026", "Var", "Hayır", "K"}));
    EXPECT_EQ(row(1), QStringList({"", "", "05.03.2026", "Yok", "Evet", "x"}));
    EXPECT_EQ(row(2), QStringList({"-12.50", "", "", "", "Evet", ""}));
    EXPECT_EQ(f.grid->curtext("1234.5", 0), "1,234.50");
    EXPECT_EQ(f.grid->curtext("0", 0), "");
    auto align = [&](int col) {
        return f.grid->model()->index(0, col).data(Qt::TextAlignmentRole).toInt() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(align(0), int(Qt::AlignRight));
    EXPECT_EQ(align(2), int(Qt::AlignHCenter));
    EXPECT_EQ(align(5), int(Qt::AlignHCenter));
    // Sorting reads raw values: numbers for N, dates for T.
    EXPECT_EQ(f.grid->model()->index(1, 1).data(DclistModel::RawRole), QVariant(0.0));
    EXPECT_EQ(f.grid->model()->index(1, 2).data(DclistModel::RawRole), QVariant(QDate(2026, 3, 5)));
}

TEST(DclistRows, CreateClearAndTheRowLimit) {
    Form f;
    f.grid->Add("A", "ad", "Ad", 150, 30);
    EXPECT_EQ(f.grid->CreateNewCaption(), 0);
    EXPECT_EQ(f.grid->ListCount(), 1);
    f.grid->setCaption(0, 0, "bir");
    f.grid->setCaption(0, 5, "nothing");
    f.grid->setCaption(-1, 0, "nothing");
    EXPECT_EQ(f.grid->Caption(0, 0).toString(), "bir");
    EXPECT_EQ(f.grid->CaptionByName(0, "AD").toString(), "bir");
    EXPECT_FALSE(f.grid->Caption(0, 3).isValid());
    f.grid->ChngSat(0);
    EXPECT_EQ(f.grid->CurSat(), 0);
    f.grid->Clear();
    EXPECT_EQ(f.grid->ListCount(), 0);
    EXPECT_EQ(f.grid->CurSat(), -1);
    EXPECT_EQ(f.grid->ColumnCount(), 1);
    EXPECT_EQ(f.grid->DikeyMaxValue(), 0);
    f.grid->setDikeyMaxValue(5);
    EXPECT_EQ(f.messages.lastText(), "dikey değişti");

    // Up to the limit; appended rows and their cells reach the view in one
    // batch, not row by row.
    QApplication::processEvents();
    QSignalSpy inserted(f.grid->model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(f.grid->model(), &QAbstractItemModel::dataChanged);
    for (int i = 0; i <= dclist::LastRowIndex; ++i) {
        ASSERT_EQ(f.grid->CreateNewCaption(), i);
        f.grid->setCaption(i, 0, QString::number(i));
    }
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(f.grid->CreateNewCaption(), -1);
    EXPECT_EQ(f.grid->ListCount(), 32752);
    QApplication::processEvents();
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).mid(1), QVariantList({0, dclist::LastRowIndex}));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(f.shown(dclist::LastRowIndex, 0), "32751");
    EXPECT_EQ(f.grid->DikeyMaxValue(), 32752 - f.grid->pageRows());
    // A full table takes no inserted row either.
    f.grid->ChngMode(1, 5);
    f.key(Qt::Key_Insert);
    EXPECT_EQ(f.grid->ListCount(), 32752);
}

TEST(DclistBrowse, KeysMoveTheCursor) {
    Form f;
    QStringList names;
    for (int i = 0; i < 100; ++i)
        names << QStringLiteral("üye %1").arg(i);
    f.fill(names);
    f.grid->ChngMode(1, 0);
    QSignalSpy rows(f.grid, &dclist::SatirChange);
    auto last = [&] { return rows.isEmpty() ? -99 : rows.last().at(0).toInt(); };
    f.key(Qt::Key_Up);
    EXPECT_EQ(rows.count(), 0); // the first row: nothing
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Down);
    EXPECT_EQ(last(), 2);
    EXPECT_EQ(f.grid->TextByName("ad"), "üye 2");
    const int page = f.grid->pageRows();
    ASSERT_GT(page, 2);
    f.key(Qt::Key_PageDown);
    EXPECT_EQ(last(), 2 + page);
    f.key(Qt::Key_PageUp);
    EXPECT_EQ(last(), 2);
    f.key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(last(), 99);
    EXPECT_EQ(f.grid->verticalScrollBar()->value(), 100 - page);
    f.key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(last(), 0);
    EXPECT_EQ(f.grid->verticalScrollBar()->value(), 0);
}

TEST(DclistBrowse, FreeWorkDecidesHowRowsAreNumbered) {
    Form f;
    QStringList names;
    for (int i = 0; i < 60; ++i)
        names << QString::number(i);
    f.fill(names);
    f.grid->ChngMode(1, 40);
    const int top = f.grid->verticalScrollBar()->value();
    ASSERT_GT(top, 0);
    EXPECT_EQ(f.grid->CurSat(), 40);
    f.grid->setFreeWork(false);
    EXPECT_EQ(f.grid->CurSat(), 40 - top);
    EventLog log(f.grid);
    f.grid->ChngSat(1); // the second visible row
    EXPECT_EQ(f.grid->TextByName("ad"), QString::number(top + 1));
    EXPECT_EQ(log.take(), QStringList({"SatirChange 1"}));
}

TEST(DclistSearch, FindByNameRemembersWhereItStopped) {
    Form f;
    f.fill({"VELİ", "  KALINLI  ", "Deniz", "Alişan", "Ayşe"});
    QSignalSpy rows(f.grid, &dclist::SatirChange);
    f.grid->FindByName("nope", "ali", 0); // no such column: silent
    EXPECT_TRUE(f.messages.boxes.empty());
    f.grid->FindByName("AD", "ali", 0);
    EXPECT_EQ(f.grid->CurSat(), 1);
    f.grid->FindByName("ad", " ali ", -1);
    EXPECT_EQ(f.grid->CurSat(), 3);
    EXPECT_EQ(rows.count(), 2);
    f.grid->FindByName("ad", "ali", -1);
    EXPECT_EQ(f.messages.lastText(), "Aranan Kayıt Bulunamadı !");
    EXPECT_EQ(f.messages.boxes.back().icon, Messages::Icon::Information);
    EXPECT_EQ(f.grid->CurSat(), 3);
    // The position stays after the second hit: a new match below is found.
    f.fill({"Kalinlik"});
    f.grid->FindByName("ad", "ALI", -1);
    EXPECT_EQ(f.grid->CurSat(), 5);
    EXPECT_EQ(f.messages.boxes.size(), 1u);
    f.grid->FindByName("ad", "ayşe", 0);
    EXPECT_EQ(f.grid->CurSat(), 4);
}

TEST(DclistSort, StableInBothDirections) {
    Form f;
    // Equal values (b and d, a and c) keep their order either way.
    f.fill({"a", "b", "c", "d", "e", "f"}, {2, 1, 2, 1, 10, 0});
    f.grid->setSortDescending(false);
    f.grid->sorting(1);
    EXPECT_EQ(f.column(0), QStringList({"f", "b", "d", "a", "c", "e"}));
    f.grid->setSortDescending(true);
    f.grid->sorting(1);
    EXPECT_EQ(f.column(0), QStringList({"e", "a", "c", "b", "d", "f"}));
}

TEST(DclistSort, HeaderClicksSortAscendingThenReverse) {
    Form f;
    f.grid->Add("A", "ad", "Ad", 150, 30);
    f.grid->Add("T", "vade", "Vade", 90, 10);
    const QStringList names = {"Deniz", "İnci", "Çınar", "Irmak", "Cem", "ılgın"};
    const QStringList dates = {"05.03.2026", "01.12.2025", "", "28.02.2026", "x", "05.03.2026"};
    for (int i = 0; i < names.size(); ++i) {
        f.grid->CreateNewCaption();
        f.grid->setCaption(i, 0, names[i]);
        f.grid->setCaption(i, 1, dates[i]);
    }
    QApplication::processEvents();
    auto click = [&](int col) {
        const QHeaderView *h = f.grid->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(col) + 5, h->height() / 2));
    };
    click(0);
    EXPECT_EQ(f.column(0), names); // Sort is off
    f.grid->setSort(true);
    click(0);
    EXPECT_EQ(f.column(0), QStringList({"Cem", "Çınar", "Deniz", "ılgın", "Irmak", "İnci"}));
    click(0);
    EXPECT_EQ(f.column(0), QStringList({"İnci", "Irmak", "ılgın", "Deniz", "Çınar", "Cem"}));
    // Dates by date: the empty cell first, a text that is no date last.
    f.grid->setSortDescending(true);
    click(1);
    EXPECT_EQ(f.column(1),
              QStringList({"", "01.12.2025", "28.02.2026", "05.03.2026", "05.03.2026", "x"}));
    EXPECT_EQ(f.column(0).mid(3, 2), QStringList({"ılgın", "Deniz"})); // stable from before
}

TEST(DclistLook, ColoursFollowTheModeAndZebra) {
    Form f;
    f.fill({"a", "b", "c", "d"});
    QApplication::processEvents();
    EXPECT_EQ(f.background(0), QColor(255, 255, 225));
    f.grid->ChngMode(1, 1);
    EXPECT_EQ(f.background(1), QColor(255, 0, 0));
    EXPECT_EQ(f.grid->model()->index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(255, 255, 255));
    f.grid->setZebra(true);
    EXPECT_EQ(f.background(3), QColor(255, 255, 255));
    EXPECT_EQ(f.background(2), QColor(255, 255, 225));
    f.grid->ChngMode(2, 1);
    EXPECT_EQ(f.background(1), QColor(255, 192, 255));
    f.grid->ChngMode(0, 0);
    EXPECT_EQ(f.background(1), QColor(255, 255, 255)); // zebra again, no highlight
    f.grid->PassiveTextColor(Qt::blue, Qt::yellow);
    EXPECT_EQ(f.background(0), QColor(Qt::yellow));
    EXPECT_EQ(f.grid->bgColor(), QColor(192, 192, 192));
    f.grid->setBgColor(Qt::cyan);
    EXPECT_EQ(
        f.grid->model()->headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color(),
        QColor(Qt::cyan));
    f.grid->BaslikTextColor(Qt::darkGreen, Qt::white);
    EXPECT_EQ(
        f.grid->model()->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color(),
        QColor(Qt::darkGreen));
}

TEST(DclistLook, FontsComeFromTheSettingsStore) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    // The header font and the row font, family in lower case, size, weight.
    const auto fonts = [](const dclist *g) {
        QStringList out;
        for (const QFont &x : {g->headerFont(), g->rowFont()})
            out << QStringLiteral("%1 %2%3")
                       .arg(x.family().toLower())
                       .arg(x.pointSize())
                       .arg(x.bold() ? " bold" : "");
        return out;
    };
    EXPECT_EQ(fonts(Form().grid), QStringList({"tahoma 10 bold", "courier 10 bold"})); // defaults
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "korvane", "korvane");
        s.beginGroup("tavlo");
        s.setValue("gridbaslikfontname", "Arial");
        s.setValue("gridbaslikfontsize", "12");
        s.setValue("gridbaslikfontbold", "normal");
        s.setValue("griddetayfontname", "DejaVu Sans Mono");
        s.setValue("griddetayfontsize", "9");
        s.setValue("griddetayfontbold", "bold");
    }
    Form f;
    EXPECT_EQ(fonts(f.grid), QStringList({"arial 12", "dejavu sans mono 9 bold"}));
    EXPECT_EQ(f.grid->horizontalHeader()->font().pointSize(), 12);
    f.grid->TextFont("Courier", false, 14);
    EXPECT_EQ(f.grid->font().pointSize(), 14);
    f.grid->BaslikFont("Tahoma", true, 11);
    EXPECT_EQ(f.grid->horizontalHeader()->font().pointSize(), 11);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

} // namespace
