#pragma once
// How a product's prices hang together. Every price is held twice, net and gross, tied by the
// product's VAT rate r through the factor f = 1 + r/100; the sale price levels 1-3 can be
// derived from the net purchase price with the markups of the settings record (SZORZO1-3)
// and its rounding (SELOTAG, a Kerekit mode). Pure functions: the repricing window, the
// receiving dialog, the VAT group change and the invoice editor all price alike through them.
//
// Every rounding here is half away from zero, computed in long double.

#include <array>

namespace kavina::products {

// The gross price of a net price: net × f, to four decimals (1 000 at 27 % gives 1 270).
double grossOf(double net, double vatRate);
// The net price of a gross price: gross ÷ f, to four decimals (1 000 at 27 % gives 787.4016).
double netOf(double gross, double vatRate);
// A price to four decimals, as net prices are stored.
double toFourDecimals(double value);

// A price pair as the product edit and the VAT group change store it: the gross price brought
// to whole forints from the net, then the net taken back from that gross to four decimals
// (a net of 999.99 at 25 % gives gross 1 250 and net 1 000).
struct PricePair {
    double net = 0;
    double gross = 0;
};
PricePair wholeGrossPair(double net, double vatRate);

// A level price from the net purchase price: Kerekit(rounding, purchase × (1 + markup/100)).
// rounding is SELOTAG: 0 two decimals, 1 whole forints, 2 tens, 3 hundreds.
double levelPrice(double purchaseNet, double markup, int rounding);

// The markups and rounding the derivation follows.
struct LevelRule {
    std::array<double, 3> markups{0, 0, 0};  // SZORZO1-3, percent
    int rounding = 1;                        // SELOTAG
};

// The three level prices derived from a net purchase price, each with its gross price
// (net × f to four decimals), and the highest of the three, which the fixed price takes.
struct DerivedLevels {
    std::array<PricePair, 3> levels;
    PricePair highest;
};
DerivedLevels deriveLevels(double purchaseNet, const LevelRule& rule, double vatRate);

}  // namespace kavina::products
