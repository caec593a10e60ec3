#pragma once
// The printed financial statistics as worksheet tables, for saving one as a workbook beside
// its printout: the printed columns with amounts and dates as numbers and texts, and the
// printed totals as the last rows.

#include "foundation/MemTable.h"
#include "report/Spreadsheet.h"
#include "reports/finance/FinancialStatistics.h"

namespace kavina::reports {

// Each leaves the list on the row it was on.
report::SheetTable turnoverListSheet(MemTable& rows, int64_t total);
report::SheetTable profitListSheet(MemTable& rows, const ProfitTotals& totals);
report::SheetTable stockValueSheet(MemTable& rows, const StockValue& totals);

}  // namespace kavina::reports
