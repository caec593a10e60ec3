#pragma once
// The VAT summary of a printed document: while the lines print, one row of sums per VAT
// rate (net, VAT, gross); the summary prints the four lowest rates, each with the document
// discount applied, and a totals row over those four. A fifth and further rate is collected
// but neither printed nor counted in the totals.
#include <vector>

namespace kavina {

struct VatSums {
    double rate = 0;
    double net = 0;    // sum of NETTOAR
    double vat = 0;    // sum of AFAFT
    double gross = 0;  // sum of OSSZESEN
};

// One printed row. With the net sum N, the gross sum G and the discount d percent:
// discount = R2(d / 100 * N), discountedNet = R2(N - discount), gross = G * (100 - d) / 100
// (not rounded), vat = gross - discountedNet; R2 rounds half away from zero to 2 decimals.
struct VatRow {
    double rate = 0;
    double net = 0;
    double discount = 0;
    double discountedNet = 0;
    double vat = 0;
    double gross = 0;
};

class VatSummary {
public:
    static constexpr int kPrintedRates = 4;

    void clear() { m_sums.clear(); }
    void add(double rate, double net, double vat, double gross);
    // Every rate collected, lowest first.
    const std::vector<VatSums>& sums() const { return m_sums; }
    // The rows printed: the four lowest rates.
    std::vector<VatRow> printedRows(int discountPercent) const;
    // The sums of the printed rows (rate 0).
    VatRow totals(int discountPercent) const;

private:
    std::vector<VatSums> m_sums;  // kept sorted by rate
};

VatRow discountedRow(const VatSums& sums, int discountPercent);

}  // namespace kavina
