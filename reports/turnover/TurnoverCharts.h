#pragma once
// The bar charts of the turnover and profit statistics, as plain figures: which bars, which
// values, which labels. The windows draw them and the printed statistics carry them as a
// picture; neither decides anything about what a chart shows.
//
// A daily statistic has one group of bars per payment class (or per article of the day); a
// period has one group per day while it spans at most a month, per month beyond that, and per
// year beyond three years. Amounts are whole forints on an axis labelled with thousands
// grouped by blanks ("125 000 Ft").

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "foundation/MemTable.h"
#include "reports/turnover/DailyTurnover.h"
#include "reports/turnover/ProfitStatistics.h"

namespace kavina::reports {

struct ChartSeries {
    QString name;                // the legend's text
    std::vector<double> values;  // one per category
};

// A mark of the value axis.
struct ValueTick {
    double value;
    QString label;
};

struct BarChart {
    QString title;
    QString categoryTitle;  // the axis under the bars
    QString valueTitle;     // the axis of the amounts
    QStringList categories;
    std::vector<ChartSeries> series;
    std::vector<ValueTick> ticks;  // ascending; the first and last bound the value axis
    QString emptyText;             // shown in place of the bars when there was nothing sold
    bool sold = false;             // the day or period had sales (their bars may still be 0)

    // True when there were no sales to draw: the chart shows emptyText.
    bool isEmpty() const { return !sold || categories.isEmpty(); }
};

// The marks of a value axis that holds every value from low to high: round steps (1, 2 or 5
// times a power of ten, at least one forint), at most about six of them, including 0.
std::vector<ValueTick> valueTicks(double low, double high);

// The label of an amount on a value axis: "1 250 000 Ft".
QString forintLabel(double amount);

// The more articles than this a day or a period has, the rest share one bar ("Egyéb").
inline constexpr int kChartArticles = 10;

BarChart dailyTurnoverChart(const DailyTurnoverTotals& totals, const QDate& day);
// The articles of the day by gross value, the largest first. Leaves articles where it was.
BarChart dailyArticlesChart(MemTable& articles, const QDate& day);
BarChart dailyProfitChart(const DailyProfit& profit, const QDate& day);
// Gross turnover and profit per day of the period, or per month or year of a long period.
// Days are named by their day of the month, the first and each first of a month in full.
// Leaves rows where it was.
BarChart profitPerDayChart(MemTable& rows, const QDate& from, const QDate& to);
// The products of the period by profit, the largest first. Leaves rows where it was.
BarChart profitPerProductChart(MemTable& rows, const QDate& from, const QDate& to);

}  // namespace kavina::reports
