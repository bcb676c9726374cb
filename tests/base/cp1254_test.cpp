// The old suite's code page, read from its files and written for the printer.
#include "base/cp1254.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1254, TurkishLettersAndPunctuationBothWays) {
    const struct {
        char16_t unicode;
        unsigned char byte;
    } cases[] = {{u'Ğ', 0xD0}, {u'İ', 0xDD}, {u'Ş', 0xDE}, {u'ğ', 0xF0}, {u'ı', 0xFD}, {u'ş', 0xFE},
                 {u'Ç', 0xC7}, {u'ü', 0xFC}, {u'€', 0x80}, {u'…', 0x85}, {u'A', 0x41}};
    for (const auto &c : cases) {
        EXPECT_EQ(static_cast<unsigned char>(cp1254::encode(c.unicode)), c.byte) << int(c.byte);
        EXPECT_EQ(cp1254::decode(QByteArray(1, char(c.byte))), QString(QChar(c.unicode)))
            << int(c.byte);
    }
    // The Latin-1 letters whose places the Turkish ones took, and what no
    // Turkish code page has.
    for (char16_t missing : {u'Ð', u'Ý', u'þ', u'Ω'})
        EXPECT_EQ(cp1254::encode(missing), '?') << int(missing);
}

} // namespace
