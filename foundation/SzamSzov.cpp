#include "foundation/SzamSzov.h"

#include <cmath>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace kavina {
namespace {

const char* const kUnits[10] = {"", "egy", "kettő", "három", "négy", "öt", "hat", "hét", "nyolc", "kilenc"};
const char* const kTensAlone[10] = {"",      "tíz",    "húsz",   "harminc",  "negyven",
                                    "ötven", "hatvan", "hetven", "nyolcvan", "kilencven"};
const char* const kTensJoined[10] = {"",      "tizen",  "huszon", "harminc",  "negyven",
                                     "ötven", "hatvan", "hetven", "nyolcvan", "kilencven"};

QString units(int digit) {
    return QString::fromUtf8(kUnits[digit]);
}

QString tens(int digit, int unitsDigit) {
    return QString::fromUtf8(unitsDigit == 0 ? kTensAlone[digit] : kTensJoined[digit]);
}

// One group of three digits above the units group (thousands or millions): the group word
// goes after the lowest non-zero digit, so 300 000 is "háromszázezer" and 20 000 "húszezer".
QString upperGroup(int hundreds, int ten, int one, const QString& word) {
    const QString oneText = one != 0 ? units(one) + word : QString();
    QString tenText;
    if (one != 0 || ten == 0)
        tenText = tens(ten, one);
    else
        tenText = tens(ten, 0) + word;
    QString hundredText;
    if (hundreds != 0)
        hundredText = units(hundreds) + QStringLiteral("száz") + (one != 0 || ten != 0 ? QString() : word);
    return hundredText + tenText + oneText;
}

void requireIntegerRange(long double x) {
    // 2^63 is exactly representable; anything at or beyond it cannot be held.
    constexpr long double kLimit = 9223372036854775808.0L;
    if (!std::isfinite(x) || x >= kLimit || x < -kLimit)
        throw std::range_error("the value does not fit a 64-bit integer");
}

}  // namespace

QString SzamSzov(int64_t n) {
    const uint64_t a = n < 0 ? 0 - uint64_t(n) : uint64_t(n);
    int d[9];
    uint64_t rest = a;
    for (int& digit : d) {
        digit = int(rest % 10);
        rest /= 10;
    }
    QString result = n < 0 ? QStringLiteral("mínusz ") : QString();
    result += upperGroup(d[8], d[7], d[6], QStringLiteral("millió"));
    if (a > 1000000) result += QLatin1Char('-');
    result += upperGroup(d[5], d[4], d[3], QStringLiteral("ezer"));
    if (a > 2000) result += QLatin1Char('-');
    if (d[2] != 0) result += units(d[2]) + QStringLiteral("száz");
    result += tens(d[1], d[0]) + units(d[0]);
    return result;
}

int64_t KerekitRound(long double x) {
    const long double shifted = x > 0 ? x + 0.5L : x - 0.5L;
    requireIntegerRange(shifted);
    return int64_t(std::trunc(shifted));
}

long double Kerekit(int mode, long double x) {
    switch (mode) {
        case 0: return KerekitRound(x * 100.0L) / 100.0L;
        case 1: return KerekitRound(x);
        case 2: return KerekitRound(x / 10.0L) * 10.0L;
        case 3: return KerekitRound(x / 100.0L) * 100.0L;
        case -1: return KerekitRound(x * 10000.0L) / 10000.0L;
        default: return 0;
    }
}

long double roundTo(int decimals, long double x) {
    // The usual places from a table: the same exact powers, without the cost of powl on every
    // value a statistic rounds.
    static constexpr long double kPowers[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L};
    const long double scale =
        decimals >= 0 && decimals < int(std::size(kPowers)) ? kPowers[decimals] : std::pow(10.0L, decimals);
    return KerekitRound(x * scale) / scale;
}

int64_t cashRound(long double x) {
    const int64_t r = KerekitRound(x);
    const int last = int((r < 0 ? -r : r) % 10);
    // Steps toward the nearest 0 or 5 for the last digit 0..9, for a positive amount.
    static const int kUp[10] = {0, -1, -2, +2, +1, 0, -1, -2, +2, +1};
    return x > 0 ? r + kUp[last] : r - kUp[last];
}

int64_t floatToInteger(double x) {
    // Settled by hand rather than by the floating-point rounding mode, which any library
    // call could have changed.
    const long double lower = std::floor(static_cast<long double>(x));
    requireIntegerRange(lower + 1);
    const long double fraction = x - lower;
    const int64_t low = int64_t(lower);
    if (fraction < 0.5L) return low;
    if (fraction > 0.5L) return low + 1;
    return low % 2 == 0 ? low : low + 1;
}

QString groupDigits(int64_t n) {
    const QString digits = QString::number(n);
    QString result;
    int taken = 0;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        result.prepend(digits[i]);
        if (++taken % 3 == 0) result.prepend(QLatin1Char(' '));
    }
    return result;
}

QString moneyText(double x) {
    const int64_t cents = KerekitRound(static_cast<long double>(x) * 100.0L);
    const uint64_t magnitude = cents < 0 ? 0 - uint64_t(cents) : uint64_t(cents);
    const QString whole = QString::number(magnitude / 100);
    QString grouped;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped += QLatin1Char(' ');
        grouped += whole[i];
    }
    const QString text = (cents < 0 ? QStringLiteral("-") : QString()) + grouped + QLatin1Char(',') +
                         QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0')) + QStringLiteral(" Ft");
    return text.rightJustified(12, QLatin1Char(' '));
}

}  // namespace kavina
