#pragma once
// What the product dialog (TAnyagSzerk) and the service dialog (TSzolgszerk) edit, how it is
// read from and written into a product record, and the price rule applied where a product is
// saved: every gross price a whole number of forints, every net price that gross over the VAT
// factor to four decimals.

#include <QString>
#include <array>
#include <optional>

#include "foundation/RecordCursor.h"
#include "foundation/TableHandle.h"

namespace kavina::products {

struct ProductFields {
    bool service = false;                      // TERMEK
    QString name;                              // MEGNEVEZES
    QString warehouse;                         // MEGJEGYZES, the warehouse label (goods)
    QString category;                          // KATEGORIA
    QString statNumber;                        // ITJSZAM, "VTSZ/SZJ"
    QString articleNumber;                     // CIKKSZAM
    QString barcode;                           // VONALKOD (goods)
    QString unit;                              // EGYSEG
    QString vatGroup;                          // the name of an AFA.dbf group
    QString picture;                           // KEP (goods)
    double minimum = 0;                        // MINMENNY (goods), stored empty when 0
    int warranty = 0;                          // szavatossag, days (goods)
    bool onPriceList = true;                   // LISTA
    std::array<double, 4> prices{0, 0, 0, 0};  // AR1-AR3 and FIXAR (services)
    // The product's own rate when no VAT group has it (the group was deleted, or its rate
    // changed without the products): vatGroup then reads ungroupedVatText(rate), so that
    // saving keeps the rate.
    std::optional<double> ungroupedRate;

    bool operator==(const ProductFields&) const = default;
};

// The dialog's fields of a record; vatGroup is the name of the group whose rate equals the
// record's rate taken as a whole number, or ungroupedVatText() of the rate when there is none.
ProductFields readProductFields(const RecordCursor& product, TableHandle& vatGroups);

// Writes the dialog's fields into a record in edit or insert state (the goods' fields for
// goods, the prices for services) and AFAKULCS = vatRate.
void writeProductFields(RecordCursor& product, const ProductFields& fields, double vatRate);

// The price pairs again from the net prices at the record's VAT rate: each gross price
// brought to whole forints, then each net price back from it to four decimals (halves away
// from zero both). Requires: the record in edit or insert state.
void rederivePrices(RecordCursor& product);

// Gross prices of a new service: net × (rate + 100) / 100, not rounded.
void writeServiceGrossPrices(RecordCursor& product, double vatRate);

// The VAT group of that name (case ignored): its rate. Nothing when there is no such group.
std::optional<double> vatRateOfGroup(TableHandle& vatGroups, const QString& name);
// The name of the first group whose rate, taken as a whole number, is the given one.
QString vatGroupOfRate(TableHandle& vatGroups, double rate);
// "<rate> % (nincs csoport)": the VAT box's entry for a rate no group has.
QString ungroupedVatText(double rate);
// The rate the VAT box's text stands for: the group of that name, or the product's own rate
// while the box shows it as ungroupedVatText(). Nothing when the text is neither.
std::optional<double> vatRateOf(TableHandle& vatGroups, const QString& boxText, std::optional<double> ungroupedRate);
// The names of the VAT groups in the table's order.
QStringList vatGroupNames(TableHandle& vatGroups);

}  // namespace kavina::products
