#pragma once
// Number texts of printed documents other than the money format (foundation/SzamSzov.h).
#include <QString>

namespace kavina {

// The general number format: up to 15 significant digits, decimal comma, no grouping
// (1234.5 gives "1234,5", 27 gives "27").
QString generalNumberText(double value);

// Whether printing the amount with two decimals rounds it: its value times 100 is not whole.
// Amounts carry at most four decimals, so a hundredth of a cent or less is floating noise.
bool needsMoreThanTwoDecimals(double amount);

// Whether the amount prints as zero in the money format.
bool printsAsZero(double amount);

}  // namespace kavina
