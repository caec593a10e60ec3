#include "products/pricing/PriceRules.h"

#include "foundation/SzamSzov.h"

namespace kavina::products {

namespace {

long double factorOf(double vatRate) {
    return 1 + (long double)vatRate / 100;
}

}  // namespace

double toFourDecimals(double value) {
    return double(Kerekit(-1, value));
}

double grossOf(double net, double vatRate) {
    return double(Kerekit(-1, net * factorOf(vatRate)));
}

double netOf(double gross, double vatRate) {
    return double(Kerekit(-1, gross / factorOf(vatRate)));
}

PricePair wholeGrossPair(double net, double vatRate) {
    const long double f = factorOf(vatRate);
    const long double gross = Kerekit(1, net * f);
    return {double(Kerekit(-1, gross / f)), double(gross)};
}

double levelPrice(double purchaseNet, double markup, int rounding) {
    return double(Kerekit(rounding, purchaseNet * (1 + (long double)markup / 100)));
}

DerivedLevels deriveLevels(double purchaseNet, const LevelRule& rule, double vatRate) {
    DerivedLevels d;
    for (size_t n = 0; n < 3; ++n) {
        const double net = levelPrice(purchaseNet, rule.markups[n], rule.rounding);
        d.levels[n] = {net, grossOf(net, vatRate)};
        if (n == 0 || net > d.highest.net) d.highest = d.levels[n];
    }
    return d;
}

}  // namespace kavina::products
