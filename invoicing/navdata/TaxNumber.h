#pragma once
// Hungarian tax numbers (adószám) in their 8-1-2 form: the taxpayer's eight digits, whose last
// is a check digit, the VAT code (1-5) and the county code (two digits), as "12345676-2-41".
// Also the community (EU) tax number's form: two letters of the country, then 2 to 13 letters
// or digits.

#include <QString>
#include <optional>

namespace kavina::nav {

struct TaxNumber {
    QString taxpayerId;  // eight digits
    QString vatCode;     // one digit
    QString countyCode;  // two digits
};

// The parts of the first 8-1-2 number in the text (blanks allowed around the dashes; a text
// such as "Adószám: 12345676-2-41" gives its number); nothing when the text holds none.
std::optional<TaxNumber> findTaxNumber(const QString& text);

// Whether the eighth digit is the check digit of the first seven (weights 9, 7, 3, 1, 9, 7, 3).
bool hasValidCheckDigit(const QString& taxpayerId);

// Why a tax number the clerk typed is refused, in Hungarian; nothing when it is a whole 8-1-2
// number with a right check digit, VAT code 1-5 and a county code. An empty text is allowed.
std::optional<QString> taxNumberProblem(const QString& text);

// The EU tax number without blanks, upper case, when it has the community form.
std::optional<QString> communityVatNumber(const QString& text);

}  // namespace kavina::nav
