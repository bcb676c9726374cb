#include "base/money.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace {

constexpr int64_t pow10i(int n) {
    int64_t r = 1;
    for (int i = 0; i < n; ++i)
        r *= 10;
    return r;
}

int clampDecimals(int decimals) {
    return decimals < 0 ? 0 : (decimals > 4 ? 4 : decimals);
}

// 2^63 as a double; anything at or beyond it does not fit in the units.
constexpr double UnitsLimit = 9223372036854775808.0;

} // namespace

std::optional<Money> Money::parse(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == u'-' || t[0] == u'+') {
        negative = t[0] == u'-';
        ++i;
    }
    int64_t whole = 0;
    int64_t frac = 0;
    int fracDigits = 0;
    bool anyDigit = false;
    bool seenPoint = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'.') {
            if (seenPoint)
                return std::nullopt;
            seenPoint = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        anyDigit = true;
        const int d = c.unicode() - u'0';
        if (!seenPoint) {
            if (whole > (std::numeric_limits<int64_t>::max() / Scale - d) / 10)
                return std::nullopt;
            whole = whole * 10 + d;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d;
            ++fracDigits;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    frac *= pow10i(4 - fracDigits);
    int64_t units = 0;
    if (__builtin_mul_overflow(whole, Scale, &units) || __builtin_add_overflow(units, frac, &units))
        return std::nullopt;
    return Money(negative ? -units : units); // never the out-of-range count: units >= 0
}

std::optional<Money> Money::fromDouble(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double scaled = std::round(value * Scale);
    if (scaled >= UnitsLimit || scaled <= -UnitsLimit)
        return std::nullopt;
    return Money(static_cast<int64_t>(scaled));
}

QString Money::toPlain(int decimals) const {
    decimals = clampDecimals(decimals);
    const bool negative = m_units < 0;
    // Work on the magnitude as unsigned so the most negative value is safe.
    const uint64_t mag = negative ? uint64_t(0) - uint64_t(m_units) : uint64_t(m_units);
    QString out = QString::number(mag / Scale);
    if (decimals > 0) {
        const uint64_t frac = (mag % Scale) / uint64_t(pow10i(4 - decimals));
        out += u'.' + QString::number(frac).rightJustified(decimals, u'0');
    }
    if (negative && out.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        out.prepend(u'-');
    return out;
}

Money roundMoney(double value, int decimals) {
    decimals = clampDecimals(decimals);
    const double factor = static_cast<double>(pow10i(decimals));
    // nearbyint() follows the default rounding mode: to nearest, ties to even.
    const double rounded = std::nearbyint((value + 0.0005) * factor);
    const double units = rounded * static_cast<double>(pow10i(4 - decimals));
    if (!std::isfinite(units) || units >= UnitsLimit || units <= -UnitsLimit)
        return Money::outOfRangeValue();
    return Money::fromUnits(static_cast<int64_t>(units));
}

Money roundMoney(Money value, int decimals) {
    return value.outOfRange() ? value : roundMoney(value.toDouble(), decimals);
}

namespace {

// Rounds half away from zero to `decimals` places, on the exact value, as a
// printed amount shows it.
uint64_t roundedMagnitude(Money value, int decimals, bool *negative) {
    *negative = value.units() < 0;
    const uint64_t mag =
        *negative ? uint64_t(0) - uint64_t(value.units()) : uint64_t(value.units());
    const uint64_t step = uint64_t(pow10i(4 - decimals));
    return (mag + step / 2) / step;
}

QString groupDigits(const QString &digits, int groupSize) {
    if (groupSize <= 0)
        return digits;
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % groupSize == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

} // namespace

QString plainAmount(const std::optional<Money> &value, int decimals) {
    return value ? plainAmount(*value, decimals) : QString();
}

QString withoutTrailingZeros(const QString &plain) {
    QString s = plain;
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    return s == u"-0" ? QStringLiteral("0") : s;
}

std::optional<Money> parseTypedAmount(const QString &text, int decimals) {
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0 && text.size() - point - 1 > decimals)
        return std::nullopt;
    const std::optional<Money> m = Money::parse(text);
    if (m && (*m > Money::maxEntry() || *m < -Money::maxEntry()))
        return std::nullopt;
    return m;
}

namespace {

QString outOfRangeText() {
    return QStringLiteral("aralık dışı");
}

} // namespace

QString outOfRangeMessage(const QString &what) {
    return what + QStringLiteral(" hesaplanamadı: toplamı, bir tutarın sınırını "
                                 "(922,337,203,685,477.5807) aşıyor.\nHareketlerdeki "
                                 "tutarları denetleyin.");
}

QString plainAmount(Money value, int decimals) {
    if (value.outOfRange())
        return outOfRangeText();
    decimals = clampDecimals(decimals);
    bool negative = false;
    const uint64_t scaled = roundedMagnitude(value, decimals, &negative);
    const uint64_t div = uint64_t(pow10i(decimals));
    QString out = QString::number(scaled / div);
    if (decimals > 0)
        out += u'.' + QString::number(scaled % div).rightJustified(decimals, u'0');
    if (negative && scaled != 0)
        out.prepend(u'-');
    return out;
}

QString formatAmount(Money value, int decimals) {
    if (value.outOfRange())
        return outOfRangeText();
    return formatAmount(value.toPlain(4), decimals);
}

QString formatAmount(const QString &numericText, int decimals, int groupSize) {
    std::optional<Money> value = Money::parse(numericText);
    if (!value) {
        bool ok = false;
        const double d = QLocale::c().toDouble(numericText.trimmed(), &ok);
        if (ok)
            value = Money::fromDouble(d);
    }
    if (!value || value->isZero())
        return QString();
    decimals = clampDecimals(decimals);
    bool negative = false;
    const uint64_t scaled = roundedMagnitude(*value, decimals, &negative);
    const uint64_t div = uint64_t(pow10i(decimals));
    const uint64_t whole = scaled / div;
    QString out = whole == 0 ? QString() : groupDigits(QString::number(whole), groupSize);
    if (decimals > 0)
        out += u'.' + QString::number(scaled % div).rightJustified(decimals, u'0');
    if (negative && scaled != 0)
        out.prepend(u'-');
    return out;
}

namespace {

const char16_t *const Ones[10] = {u"",    u"bir",  u"iki",  u"üç",    u"dört",
                                  u"beş", u"altı", u"yedi", u"sekiz", u"dokuz"};
const char16_t *const Tens[10] = {u"",     u"on",     u"yirmi",  u"otuz",   u"kırk",
                                  u"elli", u"altmış", u"yetmiş", u"seksen", u"doksan"};
const char16_t *const Groups[6] = {u"", u"bin", u"milyon", u"milyar", u"trilyon", u"trilyar"};

} // namespace

QString amountInWords(Money amount, const QString &tlnick, const QString &krnick) {
    const int64_t units = amount.units() < 0 ? -amount.units() : amount.units();
    QString digits = QString::number(units / Money::Scale);
    if (digits == u"0")
        digits.clear();
    while (digits.size() % 3 != 0)
        digits.prepend(u'0');

    QString words;
    int group = static_cast<int>(digits.size() / 3) - 1;
    for (qsizetype at = 0; at < digits.size(); at += 3, --group) {
        const int h = digits[at].unicode() - u'0';
        const int t = digits[at + 1].unicode() - u'0';
        const int u = digits[at + 2].unicode() - u'0';
        if (h != 1)
            words += QString::fromUtf16(Ones[h]);
        if (h != 0)
            words += QStringLiteral("yüz");
        words += QString::fromUtf16(Tens[t]);
        if (!(group == 1 && h == 0 && t == 0 && u == 1))
            words += QString::fromUtf16(Ones[u]);
        if ((h | t | u) != 0 && group < 6)
            words += QString::fromUtf16(Groups[group]);
    }

    const int64_t hundredths = (units % Money::Scale) / 100;
    QString out = words + u' ' + tlnick;
    if (hundredths != 0) {
        out += u' ' + QString::fromUtf16(Tens[hundredths / 10]) +
               QString::fromUtf16(Ones[hundredths % 10]) + u' ' + krnick;
    }
    return out;
}
