#pragma once
// The printed product statistics: the goods sold or services used with their VAT breakdown,
// the goods by article number, and the detailed product list. Each layout reads its working
// list while it is prepared, so the list must outlive the prepare() of its layout.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <memory>

#include "foundation/MemTable.h"
#include "report/Layout.h"
#include "reports/products/ProductStatistics.h"

namespace kavina::reports {

// "Időszak: 2008.03.01-2008.03.31", as the product and partner statistics print the period.
QString periodLine(const QDate& from, const QDate& to);

std::unique_ptr<report::Layout> soldReport(MemTable& rows, SoldKind kind, const QDate& from, const QDate& to,
                                           const QString& user);

std::unique_ptr<report::Layout> byArticleReport(MemTable& rows, double totalMargin, const QDate& from, const QDate& to,
                                                const QString& user);

// " Részletes terméklista ", printed at the moment given, with the page count on every page.
std::unique_ptr<report::Layout> productListReport(MemTable& rows, const ProductListTotals& totals,
                                                  const QDateTime& printed);

}  // namespace kavina::reports
