#pragma once
// EAN-13 symbols as the barcode book prints them. A stored barcode of 12 digits gets its check
// digit; one of 13 digits must carry the right one. Anything else (another length, a letter,
// a wrong check digit) has no symbol: the label prints its text with a mark instead, so that
// no label leaves the printer with bars a scanner would read as another product.

#include <QString>
#include <optional>

namespace kavina::products {

// The check digit of the first 12 digits: weights 1 and 3 from the left, to the next ten.
// Requires: twelve holds at least 12 digits.
int ean13CheckDigit(const QString& twelve);

struct Ean13 {
    QString digits;  // all 13
    // The 95 modules from the start guard to the end guard, '1' for a bar, '0' for a space.
    QString modules() const;
};

// The symbol of the stored text (blanks around it ignored), or nothing when it is not an
// EAN-13 number.
std::optional<Ean13> ean13Of(const QString& stored);

// What a label prints instead of a symbol: "Nincs vonalkód" for an empty text,
// "Hibás ellenőrző szám: <text>" for 13 digits with a wrong check digit, "Nem EAN-13 kód:
// <text>" for anything else.
QString ean13Refusal(const QString& stored);

}  // namespace kavina::products
