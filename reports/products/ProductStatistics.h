#pragma once
// The product statistics: the goods sold and the services used in a period, ranked by the
// quantity, the goods sold in a range of article numbers valued at today's prices, and the
// detailed list of the goods in stock with their margins and stock values. Each collection
// fills a working list in memory and reads the tables on its own handles.

#include <QDate>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Field.h"
#include "foundation/MemTable.h"
#include "reports/turnover/SalesSelection.h"

namespace kavina::reports {

// ---- Goods sold, services used ----

namespace soldlist {
inline constexpr std::string_view kTable = "eladott";
inline constexpr Field NEV{kTable, "NEV"};  // the key, compared ignoring case
inline constexpr Field SZJ{kTable, "SZJ"};
inline constexpr Field CIKKSZAM{kTable, "CIKKSZAM"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
inline constexpr Field AFA{kTable, "AFA"};
inline constexpr Field EGYSEGAR{kTable, "EGYSEGAR"};  // the average net unit price
inline constexpr Field FORGALOM{kTable, "FORGALOM"};  // the quantity
inline constexpr Field ERTEK{kTable, "ERTEK"};        // the net value, whole forints
inline constexpr Field BRUTTO{kTable, "BRUTTO"};
inline constexpr Field BRUTTOOSSZ{kTable, "BRUTTOOSSZ"};  // the average gross unit price
}  // namespace soldlist

enum class SoldKind { Goods, Services };

// Fills rows (emptied first) from the lines of the invoices and cash-register sales of the
// period: one row per name (letter case ignored, the first spelling kept), largest quantity
// first, only the first keep rows when keep is above 0.
void collectSold(const std::string& folder, const QDate& from, const QDate& to, SoldKind kind, int keep, MemTable& rows,
                 const Progress& progress = {});

// The gross values of a sold list per VAT rate, every rate in the order it first occurs.
struct VatSum {
    double rate;
    double gross;
};
std::vector<VatSum> vatBreakdown(MemTable& rows);

// ---- Goods by article number ----

namespace articlelist {
inline constexpr std::string_view kTable = "cikkszamszerint";
inline constexpr Field CIKKSZAM{kTable, "CIKKSZAM"};
inline constexpr Field NEV{kTable, "NEV"};  // the key, compared ignoring case
inline constexpr Field KESZLET{kTable, "KESZLET"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
inline constexpr Field FORGALOM{kTable, "FORGALOM"};
inline constexpr Field NBESZ{kTable, "NBESZ"};
inline constexpr Field NELAD{kTable, "NELAD"};
inline constexpr Field ARRES{kTable, "ARRES"};
}  // namespace articlelist

// The article numbers of a range: an empty end becomes "00000" or "99999".
std::pair<QString, QString> articleRange(const QString& from, const QString& to);

// Fills rows (emptied first) with the goods sold in the period whose article number lies in
// the range (text comparison, both ends included), one row per name, valued at the product's
// current stock, net purchase and net fixed price (0 when no product has the article
// number), sorted by article number ignoring case. Returns Σ ARRES.
double collectByArticle(const std::string& folder, const QDate& from, const QDate& to, const QString& firstArticle,
                        const QString& lastArticle, MemTable& rows, const Progress& progress = {});

// ---- The detailed product list ----

namespace productlist {
inline constexpr std::string_view kTable = "termeklista";
inline constexpr Field CIKKSZAM{kTable, "CIKKSZAM"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field MENNYISEG{kTable, "MENNYISEG"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
inline constexpr Field BESZERZAR{kTable, "BESZERZAR"};
inline constexpr Field bbesz{kTable, "bbesz"};
inline constexpr Field FIXAR{kTable, "FIXAR"};
inline constexpr Field bfixar{kTable, "bfixar"};
inline constexpr Field AFAKULCS{kTable, "AFAKULCS"};
inline constexpr Field ARRES{kTable, "ARRES"};  // the margin %, four decimals; 0 without a fixed price
inline constexpr Field HIBA{kTable, "HIBA"};    // no gross purchase price: the margin prints "HIBA"
inline constexpr Field ERTEK{kTable, "ERTEK"};  // the gross stock value, four decimals
}  // namespace productlist

enum class ProductOrder { ByName, ByArticle };

struct ProductListTotals {
    int count = 0;
    double marginSum = 0;      // the rows' margins; an error row adds nothing
    double purchaseNet = 0;    // Σ MENNYISEG × BESZERZAR
    double purchaseGross = 0;  // Σ MENNYISEG × bbesz
    double saleNet = 0;        // Σ MENNYISEG × FIXAR
    double saleGross = 0;      // Σ MENNYISEG × bfixar
    double stockValue = 0;     // Σ of the rows' stock values
    // Σ margins ÷ rows, every row counting; 0 without rows.
    double averageMargin() const { return count > 0 ? marginSum / count : 0; }
};

// Fills rows (emptied first) with the goods in stock (binned products too), by name or by
// article number.
ProductListTotals collectProductList(const std::string& folder, ProductOrder order, MemTable& rows,
                                     const Progress& progress = {});

}  // namespace kavina::reports
