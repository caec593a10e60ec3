#pragma once
// The text of the program's number boxes: a decimal comma, at most four decimals and no
// trailing zeros (1587.5 shows as "1587,5", 100 as "100"). The boxes take digits, the comma
// and the minus sign only; reading also takes a decimal point, as values pasted from other
// programs carry one.
#include <QString>
#include <optional>

namespace kavina {

// The value rounded to four decimals, halves away from zero, in the boxes' form.
QString numberBoxText(double value);

// The number a box holds. An empty (or blank) box reads as 0; text that is not a number
// (letters, a lone "-", two commas) gives nothing.
std::optional<double> readNumberBox(const QString& text);

// Whether the text is one the boxes let the user type: digits, commas and minus signs only.
bool isNumberBoxInput(const QString& text);

}  // namespace kavina
