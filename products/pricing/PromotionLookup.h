#pragma once
// The promotion of a product on a day: a time-limited gross price (akcio.dbf) that overrides
// the level price when the product is picked onto a document line. A promotion covers its
// first and last day both. Where several promotions of the product cover the day, the first
// in the table's physical order wins, as older versions of the program pick it, so that every
// workstation prices the same line alike.
//
// The look-up reads through a handle of its own: the promotions window's filter and position
// on the shared handle are never touched. A folder without akcio.dbf has no promotions.

#include <QDate>
#include <optional>

#include "foundation/TableHandle.h"

namespace kavina::products {

struct Promotion {
    CursorMark record;       // where it is in akcio.dbf
    double productCode = 0;  // kod, the product's ANYAGKOD
    QDate from;              // mettol
    QDate to;                // meddig
    double gross = 0;        // bruttoar
};

// The promotion of the product (ANYAGKOD) that covers the day; nothing when none does or the
// handle of akcio.dbf is closed (the file is missing).
std::optional<Promotion> promotionOn(const TableHandle& promotions, double productCode, const QDate& day);

// The line prices a promotion gives at the product's VAT rate: the gross price as it is, and
// the net price gross ÷ (rate + 100) × 100 to four decimals.
struct PromotionPrices {
    double net = 0;
    double gross = 0;
};
PromotionPrices promotionPrices(double gross, double vatRate);

}  // namespace kavina::products
