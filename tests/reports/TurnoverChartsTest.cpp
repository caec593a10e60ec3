// The charts of the turnover and profit statistics over collected working lists: which bars,
// which values and which labels, and the value axis marks.

#include <gtest/gtest.h>

#include <cmath>

#include "SalesReportsFolder.h"
#include "reports/turnover/TurnoverCharts.h"

namespace kavina::reports {
namespace {

class TurnoverChartsTest : public SalesReportsFolder {
protected:
    MemTable rows{"forgalom"};
};

double sum(const std::vector<double>& values) {
    double s = 0;
    for (double v : values) s += v;
    return s;
}

TEST(ValueTicksTest, MarksCoverTheValuesInRoundStepsThroughZero) {
    struct Case {
        double low, high;
    };
    for (const Case c : {Case{0, 12700}, Case{-1200, 3000}, Case{0, 7}, Case{0, 1234567.8}, Case{-50, -10}}) {
        const std::vector<ValueTick> ticks = valueTicks(c.low, c.high);
        ASSERT_GE(ticks.size(), 2u) << c.low << " " << c.high;
        EXPECT_LE(ticks.size(), 8u);
        EXPECT_LE(ticks.front().value, std::min(c.low, 0.0));
        EXPECT_GE(ticks.back().value, std::max(c.high, 0.0));
        const double step = ticks[1].value - ticks[0].value;
        EXPECT_GE(step, 1);
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << step;
        bool zero = false;
        for (size_t i = 0; i < ticks.size(); ++i) {
            if (i > 0) {
                EXPECT_DOUBLE_EQ(ticks[i].value - ticks[i - 1].value, step);
            }
            zero = zero || ticks[i].value == 0;
        }
        EXPECT_TRUE(zero);
    }
    const std::vector<ValueTick> ticks = valueTicks(0, 12700);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_EQ(ticks[1].label, QStringLiteral("5 000 Ft"));
    EXPECT_EQ(ticks[3].label, QStringLiteral("15 000 Ft"));
    EXPECT_EQ(valueTicks(-2500000, 0).front().label, QStringLiteral("-2 500 000 Ft"));
    // Nothing to show still gives an axis.
    EXPECT_EQ(valueTicks(0, 0).size(), 2u);
}

TEST_F(TurnoverChartsTest, AShortPeriodHasABarPairForEveryDayEvenWithoutSales) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900}});
    store(SalesMode::CashSale, kDay.addDays(2), kCash, {{"A1", 1, 1000, 500}});
    store(SalesMode::Invoice, kDay.addDays(2), kOther, {{"A1", 1, 1000, 500}});
    collectProfitPerDay(folder(), kDay, kDay.addDays(3), rows);
    const BarChart c = profitPerDayChart(rows, kDay, kDay.addDays(3));

    EXPECT_EQ(c.categoryTitle, QStringLiteral("Nap"));
    EXPECT_EQ(c.categories, (QStringList{"03.10.", "11", "12", "13"}));
    ASSERT_EQ(c.series.size(), 2u);
    EXPECT_EQ(c.series[0].name, QStringLiteral("Bruttó össz."));
    EXPECT_EQ(c.series[0].values, (std::vector<double>{12700, 0, 2540, 0}));
    EXPECT_EQ(c.series[1].name, QStringLiteral("Haszon"));
    EXPECT_EQ(c.series[1].values, (std::vector<double>{1000, 0, 1000, 0}));
    EXPECT_FALSE(c.isEmpty());
    EXPECT_GE(c.ticks.back().value, 12700);
    EXPECT_EQ(c.ticks.front().value, 0);

    // A month's turn names its first day in full, and a day number seen before goes in full.
    const BarChart turn = profitPerDayChart(rows, QDate(2008, 2, 27), QDate(2008, 3, 28));
    ASSERT_EQ(turn.categories.size(), 31);
    EXPECT_EQ(turn.categories.mid(0, 4), (QStringList{"02.27.", "28", "29", "03.01."}));
    EXPECT_EQ(turn.categories.mid(29), (QStringList{"27", "03.28."}));
    QStringList names = turn.categories;
    EXPECT_EQ(names.removeDuplicates(), 0);
}

TEST_F(TurnoverChartsTest, ALongPeriodSumsItsMonthsAndPastThreeYearsItsYears) {
    store(SalesMode::Invoice, QDate(2008, 1, 31), kTransfer, {{"A1", 1, 1000, 900}});
    store(SalesMode::Invoice, QDate(2008, 3, 1), kCash, {{"A1", 2, 1000, 900}});
    store(SalesMode::CashSale, QDate(2008, 3, 31), kCash, {{"A1", 3, 1000, 900}});
    // The whole century asked for: the bars run over the months that had sales only.
    collectProfitPerDay(folder(), QDate(2000, 1, 1), QDate(2099, 12, 31), rows);
    BarChart c = profitPerDayChart(rows, QDate(2000, 1, 1), QDate(2099, 12, 31));
    EXPECT_EQ(c.categoryTitle, QStringLiteral("Hónap"));
    EXPECT_EQ(c.categories, (QStringList{"2008.01.", "2008.02.", "2008.03."}));
    EXPECT_EQ(c.series[0].values, (std::vector<double>{1270, 0, 6350}));
    EXPECT_EQ(c.series[1].values, (std::vector<double>{100, 0, 500}));

    store(SalesMode::Invoice, QDate(2011, 6, 1), kCash, {{"A1", 1, 1000, 900}});
    collectProfitPerDay(folder(), QDate(2000, 1, 1), QDate(2099, 12, 31), rows);
    c = profitPerDayChart(rows, QDate(2000, 1, 1), QDate(2099, 12, 31));
    EXPECT_EQ(c.categoryTitle, QStringLiteral("Év"));
    EXPECT_EQ(c.categories, (QStringList{"2008", "2009", "2010", "2011"}));
    EXPECT_EQ(c.series[0].values, (std::vector<double>{7620, 0, 0, 1270}));
    EXPECT_DOUBLE_EQ(sum(c.series[1].values), 700);
}

