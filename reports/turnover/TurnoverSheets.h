#pragma once
// The turnover and profit statistics as worksheet tables, for saving a statistic as a
// workbook beside its printout: the printed columns with the amounts as numbers, and the
// printed totals as the last rows.

#include <QDate>

#include "foundation/MemTable.h"
#include "report/Spreadsheet.h"
#include "reports/turnover/DailyTurnover.h"
#include "reports/turnover/ProfitStatistics.h"

namespace kavina::reports {

// The text of the row's field as a cell, without the blanks that pad it.
report::SheetValue sheetText(MemTable& rows, const Field& field);

// Each leaves the lists on the rows they were on.
report::SheetTable dailyTurnoverSheet(MemTable& documents, const DailyTurnoverTotals& totals);
report::SheetTable dailyArticlesSheet(MemTable& articles, double total);
report::SheetTable dailyProfitSheet(const DailyProfit& profit);
report::SheetTable profitPerDaySheet(MemTable& rows, const ProfitPerDayTotals& totals);
report::SheetTable profitPerProductSheet(MemTable& rows, const ProfitPerProductTotals& totals);

}  // namespace kavina::reports
