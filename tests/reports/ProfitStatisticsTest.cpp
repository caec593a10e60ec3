// The profit statistics over documents stored through the program's own sales save.

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <cmath>
#include <map>

#include "SalesReportsFolder.h"
#include "reports/turnover/ProfitStatistics.h"

namespace kavina::reports {
namespace {

class ProfitStatisticsTest : public SalesReportsFolder {};

TEST_F(ProfitStatisticsTest, DailyProfitSplitsByPaymentAndMeasuresTheMarginOnTheNetTotals) {
    // 27 %: net 10 000, profit 1 000, gross 12 700. A fixed 20 % VAT would give 9.45 %.
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900}});
    // Two rates on one cash invoice: net 2 000 + 1 000, profit 200 + 300.
    store(SalesMode::Invoice, kDay, kCash, {{"A2", 2, 1000, 900, 5}, {"A3", 1, 1000, 700, 18}});
    store(SalesMode::CashSale, kDay, kCash, {{"A4", 1, 500, 250}});
    store(SalesMode::Invoice, kDay, kOther, {{"A5", 1, 100000, 1}});
    store(SalesMode::Proforma, kDay, kTransfer, {{"A6", 1, 100000, 1}});
    store(SalesMode::Invoice, kDay.addDays(1), kTransfer, {{"A1", 1, 100000, 1}});

    const DailyProfit p = collectDailyProfit(folder(), kDay);
    EXPECT_EQ(p.transfer.gross, 12700);
    EXPECT_DOUBLE_EQ(p.transfer.profit, 1000);
    EXPECT_DOUBLE_EQ(p.transfer.margin, 10.00);
    EXPECT_EQ(p.cash.gross, 2100 + 1180);
    EXPECT_DOUBLE_EQ(p.cash.profit, 500);
    EXPECT_DOUBLE_EQ(p.cash.margin, 16.67);
    EXPECT_EQ(p.cashRegister.gross, 635);
    EXPECT_DOUBLE_EQ(p.cashRegister.margin, 50.00);
    EXPECT_EQ(p.total.gross, 12700 + 3280 + 635);
    EXPECT_DOUBLE_EQ(p.total.profit, 1750);
    EXPECT_DOUBLE_EQ(p.total.margin, 12.96);  // 1 750 ÷ 13 500
}

TEST_F(ProfitStatisticsTest, ADayWithoutTurnoverHasZeroMarginsAndGrossIsRoundedTiesToEven) {
    const DailyProfit empty = collectDailyProfit(folder(), kDay);
    EXPECT_EQ(empty.total.gross, 0);
    EXPECT_DOUBLE_EQ(empty.total.margin, 0);

    // Gross 2.5 rounds to 2 as a whole forint; a sale at cost has net but no profit.
    store(SalesMode::CashSale, kDay, kCash, {{"A1", 1, 2.5, 2.5, 0}});
    const DailyProfit p = collectDailyProfit(folder(), kDay);
    EXPECT_EQ(p.cashRegister.gross, 2);
    EXPECT_DOUBLE_EQ(p.cashRegister.margin, 0);
}

TEST_F(ProfitStatisticsTest, ProfitPerDayHasOneSortedRowPerDayAndOtherPaymentsOnlyInTheGross) {
    const QDate second = kDay.addDays(2);
    store(SalesMode::Invoice, second, kTransfer, {{"A1", 10, 1000, 900}});
    store(SalesMode::Invoice, kDay, kCash, {{"A2", 4, 1000, 750}});
    store(SalesMode::Invoice, kDay, kOther, {{"A3", 1, 1000, 1000}});
    store(SalesMode::CashSale, second, kCash, {{"A4", 2, 500, 250}});
    store(SalesMode::Proforma, kDay, kCash, {{"A4", 2, 500, 250}});
    store(SalesMode::Invoice, kDay.addDays(-1), kCash, {{"A4", 2, 500, 250}});

    MemTable rows;
    const ProfitPerDayTotals t = collectProfitPerDay(folder(), kDay, second, rows);
    namespace D = perday;
    ASSERT_EQ(rows.recordCount(), 2u);
    rows.first();
    EXPECT_EQ(rows.asString(D::datum), QStringLiteral("2008.03.10"));
    EXPECT_DOUBLE_EQ(rows.asFloat(D::kp), 5080);
    EXPECT_DOUBLE_EQ(rows.asFloat(D::ut), 0);
    EXPECT_DOUBLE_EQ(rows.asFloat(D::pg), 0);
    EXPECT_DOUBLE_EQ(rows.asFloat(D::br), 5080 + 1270);
    EXPECT_DOUBLE_EQ(rows.asFloat(D::haszon), 1000);
    EXPECT_DOUBLE_EQ(rows.asFloat(D::arres), 20);  // 1 000 ÷ 5 000
    rows.next();
    EXPECT_EQ(rows.asString(D::datum), QStringLiteral("2008.03.12"));
    EXPECT_DOUBLE_EQ(rows.asFloat(D::ut), 12700);
    EXPECT_DOUBLE_EQ(rows.asFloat(D::pg), 1270);
    EXPECT_DOUBLE_EQ(rows.asFloat(D::haszon), 1500);
    EXPECT_DOUBLE_EQ(rows.asFloat(D::arres), 13.6364);  // 1 500 ÷ 11 000
    EXPECT_DOUBLE_EQ(t.br, 5080 + 1270 + 12700 + 1270);
    EXPECT_DOUBLE_EQ(t.haszon, 2500);
    EXPECT_DOUBLE_EQ(t.margin, 15.625);  // 2 500 ÷ 16 000

    // A new run starts from an empty list.
    const ProfitPerDayTotals none = collectProfitPerDay(folder(), kDay.addDays(10), kDay.addDays(11), rows);
    EXPECT_EQ(rows.recordCount(), 0u);
    EXPECT_DOUBLE_EQ(none.margin, 0);
}

