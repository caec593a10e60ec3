#include "products/register/forms/ProductGrid.h"

#include <QHeaderView>
#include <QTableView>

#include "foundation/CatalogueFields.h"
#include "products/register/ProductWindow.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
using widgets::ColumnKind;

}  // namespace

std::vector<widgets::GridColumn> productColumns(SearchKey key, bool severalLevels) {
    const bool barcode = key == SearchKey::Barcode;
    const ColumnKind number = ColumnKind::Number;
    return {
        {QStringLiteral("Megnevezés"), A::MEGNEVEZES, true},
        {QStringLiteral("VTSZ/SZJ"), A::ITJSZAM},
        {barcode ? QStringLiteral("Vonalkód") : QStringLiteral("Cikkszám"), barcode ? A::VONALKOD : A::CIKKSZAM, true},
        {QStringLiteral("Mennyiség"), A::MENNYISEG, false, number},
        {QStringLiteral("Mért.egys."), A::EGYSEG},
        {QStringLiteral("1. ár"), A::AR1, false, number},
        {QStringLiteral("2. ár"), A::AR2, false, number},
        {QStringLiteral("3. ár"), A::AR3, false, number},
        {severalLevels ? QStringLiteral("Fix.ár") : QStringLiteral("Eladási ár"), A::FIXAR, false, number},
        {QStringLiteral("Bruttó ár"), A::bfixar, false, number},
        {QStringLiteral("Áfakulcs"), A::AFAKULCS, false, number},
        {QStringLiteral("Min.menny"), A::MINMENNY, false, number},
        {QStringLiteral("Raktár"), A::MEGJEGYZES}};
}

int productColumnWidth(ProductColumn column) {
    switch (column) {
        case Name: return 250;
        case Code: return 90;
        case Quantity: return 75;
        case Store: return 120;
        case StatNumber:
        case Unit: return 65;
        case Vat: return 55;
        case Minimum: return 70;
        default: return 80;  // the prices
    }
}

QColor stockColour(RowTint tint, const IniSettings& settings) {
    switch (tint) {
        case RowTint::NoStock: return settings.graycolor;
        case RowTint::BelowMinimum: return settings.redcolor;
        case RowTint::None: break;
    }
    return {};
}

}  // namespace kavina::products
