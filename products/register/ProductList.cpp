#include "products/register/ProductList.h"

#include <QCollator>
#include <QLocale>
#include <set>

#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/TableReader.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace R = fields::Raktar;

std::string notBinned() {
    return "(NOT " + A::KATEGORIA.text() + "=" + filter::constant(kBinCategory) + ")";
}

std::string tabPart(ProductTab tab, ListChange change) {
    const std::string goods = "(NOT " + A::TERMEK.text() + ")";
    switch (tab) {
        case ProductTab::All: return goods + " AND " + notBinned();
        case ProductTab::Empty:
            // A box change lists the products flagged out of stock by their last receiving or
            // issue; choosing the tab lists those with no quantity now.
            if (change == ListChange::Box) return A::NINCSANYAG.text() + " AND " + goods + " AND " + notBinned();
            return "(" + A::MENNYISEG.text() + "<=0) AND " + goods + " AND " + notBinned();
        case ProductTab::InStock: return "(" + A::MENNYISEG.text() + ">0) AND " + goods + " AND " + notBinned();
        case ProductTab::Services: return A::TERMEK.text() + " AND " + notBinned();
        case ProductTab::Bin: return A::KATEGORIA.text() + "=" + filter::constant(kBinCategory);
    }
    return {};
}

bool restricts(const QString& boxText) {
    return !boxText.isEmpty() && boxText != kEveryItem;
}

}  // namespace

QString tabCaption(ProductTab tab) {
    switch (tab) {
        case ProductTab::All: return QStringLiteral("Teljes anyaglista");
        case ProductTab::Empty: return QStringLiteral("Üres anyaglista");
        case ProductTab::InStock: return QStringLiteral("Csak amiből van raktáron");
        case ProductTab::Services: return QStringLiteral("Szolgáltatások");
        case ProductTab::Bin: return QStringLiteral("Lomtár");
    }
    return {};
}

std::string listFilter(ProductTab tab, const QString& warehouse, const QString& category, ListChange change) {
    std::string expression;
    if (restricts(warehouse) && tab != ProductTab::Services)
        expression = "(" + A::MEGJEGYZES.text() + "=" + filter::constant(warehouse) + ") AND ";
    expression += "(" + tabPart(tab, change) + ")";
    if (change == ListChange::Box && restricts(category))
        expression += " AND " + A::KATEGORIA.text() + "=" + filter::constant(category);
    return expression;
}

void applyListFilter(TableHandle& products, const std::string& filter) {
    products.setFilterOptions({.caseInsensitive = true, .noPrefixMatching = true});
    products.setFilter(filter);
    products.setFiltered(true);
}

SearchKey searchKeyOf(int tsorrend) {
    if (tsorrend == 1) return SearchKey::ArticleNumber;
    if (tsorrend == 2) return SearchKey::Barcode;
    return SearchKey::Name;
}

const Field& orderField(SearchKey key) {
    switch (key) {
        case SearchKey::ArticleNumber: return A::CIKKSZAM;
        case SearchKey::Barcode: return A::VONALKOD;
        case SearchKey::Name: break;
    }
    return A::MEGNEVEZES;
}

QString searchKeyCaption(SearchKey key) {
    switch (key) {
        case SearchKey::ArticleNumber: return QStringLiteral("Cikkszám");
        case SearchKey::Barcode: return QStringLiteral("Vonalkód");
        case SearchKey::Name: break;
    }
    return QStringLiteral("Megnevezés");
}

QString searchText(SearchKey key, const QString& typed) {
    return typed.left(key == SearchKey::Name ? 100 : 30).trimmed();
}

bool incrementalSearch(TableHandle& products, SearchKey key, const QString& typed) {
    const QString text = searchText(key, typed);
    if (text.isEmpty()) return false;
    return products.locate({{orderField(key), text}}, {.caseInsensitive = true, .partialKey = true});
}

QString warehouseLabel(const QString& id, const QString& name) {
    return (id.trimmed() + QLatin1Char(' ') + name.trimmed()).trimmed();
}

QStringList warehouseItems(TableHandle& warehouses) {
    QStringList items{kEveryItem};
    if (!warehouses.isOpen()) return items;
    const auto reader = readerOf(warehouses, ReaderView::Unfiltered);
    for (reader->first(); !reader->eof(); reader->next())
        items << warehouseLabel(reader->asString(R::AZON), reader->asString(R::MEGNEVEZES));
    return items;
}

QStringList categoryItems(const TableHandle& products) {
    std::set<QString> distinct;
    const auto reader = readerOf(products, ReaderView::SameFilter);
    const int field = reader->fieldNumber(A::KATEGORIA);
    for (reader->first(); !reader->eof(); reader->next()) {
        const QString category = reader->asString(field).trimmed();
        if (!category.isEmpty()) distinct.insert(category);
    }
    return categoryItems(distinct);
}

QStringList categoryItems(const std::set<QString>& categories) {
    QStringList sorted(categories.begin(), categories.end());
    QCollator hungarian{QLocale(QLocale::Hungarian, QLocale::Hungary)};
    std::sort(sorted.begin(), sorted.end(), hungarian);
    sorted.prepend(kEveryItem);
    return sorted;
}

}  // namespace kavina::products
