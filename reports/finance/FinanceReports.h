#pragma once
// The printed financial statistics: the turnover list, the profit per document and the value
// of the stock, each over the working list its collection filled.

#include <QDate>
#include <QString>
#include <memory>

#include "foundation/MemTable.h"
#include "report/Layout.h"
#include "reports/finance/FinancialStatistics.h"

namespace kavina::reports {

std::unique_ptr<report::Layout> turnoverListReport(MemTable& rows, int64_t total, const QDate& from, const QDate& to,
                                                   const QString& user);

std::unique_ptr<report::Layout> profitListReport(MemTable& rows, const ProfitTotals& totals, ProfitBasis basis,
                                                 const QDate& from, const QDate& to, const QString& user);

std::unique_ptr<report::Layout> stockValueReport(MemTable& rows, const StockValue& totals, const QString& user);

// " STATISZTIKA " over the subtitle and the period line (none when empty), landscape: the
// title of every printed statistic.
std::unique_ptr<report::Layout> statistics(RecordCursor* source, const QString& subtitle, const QString& period);

// "%12.2n": two decimals, blank-grouped thousands, a decimal comma, no currency sign.
QString numberText(double x);

}  // namespace kavina::reports
