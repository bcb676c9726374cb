// Amounts as the receipts print them: words, grouped figures and the office's
// rounding of surcharges.
#include "base/money.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

Money m(const char *text) {
    const std::optional<Money> v = Money::parse(QString::fromUtf8(text));
    EXPECT_TRUE(v.has_value()) << text;
    return v.value_or(Money());
}

TEST(AmountInWords, WritesTurkishWordsTogether) {
    const struct {
        const char *amount, *words;
    } cases[] = {
        // clang-format off
        {"1234", "binikiyüzotuzdört TL"}, {"11", "onbir TL"}, {"100", "yüz TL"},
        {"200", "ikiyüz TL"}, {"1000", "bin TL"}, {"1100", "binyüz TL"},
        {"2001", "ikibinbir TL"}, {"101000", "yüzbirbin TL"}, {"1000000", "birmilyon TL"},
        {"1001000", "birmilyonbin TL"}, {"2000000000", "ikimilyar TL"},
        {"3000000000000", "üçtrilyon TL"},
        {"987654321", "dokuzyüzseksenyedimilyonaltıyüzellidörtbinüçyüzyirmibir TL"},
        {"12.50", "oniki TL elli Kr"}, {"0.75", " TL yetmişbeş Kr"}, {"0", " TL"},
        {"5.05", "beş TL beş Kr"}, {"5.059", "beş TL beş Kr"},
        {"46.99", "kırkaltı TL doksandokuz Kr"}, {"7.009", "yedi TL"},
        {"301661", "üçyüzbirbinaltıyüzaltmışbir TL"},
        {"922337203685477.5807", "dokuzyüzyirmiikitrilyonüçyüzotuzyedimilyarikiyüzüçmilyon"
                                 "altıyüzseksenbeşbindörtyüzyetmişyedi TL ellisekiz Kr"},
        // clang-format on
    };
    for (const auto &c : cases)
        EXPECT_EQ(amountInWords(m(c.amount), u"TL"_s, u"Kr"_s), QString::fromUtf8(c.words))
            << c.amount;
}

TEST(FormatAmount, GroupsWithCommaAndDropsLeadingZero) {
    struct Case {
        const char *text;
        int decimals;
        const char *shown;
    } cases[] = {{"1234.5", 2, "1,234.50"},
                 {"0", 2, ""},
                 {"-0.25", 2, "-.25"},
                 {"0.5", 2, ".50"},
                 {"abc", 2, ""},
                 {"", 2, ""},
                 {"1234567.891", 2, "1,234,567.89"},
                 {"-1234567", 0, "-1,234,567"},
                 {"999", 2, "999.00"},
                 {"1000", 0, "1,000"}};
    for (const Case &c : cases)
        EXPECT_EQ(formatAmount(QString::fromUtf8(c.text), c.decimals), QString::fromUtf8(c.shown))
            << c.text;
    EXPECT_EQ(formatAmount(m("1234.5"), 2), u"1,234.50"_s);
    EXPECT_EQ(formatAmount(m("-0.25"), 2), u"-.25"_s);
    EXPECT_EQ(formatAmount(Money(), 2), QString());
    EXPECT_EQ(formatAmount(u"12345678"_s, 0, 4), u"1234,5678"_s);
}

TEST(RoundMoney, AddsHalfThousandthThenRoundsHalfToEven) {
    struct Case {
        double value;
        int decimals;
        const char *rounded;
    } cases[] = {{2.5, 0, "3"},         {3.5, 0, "4"},
                 {2.4994, 0, "2"},      {2.4996, 0, "3"},
                 {1.125, 2, "1.13"},    {1.1244, 2, "1.12"},
                 {1.1246, 2, "1.13"},   {10.004, 2, "10.00"},
                 {10.0046, 2, "10.01"}, {1234.5678, 4, "1234.5683"}};
    for (const Case &c : cases) {
        EXPECT_EQ(roundMoney(c.value, c.decimals), m(c.rounded)) << c.value << "/" << c.decimals;
        const std::optional<Money> asMoney = Money::fromDouble(c.value);
        ASSERT_TRUE(asMoney.has_value());
        EXPECT_EQ(roundMoney(*asMoney, c.decimals), m(c.rounded)) << c.value;
    }
}

// Plain decimal text only; a fifth decimal is cut, and one unit past the
// largest amount is refused rather than wrapped round to a negative figure.
TEST(MoneyParse, ReadsPlainDecimalTextOnly) {
    const struct {
        const char *text;
        std::optional<int64_t> units;
    } cases[] = {
        {"12.5", 125000},
        {"-0.0001", -1},
        {"+7", 70000},
        {" 3.14159 ", 31415},
        {".5", 5000},
        {"922337203685477.5807", INT64_MAX},
        {"922337203685477.5808", std::nullopt},
        {"922337203685477.9999", std::nullopt},
        {"9223372036854775808", std::nullopt},
        {"1000000000000000", std::nullopt},
    };
    for (const auto &c : cases) {
        const std::optional<Money> v = Money::parse(QString::fromUtf8(c.text));
        EXPECT_EQ(v ? std::optional(v->units()) : std::nullopt, c.units) << c.text;
    }
    for (const char *bad : {"", "   ", "abc", "1.2.3", "1,5", "-", ".", "12a", "1e3"})
        EXPECT_FALSE(Money::parse(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(MoneyToPlain, CutsToTheAskedDecimals) {
    EXPECT_EQ(m("1234.5678").toPlain(2), u"1234.56"_s);
    EXPECT_EQ(m("-0.05").toPlain(2), u"-0.05"_s);
    EXPECT_EQ(m("-0.0049").toPlain(2), u"0.00"_s);
    EXPECT_EQ(Money::fromUnits(INT64_MIN).toPlain(4), u"-922337203685477.5808"_s);
}

} // namespace

// Sums near the edge of the range never wrap: they are out of range, stay so
// through every later sum, and never read as a figure.
TEST(MoneyRange, SumsBeyondTheRangeAreOutOfRangeNotWrapped) {
    const Money top = Money::fromUnits(INT64_MAX);
    const Money unit = Money::fromUnits(1);
    const struct {
        const char *what;
        Money value;
        bool out;
    } cases[] = {
        {"top", top, false},
        {"top + 1", top + unit, true},
        {"-top - 1", -top - unit, true},
        {"-top", -top, false},
        {"out + (-top)", (top + unit) + -top, true},
        {"-(out)", -(top + unit), true},
        {"out - out", (top + unit) - (top + unit), true},
        {"+= past the top",
         [&] {
             Money m = top - unit;
             m += unit;
             m += unit;
             return m;
         }(),
         true},
        {"round of a huge double", roundMoney(1e300, 2), true},
        {"round of out", roundMoney(top + unit, 2), true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.value.outOfRange(), c.out) << c.what;
        if (c.out) {
            EXPECT_EQ(formatAmount(c.value, 2), u"aralık dışı"_s) << c.what;
            EXPECT_EQ(plainAmount(c.value, 2), u"aralık dışı"_s) << c.what;
        }
    }
    EXPECT_FALSE(Money::parse(u"-922337203685477.5808"_s).has_value());
    EXPECT_FALSE(Money::fromDouble(-9223372036854775808.0 / 10000).has_value());
    // One entry's limit, as every amount field and command takes it.
    EXPECT_EQ(parseTypedAmount(u"9999999999.99"_s, 2), Money::maxEntry());
    for (const char *refused : {"9999999999.991", "10000000000", "922337203685477"})
        EXPECT_FALSE(parseTypedAmount(QString::fromLatin1(refused), 4).has_value()) << refused;
}
