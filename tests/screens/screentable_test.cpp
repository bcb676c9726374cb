// The key table behind koop's command line.
#include "screens/screentable.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(screens::table().size(), 9u);
    for (const screens::Screen &s : screens::table())
        EXPECT_TRUE(s.make) << s.keys.first().toStdString();
}

} // namespace