TEST_F(TurnoverChartsTest, APeriodWithoutSalesIsAnEmptyChartWithItsText) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900}});
    for (const auto& [from, to] : {std::pair{kDay.addDays(1), kDay.addDays(5)},
                                   std::pair{kDay.addDays(1), kDay.addDays(100)}, std::pair{kDay, kDay.addDays(-1)}}) {
        collectProfitPerDay(folder(), from, to, rows);
        const BarChart c = profitPerDayChart(rows, from, to);
        EXPECT_TRUE(c.isEmpty());
        EXPECT_EQ(c.emptyText, QStringLiteral("Az időszakban nem volt forgalom."));
        EXPECT_FALSE(c.ticks.empty());
    }
    collectProfitPerProduct(folder(), kDay.addDays(1), kDay.addDays(5), rows);
    const BarChart products = profitPerProductChart(rows, kDay.addDays(1), kDay.addDays(5));
    EXPECT_TRUE(products.isEmpty());
    EXPECT_TRUE(products.categories.isEmpty());
    EXPECT_TRUE(dailyTurnoverChart({}, kDay).isEmpty());

    // Goods sold at their purchase price are sales all the same: a bar of no height.
    store(SalesMode::Invoice, kDay.addDays(3), kCash, {{"A2", 1, 1000, 1000}});
    collectProfitPerProduct(folder(), kDay.addDays(1), kDay.addDays(5), rows);
    const BarChart even = profitPerProductChart(rows, kDay.addDays(1), kDay.addDays(5));
    EXPECT_FALSE(even.isEmpty());
    EXPECT_EQ(even.series[0].values, std::vector<double>{0});
    EXPECT_EQ(dailyProfitChart({}, kDay).emptyText, QStringLiteral("Ezen a napon nem volt forgalom."));
}

TEST_F(TurnoverChartsTest, ArticlesBeyondTheTenLargestShareOneBar) {
    std::vector<Line> lines;
    for (int i = 1; i <= 12; ++i) lines.push_back({QStringLiteral("A%1").arg(i), 1, 100.0 * i, 50});
    store(SalesMode::Invoice, kDay, kCash, lines);
    collectDailyArticles(folder(), kDay, rows);
    // Two articles of one name keep apart by their numbers.
    rows.first();  // A1, A10, A11, ... as the list sorts them
    rows.next();
    rows.next();
    rows.edit();
    rows.setString(dayarticles::megnevezes, QStringLiteral("Áru A12"));
    rows.post();

    const BarChart c = dailyArticlesChart(rows, kDay);
    ASSERT_EQ(c.categories.size(), 11);
    EXPECT_EQ(c.categories[0], QStringLiteral("Áru A12 (A12)"));
    EXPECT_EQ(c.categories[1], QStringLiteral("Áru A12 (A11)"));
    EXPECT_EQ(c.categories[2], QStringLiteral("Áru A10"));
    EXPECT_EQ(c.categories[10], QStringLiteral("Egyéb (2 cikk)"));
    ASSERT_EQ(c.series.size(), 1u);
    EXPECT_DOUBLE_EQ(c.series[0].values[0], 1200 * 1.27);
    EXPECT_DOUBLE_EQ(c.series[0].values[10], (100 + 200) * 1.27);
    EXPECT_NEAR(sum(c.series[0].values), 7800 * 1.27, 1e-6);
    // The list stays on the row it was on.
    EXPECT_EQ(rows.asString(dayarticles::cikkszam).trimmed(), QStringLiteral("A11"));

    // A long name is cut for the axis.
    rows.edit();
    rows.setString(dayarticles::megnevezes, QStringLiteral("Fűrészelt bükk deszka, 25 mm, gyalult"));
    rows.post();
    EXPECT_EQ(dailyArticlesChart(rows, kDay).categories[1], QStringLiteral("Fűrészelt bükk desz") + QChar(0x2026));
}

TEST_F(TurnoverChartsTest, DailyChartsShowTheThreePaymentClasses) {
    DailyProfit p;
    p.transfer = {12700, 10000, 1000, 10};
    p.cashRegister = {635, 500, 250, 50};
    const BarChart c = dailyProfitChart(p, kDay);
    EXPECT_EQ(c.categories, (QStringList{"Átutalás", "Készpénz", "Pénztárgép"}));
    EXPECT_EQ(c.series[0].values, (std::vector<double>{12700, 0, 635}));
    EXPECT_EQ(c.series[1].values, (std::vector<double>{1000, 0, 250}));
    EXPECT_EQ(c.title, QStringLiteral("Forgalom és haszon fizetési módonként, 2008.03.10"));

    const BarChart t = dailyTurnoverChart({.transfer = 12500, .cash = 1250, .cashRegister = 0}, kDay);
    EXPECT_EQ(t.series[0].values, (std::vector<double>{12500, 1250, 0}));
}

}  // namespace
}  // namespace kavina::reports
