// The lookup window on a small company, driven from the keyboard.
#include "controls/dclist.h"
#include "controls/pencere.h"
#include "gui/screencontext.h"
#include "support/fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

class Pencere : public SessionTest {
  protected:
    ScreenContext desk{session};
    Pencere() {
        for (const char *kod : {"2010", "0123", "01", "010", "1x"})
            addCard(QString::fromLatin1(kod), u"Üye "_s + QString::fromLatin1(kod));
        addCard(u"0999"_s, u"Çağla Işık"_s);
        addCard(u"0998"_s, u"Cem Irmak"_s);
    }
    static QStringList codes(const pencere &w) {
        QStringList out;
        for (int r = 0; r < w.dclist1()->ListCount(); ++r)
            out << w.dclist1()->Caption(r, 0).toString();
        return out;
    }
};

TEST_F(Pencere, TypingNarrowsTheListByCodeOrName) {
    pencere w(desk);
    EXPECT_EQ(codes(w).size(), 7); // everyone while nothing is typed
    QTest::keyClicks(w.TextBox1(), u"01"_s);
    EXPECT_EQ(codes(w), (QStringList{"01", "010", "0123"}));
    w.CheckBox1()->setChecked(true);
    EXPECT_EQ(codes(w), (QStringList{"01", "010", "0123", "2010"}));

    w.CheckBox1()->setChecked(false);
    w.ComboBox1()->setCurrentIndex(1);
    w.TextBox1()->clear();
    // Turkish order: C before Ç, I (dotless) in its own place.
    QTest::keyClicks(w.TextBox1(), u"c"_s);
    EXPECT_EQ(codes(w), (QStringList{"0998"}));
    w.TextBox1()->clear();
    w.CheckBox1()->setChecked(true);
    w.TextBox1()->insert(u"ı"_s); // beyond the key simulator's ASCII
    EXPECT_EQ(codes(w), (QStringList{"0998", "0999"}));
}

TEST_F(Pencere, EnterInTheGridChoosesTheCursorRowAndRemembersTheOrder) {
    pencere w(desk, nullptr, u"eski"_s);
    w.show();
    w.ComboBox1()->setCurrentIndex(1);
    w.TextBox1()->insert(u"Üye 01"_s);
    ASSERT_EQ(codes(w), (QStringList{"01", "010", "0123"}));
    w.dclist1()->setFocus();
    w.dclist1()->ChngSat(1);
    QTest::keyClick(w.dclist1(), Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.chosenCode(), u"010"_s);

    pencere again(desk);
    EXPECT_EQ(again.ComboBox1()->currentIndex(), 1);
}

TEST_F(Pencere, EscapeCancelsFromTheFieldsAndReturnsFromTheGrid) {
    pencere w(desk, nullptr, u"0123"_s);
    w.show();
    w.dclist1()->setFocus();
    QTest::keyClick(w.dclist1(), Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.chosenCode(), u"0123"_s);
    QTest::keyClick(w.TextBox1(), Qt::Key_Escape);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(w.chosenCode(), QString());
}

TEST_F(Pencere, NoMatchGivesAnEmptyCode) {
    pencere w(desk);
    w.show();
    w.dclist1()->setFocus();
    w.dclist1()->ChngSat(0); // "01"
    QTest::keyClicks(w.TextBox1(), u"2"_s);
    ASSERT_EQ(codes(w), QStringList{u"2010"_s});
    w.Command1()->click(); // the new list has no cursor row yet
    EXPECT_EQ(w.chosenCode(), QString());
    QTest::keyClicks(w.TextBox1(), u"%'_*"_s);
    EXPECT_EQ(codes(w), QStringList());
    w.accept();
    EXPECT_EQ(w.chosenCode(), QString());
}

TEST_F(Pencere, AFailedSearchSaysSoAndKeepsThePreviousChoice) {
    session.data.close();
    EXPECT_EQ(pencere::choose(desk, nullptr, u"0123"_s), u"0123"_s);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].title, u"Korvane Muhasebe"_s);
    EXPECT_EQ(messages.boxes[0].text, u"Sql Yaratılamıyor"_s);
}

} // namespace
