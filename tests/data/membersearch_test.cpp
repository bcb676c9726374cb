// The lookup window's member search on a small company.
#include "data/membersearch.h"
#include "data/xbase.h"
#include "support/tempcompany.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using namespace data;

class MemberSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(company.open(db, u"xdata.dat"_s));
        ASSERT_TRUE(RsOpen(db, members, u"carkart"_s));
        const std::pair<const char *, const char *> cards[] = {
            {"0123", "İSMAİL IŞIK"}, {"01", "Şule Çelik"},    {"2010", "Ali Irmak"},
            {"010", "ılgaz ince"},   {"1%0", "Yüzde Bir"},    {"1_0", "Alt Çizgi"},
            {"1x0", "Harf"},         {"O'01", "Tırnak Oğuz"}, {"1*0", "Yıldız"}};
        for (const auto &[kod, isim] : cards) {
            ASSERT_TRUE(RsAddNew(members));
            FieldSet(members, u"kod"_s, QString::fromUtf8(kod));
            FieldSet(members, u"isim1"_s, QString::fromUtf8(isim));
            ASSERT_TRUE(RsUpdate(members));
        }
    }
    QStringList codes(const QString &text, MemberOrder order, bool contains) {
        std::vector<MemberMatch> found;
        EXPECT_TRUE(searchMembers(db, text, order, contains, &found));
        QStringList out;
        for (const MemberMatch &m : found)
            out << m.kod;
        return out;
    }
    TempCompany company;
    Database db;
    TableCursor members;
};

TEST_F(MemberSearch, StartsWithAndContainsByCode) {
    EXPECT_EQ(codes(u"01"_s, MemberOrder::ByCode, false), (QStringList{"01", "010", "0123"}));
    EXPECT_EQ(codes(u"01"_s, MemberOrder::ByCode, true),
              (QStringList{"01", "010", "0123", "2010", "O'01"}));
    EXPECT_EQ(codes(QString(), MemberOrder::ByCode, false).size(), 9);
}

TEST_F(MemberSearch, NamesMatchTurkishCaseAndSortInTurkishOrder) {
    // "ışık" must find "IŞIK" (dotless) but "isma" finds "İSMAİL" (dotted).
    EXPECT_EQ(codes(u"ışık"_s, MemberOrder::ByName, true), (QStringList{"0123"}));
    EXPECT_EQ(codes(u"isma"_s, MemberOrder::ByName, false), (QStringList{"0123"}));
    EXPECT_EQ(codes(u"Ilg"_s, MemberOrder::ByName, false), (QStringList{"010"}));
    EXPECT_EQ(codes(u"ç"_s, MemberOrder::ByName, true), (QStringList{"1_0", "01"}));
}

TEST_F(MemberSearch, WildcardsAndQuotesAreSearchedLiterally) {
    EXPECT_EQ(codes(u"1%"_s, MemberOrder::ByCode, false), (QStringList{"1%0"}));
    EXPECT_EQ(codes(u"1_"_s, MemberOrder::ByCode, false), (QStringList{"1_0"}));
    EXPECT_EQ(codes(u"1*"_s, MemberOrder::ByCode, false), (QStringList{"1*0"}));
    EXPECT_EQ(codes(u"O'"_s, MemberOrder::ByCode, false), (QStringList{"O'01"}));
    EXPECT_EQ(codes(u"\\"_s, MemberOrder::ByCode, true), QStringList());
}

TEST_F(MemberSearch, HostileTextFindsNothingHarmlessly) {
    EXPECT_EQ(codes(QString(10000, u'x'), MemberOrder::ByName, true), QStringList());
    const QChar lone[] = {QChar(0xD800)};
    EXPECT_EQ(codes(QString(lone, 1), MemberOrder::ByCode, false), QStringList());
}

} // namespace
