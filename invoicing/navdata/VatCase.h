#pragma once
// The exemption or out-of-scope case of the data folder's 0 % VAT group, as the invoice prints
// it: the case code in the rate column where a plain 0 % group prints "FAD", and the legal
// reason in the remarks.

#include <QString>
#include <optional>
#include <string>

namespace kavina::nav {

struct VatCase {
    QString code;    // AAM, TAM, KBAET, ATK...
    QString reason;  // the legal reason
};

// The case of the folder's 0 % group (the first of that rate, as the invoice data takes it);
// nothing for a plain 0 % group, or a folder whose VAT groups carry no kind yet.
std::optional<VatCase> zeroRateCase(const std::string& folder);

}  // namespace kavina::nav
