#include "invoicing/print/VatSummary.h"

#include <algorithm>
#include <cmath>

#include "foundation/SzamSzov.h"

namespace kavina {
namespace {

// Rates are read from floating fields; a rate that differs only by noise is the same rate.
bool sameRate(double a, double b) {
    return std::fabs(a - b) < 1e-6;
}

}  // namespace

void VatSummary::add(double rate, double net, double vat, double gross) {
    auto it = std::find_if(m_sums.begin(), m_sums.end(), [&](const VatSums& s) { return sameRate(s.rate, rate); });
    if (it == m_sums.end()) {
        it = std::find_if(m_sums.begin(), m_sums.end(), [&](const VatSums& s) { return s.rate > rate; });
        it = m_sums.insert(it, VatSums{rate, 0, 0, 0});
    }
    it->net += net;
    it->vat += vat;
    it->gross += gross;
}

VatRow discountedRow(const VatSums& sums, int discountPercent) {
    const long double d = discountPercent;
    VatRow row;
    row.rate = sums.rate;
    row.net = sums.net;
    row.discount = double(Kerekit(0, d / 100 * sums.net));
    row.discountedNet = double(Kerekit(0, (long double)sums.net - row.discount));
    row.gross = double(sums.gross * (100 - d) / 100);
    row.vat = row.gross - row.discountedNet;
    return row;
}

std::vector<VatRow> VatSummary::printedRows(int discountPercent) const {
    std::vector<VatRow> rows;
    for (size_t i = 0; i < m_sums.size() && i < size_t(kPrintedRates); ++i)
        rows.push_back(discountedRow(m_sums[i], discountPercent));
    return rows;
}

VatRow VatSummary::totals(int discountPercent) const {
    VatRow total;
    for (const VatRow& row : printedRows(discountPercent)) {
        total.net += row.net;
        total.discount += row.discount;
        total.discountedNet += row.discountedNet;
        total.vat += row.vat;
        total.gross += row.gross;
    }
    return total;
}

}  // namespace kavina
