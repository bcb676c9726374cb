#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Amount of money as a signed count of ten-thousandths (four decimals).
// Addition and subtraction are exact; there is no implicit conversion from
// or to double. The only place that rounds "in double precision" is
// roundMoney(), and it says so.
//
// A sum that would leave the range never wraps: it is out of range
// (outOfRange()), and so is every sum made with it, so whoever shows, prints
// or stores a figure can refuse it instead of a wrong one; it is never
// stored, and it formats as "aralık dışı". One entry (a collection, a debt,
// a price) is at most maxEntry(), so a ledger can add up over 92,000 of the
// largest before its totals leave the range.
class Money {
  public:
    static constexpr int64_t Scale = 10000;
    static constexpr Money maxEntry() { return Money(99'999'999'999'900); } // 9,999,999,999.99
    static QString maxEntryText() { return QStringLiteral("9,999,999,999.99"); }

    constexpr Money() = default;
    static constexpr Money fromUnits(int64_t tenThousandths) { return Money(tenThousandths); }
    static constexpr Money fromWhole(int64_t whole) { return Money(whole * Scale); }
    // Decimal text with "." as the point, optional leading "-", no grouping.
    // More than four decimals are cut (never rounded). Out of range or not a
    // number gives nullopt.
    [[nodiscard]] static std::optional<Money> parse(const QString &text);
    // For values the behaviour computes in double precision (the ledger's
    // double amounts, the surcharge product): rounds half away from zero to
    // the nearest ten-thousandth; nullopt when out of range or not finite.
    [[nodiscard]] static std::optional<Money> fromDouble(double value);

    constexpr int64_t units() const { return m_units; }
    double toDouble() const { return static_cast<double>(m_units) / Scale; }
    // Plain decimal text with exactly `decimals` digits after "." (0..4),
    // "-" for negatives, no grouping; extra digits are cut.
    QString toPlain(int decimals = 4) const;

    constexpr Money operator+(Money o) const {
        int64_t sum = 0;
        return outOfRange() || o.outOfRange() || __builtin_add_overflow(m_units, o.m_units, &sum)
                   ? Money(OutOfRange)
                   : Money(sum);
    }
    constexpr Money operator-(Money o) const { return *this + -o; }
    constexpr Money operator-() const { return outOfRange() ? *this : Money(-m_units); }
    Money &operator+=(Money o) { return *this = *this + o; }
    Money &operator-=(Money o) { return *this = *this - o; }
    constexpr auto operator<=>(const Money &) const = default;
    constexpr bool isZero() const { return m_units == 0; }
    // The result of a sum beyond the range (see the class comment).
    constexpr bool outOfRange() const { return m_units == OutOfRange; }
    static constexpr Money outOfRangeValue() { return Money(OutOfRange); }

  private:
    // The most negative count stands for "out of range": the range is then
    // the same on both sides, and negation never overflows.
    static constexpr int64_t OutOfRange = INT64_MIN;
    explicit constexpr Money(int64_t u) : m_units(u) {}
    int64_t m_units = 0;
};

// What the clerk is told when `what` cannot be worked out because a sum
// leaves the range of an amount.
QString outOfRangeMessage(const QString &what);

// Adds 0.0005, then rounds half to even to `decimals` places, in double
// precision, as the office's receipts and surcharges always have. Out of
// range stays out of range.
Money roundMoney(Money value, int decimals);
Money roundMoney(double value, int decimals);

// Groups thousands with "," and uses "." as point whatever the locale; zero
// or unreadable text gives empty text; no leading zero before the point.
QString formatAmount(const QString &numericText, int decimals, int groupSize = 3);
QString formatAmount(Money value, int decimals);
// The same rounding as formatAmount, written plainly for files: "0.50",
// "-1234.00", "0.00"; no grouping.
QString plainAmount(Money value, int decimals);
// Plain decimal text without the zeros that end its fraction, nor a bare
// point: "850", "120.5"; "-0" reads "0". Text without a point is kept whole.
QString withoutTrailingZeros(const QString &plain);
// An amount as an amount field takes it: "." as point, at most `decimals`
// decimals, at most Money::maxEntry(). Nothing for text that is no such
// number.
[[nodiscard]] std::optional<Money> parseTypedAmount(const QString &text, int decimals);
// A cell that may hold no amount (a statement's empty cells): empty text then.
QString plainAmount(const std::optional<Money> &value, int decimals);

// Amount in Turkish words for receipts: integer part, a blank, tlnick, and
// the hundredths in words with krnick when they are not 00.
QString amountInWords(Money amount, const QString &tlnick, const QString &krnick);
