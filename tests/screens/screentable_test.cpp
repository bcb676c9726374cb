// The key table behind koop's command line, and what every screen it opens
// shares: its size, its buttons' keys.
#include "screens/attendance/hazgrp.h"
#include "screens/collection/kastah.h"
#include "screens/kit/buttonkeys.h"
#include "screens/screentable.h"
#include "support/fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

TEST(ScreenTable, KeysNameTheirScreensExactly) {
    const auto key = [](const char16_t *k) { return screens::find(QString::fromUtf16(k)); };
    EXPECT_EQ(key(u"ETIKET"), key(u"ETİKET"));
    EXPECT_NE(key(u"ETIKET"), nullptr);
    EXPECT_NE(key(u"TAHSIL"), key(u"KASTAH"));
    EXPECT_NE(key(u"TAHSIL"), nullptr);
    // The command line upper-cases the key; anything else names no screen.
    for (const char16_t *unknown : {u"tahsil", u"BORCLA X", u"", u"TAHSİL"})
        EXPECT_EQ(key(unknown), nullptr) << QString::fromUtf16(unknown).toStdString();
    // The suite's nine, and the office's own beside them.
    EXPECT_EQ(std::count_if(screens::table().begin(), screens::table().end(),
                            [](const screens::Screen &s) { return s.suite; }),
              9);
    EXPECT_NE(key(u"UYE"), nullptr);
    for (const screens::Screen &s : screens::table()) {
        EXPECT_TRUE(s.make) << s.keys.first().toStdString();
        EXPECT_FALSE(s.title.isEmpty()) << s.keys.first().toStdString();
    }
}

TEST(ScreenTable, MnemonicsAreReadAsQtReadsThem) {
    EXPECT_EQ(screenkit::mnemonicOf(u"&Tamam"_s), u't');
    EXPECT_EQ(screenkit::mnemonicOf(u"Fiş && &No"_s), u'n');
    EXPECT_EQ(screenkit::mnemonicOf(u"A&&B"_s), 0);
    EXPECT_EQ(screenkit::mnemonicOf(u"Sonda&"_s), 0);
}

// Every screen and the two dialogs they open, as they come up on a company
// without settings: on a 1024×768 display (less a title bar), each push
// button with an Alt letter no other button of the screen has, the focus
// frame on a tick box or option however it got the focus, and Esc on a
// button closing the screen.
class EveryScreen : public SessionTest {};

TEST_F(EveryScreen, FitsTheSmallestDisplayAndItsButtonsHaveTheirKeys) {
    printing::PrintContext print(session);
    ScreenContext desk(session);
    std::vector<std::unique_ptr<QWidget>> windows;
    for (const screens::Screen &s : screens::table())
        windows.emplace_back(s.make(desk, print));
    windows.emplace_back(
        new kastah(desk, print, u"0001"_s, u"Ayşe"_s, Money(), std::nullopt, nullptr));
    windows.emplace_back(new hazgrp(desk));
    for (const auto &w : windows) {
        SCOPED_TRACE(w->windowTitle().toStdString());
        const QSize size = w->sizeHint().expandedTo(w->minimumSizeHint());
        EXPECT_LE(size.width(), 1024);
        EXPECT_LE(size.height(), 740);

        QSet<char16_t> letters;
        QPushButton *first = nullptr;
        for (QPushButton *b : w->findChildren<QPushButton *>()) {
            if (b->text().trimmed().isEmpty())
                continue; // a field's picture button
            first = first ? first : b;
            const char16_t m = screenkit::mnemonicOf(b->text());
            EXPECT_TRUE(m && !letters.contains(m)) << b->text().toStdString();
            letters.insert(m);
        }
        ASSERT_NE(first, nullptr);

        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        for (QAbstractButton *box : w->findChildren<QAbstractButton *>()) {
            if (!qobject_cast<QCheckBox *>(box) && !qobject_cast<QRadioButton *>(box))
                continue;
            w->setAttribute(Qt::WA_KeyboardFocusChange, false);
            box->setFocus();
            EXPECT_TRUE(w->testAttribute(Qt::WA_KeyboardFocusChange)) << box->text().toStdString();
        }
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible());
    }
}

} // namespace