TEST_F(ProfitStatisticsTest, ProfitPerProductAveragesPricesAndMarginsPerArticle) {
    // "b2": sold at 1 000 and 1 500 (average 1 250), bought at 1 000: margin 20 %.
    store(SalesMode::Invoice, kDay, kCash, {{"b2", 1, 1000, 1000}, {"A1", 3, 100, 90}});
    store(SalesMode::CashSale, kDay, kCash, {{"b2", 1, 1500, 1000}});
    // Given away: no sale price, so no margin.
    store(SalesMode::Invoice, kDay, kTransfer, {{"C3", 2, 0, 10}});

    MemTable rows;
    const ProfitPerProductTotals t = collectProfitPerProduct(folder(), kDay, kDay, rows);
    namespace P = perproduct;
    ASSERT_EQ(rows.recordCount(), 3u);
    rows.first();
    EXPECT_EQ(rows.asString(P::cikkszam), QStringLiteral("A1"));
    EXPECT_DOUBLE_EQ(rows.asFloat(P::arres), 10);
    rows.next();
    EXPECT_EQ(rows.asString(P::cikkszam), QStringLiteral("b2"));
    EXPECT_DOUBLE_EQ(rows.asFloat(P::mennyiseg), 2);
    EXPECT_DOUBLE_EQ(rows.asFloat(P::anbesz), 1000);
    EXPECT_DOUBLE_EQ(rows.asFloat(P::anelad), 1250);
    EXPECT_DOUBLE_EQ(rows.asFloat(P::haszon), 500);
    EXPECT_DOUBLE_EQ(rows.asFloat(P::arres), 20);
    EXPECT_EQ(rows.asString(P::egyseg), QStringLiteral("db"));
    rows.next();
    EXPECT_EQ(rows.asString(P::cikkszam), QStringLiteral("C3"));
    EXPECT_DOUBLE_EQ(rows.asFloat(P::arres), 0);
    EXPECT_DOUBLE_EQ(t.haszon, 30 + 500 - 20);
    EXPECT_DOUBLE_EQ(t.averageMargin, 10);  // (10 + 20 + 0) ÷ 3

    const ProfitPerProductTotals none = collectProfitPerProduct(folder(), kDay.addDays(5), kDay.addDays(6), rows);
    EXPECT_EQ(rows.recordCount(), 0u);
    EXPECT_DOUBLE_EQ(none.averageMargin, 0);
}

TEST_F(ProfitStatisticsTest, ProgressAdvancesOncePerSelectedHeader) {
    for (int i = 0; i < 3; ++i) store(SalesMode::Invoice, kDay, kCash, {{"A1", 1, 100, 50}});
    store(SalesMode::Invoice, kDay.addDays(1), kCash, {{"A1", 1, 100, 50}});
    std::vector<std::pair<int, int>> steps;
    collectDailyProfit(folder(), kDay, [&](int done, int total) { steps.emplace_back(done, total); });
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
}

// Totals over a run of random documents equal what the stored documents give when summed
// here, straight from what was saved.
TEST_F(ProfitStatisticsTest, TotalsOverAGeneratedPeriodMatchAnIndependentSum) {
    QRandomGenerator random(2008);
    const QString payments[] = {kTransfer, kCash, kOther};
    const double rates[] = {27, 18, 5, 0};
    for (int d = 0; d < 40; ++d) {
        const QDate day = kDay.addDays(random.bounded(20));
        const SalesMode mode = random.bounded(4) == 0 ? SalesMode::CashSale : SalesMode::Invoice;
        std::vector<Line> lines;
        for (int l = 0, n = 1 + random.bounded(4); l < n; ++l)
            lines.push_back({QStringLiteral("A%1").arg(1 + random.bounded(6)), double(1 + random.bounded(9)),
                             double(100 + random.bounded(5000)), double(50 + random.bounded(4000)),
                             rates[random.bounded(4)]});
        store(mode, day, mode == SalesMode::CashSale ? kCash : payments[random.bounded(3)], lines);
    }
    const QDate from = kDay.addDays(3), to = kDay.addDays(15);

    double br = 0, net = 0, profit = 0;
    std::map<QString, std::pair<double, double>> perArticle;  // quantity, profit
    for (const Stored& s : stored) {
        if (s.day < from || s.day > to) continue;
        br += s.gross;
        net += s.net;
        for (const Line& l : s.lines) {
            const double lineProfit = std::round(l.quantity * (l.unitNet - l.purchase) * 10000) / 10000;
            profit += lineProfit;
            perArticle[l.article].first += l.quantity;
            perArticle[l.article].second += lineProfit;
        }
    }
    ASSERT_GT(net, 0);

    MemTable days;
    const ProfitPerDayTotals t = collectProfitPerDay(folder(), from, to, days);
    EXPECT_NEAR(t.br, br, 1e-6);
    EXPECT_NEAR(t.haszon, profit, 1e-6);
    EXPECT_NEAR(t.margin, std::round(profit / net * 100 * 10000) / 10000, 1e-9);

    MemTable products;
    collectProfitPerProduct(folder(), from, to, products);
    ASSERT_EQ(products.recordCount(), perArticle.size());
    for (products.first(); !products.eof(); products.next()) {
        const auto& expected = perArticle.at(products.asString(perproduct::cikkszam));
        EXPECT_DOUBLE_EQ(products.asFloat(perproduct::mennyiseg), expected.first);
        EXPECT_NEAR(products.asFloat(perproduct::haszon), expected.second, 1e-6);
    }
}

}  // namespace
}  // namespace kavina::reports
