#include "products/pricing/PromotionLookup.h"

#include "foundation/CatalogueFields.h"
#include "foundation/SzamSzov.h"
#include "foundation/TableReader.h"

namespace kavina::products {

namespace K = fields::Akcio;

std::optional<Promotion> promotionOn(const TableHandle& promotions, double productCode, const QDate& day) {
    if (!promotions.isOpen() || !day.isValid()) return std::nullopt;
    // Codes are whole numbers held in floating fields; they compare as the integers they are.
    const int64_t code = KerekitRound(productCode);
    const auto reader = readerOf(promotions, ReaderView::Unfiltered);
    for (reader->first(); !reader->eof(); reader->next()) {
        if (reader->isNull(K::kod) || reader->asInteger(K::kod) != code) continue;
        const QDate from = reader->asDateTime(K::mettol).date();
        const QDate to = reader->asDateTime(K::meddig).date();
        // A promotion without a first or last day covers no day.
        if (!from.isValid() || !to.isValid() || day < from || day > to) continue;
        return Promotion{reader->bookmark(), productCode, from, to, reader->asFloat(K::bruttoar)};
    }
    return std::nullopt;
}

PromotionPrices promotionPrices(double gross, double vatRate) {
    return {double(Kerekit(-1, (long double)gross / ((long double)vatRate + 100) * 100)), gross};
}

}  // namespace kavina::products
