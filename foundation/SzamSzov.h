#pragma once
// Money arithmetic and money text: amounts in Hungarian words, the rounding modes of prices
// and totals, cash rounding, digit grouping and the money format. Pure functions, no state.
//
// Two roundings live side by side on purpose. Kerekit and its relatives round halves away
// from zero (2.5 gives 3) and are used wherever an amount is rounded as a business rule;
// floatToInteger rounds ties to even (2.5 gives 2) and is what reading a floating field as an
// integer does. Mixing them changes totals by a forint, so each caller names the one it means.
#include <QString>
#include <cstdint>

namespace kavina {

// The amount in Hungarian words, as printed under document totals: "kettőezer-egy",
// "mínusz egymillió-kettőszázharmincnégyezer-ötszázhatvanhét". 0 gives an empty text.
// Digits above the hundred-millions place are not written.
QString SzamSzov(int64_t n);

// Half away from zero, computed in long double. Throws std::range_error for a value that is not
// finite or does not fit a 64-bit integer.
int64_t KerekitRound(long double x);

// Money rounding by mode: 0 two decimals, 1 whole forints, 2 tens, 3 hundreds, -1 four
// decimals; any other mode gives 0. Modes 0-3 are the SELOTAG choices of the settings.
long double Kerekit(int mode, long double x);

// KerekitRound(x * 10^decimals) / 10^decimals.
long double roundTo(int decimals, long double x);

// The nearest amount ending in 0 or 5, negative amounts mirrored: 103 gives 105, -103 gives -105.
int64_t cashRound(long double x);

// The plain conversion of a floating value to an integer: nearest, ties to even.
// Throws std::range_error like KerekitRound.
int64_t floatToInteger(double x);

// Decimal digits with a blank before every third character from the right, the minus sign
// counted as a character: 1234567 gives "1 234 567", 123 gives " 123", -123 gives "- 123".
QString groupDigits(int64_t n);

// The money format "%12.2m" of a Hungarian workstation: two decimals (halves away from zero),
// blank as thousands separator, comma as decimal separator, " Ft" after the number, minus sign
// first, right-aligned in at least 12 characters: 1234.5 gives " 1 234,50 Ft".
QString moneyText(double x);

}  // namespace kavina
