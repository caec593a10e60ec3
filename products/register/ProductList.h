#pragma once
// The product register's list: which products the shared products handle shows (a tab, a
// warehouse and a category composed into one filter), in which order (name, article number
// or barcode), the incremental search in that order, and the lists of the warehouse and
// category boxes.
//
// Warehouse labels and categories are quoted into the filter as constants and matched whole
// (case ignored), so a value with an apostrophe or a trailing "*" lists exactly its own
// products.

#include <QString>
#include <QStringList>
#include <set>
#include <string>

#include "foundation/Field.h"
#include "foundation/TableHandle.h"

namespace kavina::products {

// The tabs of the list, in the window's order.
enum class ProductTab { All, Empty, InStock, Services, Bin };
inline constexpr int kProductTabCount = 5;
QString tabCaption(ProductTab tab);

// The first item of the warehouse and category boxes: no restriction.
inline const QString kEveryItem = QStringLiteral("minden");
// The category that puts a product in the recycle bin.
inline const QString kBinCategory = QStringLiteral("Lomtár");

// What the filter is built for: choosing a tab, or changing the warehouse or category box.
// They differ on the "Üres anyaglista" tab: choosing the tab lists the products with no
// quantity, a box change those flagged out of stock.
enum class ListChange { Tab, Box };

// The list's filter expression. warehouse and category are the boxes' texts (kEveryItem or
// empty for none); the category restricts only on a box change, as choosing a tab resets it.
std::string listFilter(ProductTab tab, const QString& warehouse, const QString& category, ListChange change);
// Sets the filter on the handle (case ignored, values matched whole) and switches it on.
void applyListFilter(TableHandle& products, const std::string& filter);

// The order of the list and the search key: the setting tsorrend's 0, 1 and 2.
enum class SearchKey { Name, ArticleNumber, Barcode };
SearchKey searchKeyOf(int tsorrend);
const Field& orderField(SearchKey key);
// The search key box's items: "Megnevezés", "Cikkszám", "Vonalkód".
QString searchKeyCaption(SearchKey key);

// The search text as it is looked up: cut to 100 characters for the name and 30 for the
// article number and the barcode, then trimmed.
QString searchText(SearchKey key, const QString& typed);
// Moves to the first product of the list whose ordering field starts with the text, case
// ignored; stays where it is when none does. Requires: the handle ordered by orderField(key).
bool incrementalSearch(TableHandle& products, SearchKey key, const QString& typed);

// "minden" and the warehouse labels of raktar.dbf in its order; only "minden" when the
// table is missing (its handle closed).
QStringList warehouseItems(TableHandle& warehouses);
// The label a product keeps of a warehouse: AZON and MEGNEVEZES joined by a blank, trimmed.
QString warehouseLabel(const QString& id, const QString& name);

// "minden" and the distinct non-empty categories of the products the list shows now, sorted.
// Reads through its own handle with the list's filter; the shared handle does not move.
QStringList categoryItems(const TableHandle& products);
// "minden" and the categories given, sorted in Hungarian order.
QStringList categoryItems(const std::set<QString>& categories);

}  // namespace kavina::products
