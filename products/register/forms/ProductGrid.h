#pragma once
// The product register's list as it looks: its columns (the third one the article number or,
// in barcode order, the barcode; number columns right-aligned), the workstation's list
// settings (zebra rows, font size) and the stock colours of the rows.

#include <QColor>
#include <vector>

#include "foundation/IniSettings.h"
#include "products/register/ProductList.h"
#include "products/register/ProductWindow.h"
#include "widgets/RecordGridModel.h"

class QTableView;

namespace kavina::products {

// The columns, in the list's order.
enum ProductColumn {
    Name,
    StatNumber,
    Code,
    Quantity,
    Unit,
    Level1,
    Level2,
    Level3,
    Fixed,
    Gross,
    Vat,
    Minimum,
    Store
};

std::vector<widgets::GridColumn> productColumns(SearchKey key, bool severalLevels);
// The column's width in pixels, enough for its usual texts, so that the list fits the window.
int productColumnWidth(ProductColumn column);

// The colour of a goods row with the stock tint (a RowTint row tag); none for RowTint::None.
QColor stockColour(RowTint tint, const IniSettings& settings);

}  // namespace kavina::products
