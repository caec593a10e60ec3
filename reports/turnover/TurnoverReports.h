#pragma once
// The printed turnover and profit statistics: one band layout per statistic over the working
// lists its collection filled. The layouts read the lists while they are prepared, so a list
// must outlive the prepare() of its layout.

#include <QDate>
#include <QString>
#include <memory>

#include "foundation/MemTable.h"
#include "report/Layout.h"
#include "reports/turnover/DailyTurnover.h"
#include "reports/turnover/ProfitStatistics.h"
#include "reports/turnover/ReportBands.h"

namespace kavina::reports {

// "Napi forgalomkimutatás": the documents by payment code, each code with its VAT breakdown
// (every rate of the code), and the totals of the three payment modes.
std::unique_ptr<report::Layout> dailyTurnoverReport(MemTable& documents, MemTable& vat,
                                                    const DailyTurnoverTotals& totals, const QDate& day);

// "Napi forgalomkimutatás" per article number.
std::unique_ptr<report::Layout> dailyArticlesReport(MemTable& articles, double total, const QDate& day);

// "Napi forgalomkimutatás haszonszámítással".
std::unique_ptr<report::Layout> dailyProfitReport(const DailyProfit& profit, const QDate& day);

// "Forgalom kimutatás haszon számítással": one row per day of the period.
std::unique_ptr<report::Layout> profitPerDayReport(MemTable& rows, const ProfitPerDayTotals& totals, const QDate& from,
                                                   const QDate& to);

// "Időszakos haszon, és átlag árrés számítás termékenként".
std::unique_ptr<report::Layout> profitPerProductReport(MemTable& rows, const ProfitPerProductTotals& totals,
                                                       const QDate& from, const QDate& to);

}  // namespace kavina::reports
