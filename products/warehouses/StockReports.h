#pragma once
// The two stock lists of the main window, run over the shared products handle:
//
// - the stock report, which doubles as the stocktaking sheet: every product with a positive
//   net fixed price (FIXAR > 0; services and binned products with such a price too, the
//   warehouse playing no part), ordered by the setting tsorrend (name for 0, article number
//   otherwise), with empty "+" and "-" columns for the counter to write in. The order stays
//   afterwards; the filter goes and the current product stays current.
// - the low-stock list: every product's KEVES brought up to date (MINMENNY >= MENNYISEG, a
//   blank minimum counting as 0), then the low-stock goods that are not binned printed in
//   product list layout A, grouped by category. The handle ends ordered by name, unfiltered,
//   on the product it was on.
//
// KEVES is written only where it changes, each product locked and read again first, so no
// stock movement another workstation stores meanwhile is overwritten.

#include <QDateTime>
#include <chrono>
#include <memory>

#include "foundation/TDataModule1.h"
#include "products/lists/ProductListReport.h"
#include "report/Layout.h"

namespace kavina::products {

// Whether the product is low on stock: its minimum at or above its quantity.
bool lowOnStock(const RecordCursor& product);

// Brings KEVES of every product up to date; returns how many changed. Throws RuleError when
// a product stays locked by another workstation.
int refreshLowStock(TDataModule1& data, std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000));

// The stock report's layout over the products as the cursor shows them.
std::unique_ptr<report::Layout> stockReportLayout(RecordCursor& products, const QDateTime& made);

// The stock report run: order, filter, the pages, the filter removed.
report::PreparedReport prepareStockReport(TDataModule1& data, int tsorrend, const QDateTime& made);

// The low-stock list run: order, flags, filter, the pages, order by name, filter removed.
report::PreparedReport prepareLowStockList(TDataModule1& data, const ListFooter& footer,
                                           std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000));

}  // namespace kavina::products
