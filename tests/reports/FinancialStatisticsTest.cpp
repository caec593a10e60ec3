// The financial statistics: turnover list, profit per document, stock value, monthly summary.

#include <gtest/gtest.h>

#include "SalesReportsFolder.h"
#include "reports/finance/FinancialStatistics.h"

namespace kavina::reports {
namespace {

namespace A = fields::Anyag;

class FinancialStatisticsTest : public SalesReportsFolder {
protected:
    MemTable rows;

    // Changes a stored record the way the registers do.
    void setHeader(const QString& number, const Field& field, const QString& value) {
        TableHandle h(dir.path(), std::string(H::kTable));
        h.open();
        h.setOrder(H::SZAMLASZAM);
        ASSERT_TRUE(h.findKey(number.toStdString()));
        h.edit();
        h.setString(field, value);
        h.post();
    }
    void setProduct(double code, const std::vector<std::pair<Field, double>>& values) {
        TableHandle& p = data.AnyagTable();
        ASSERT_TRUE(p.locate({{A::ANYAGKOD, QString::number(code)}}));
        p.edit();
        for (const auto& [field, value] : values) p.setFloat(field, value);
        p.post();
    }
    // A header of a type the sales save does not make (receipts, returns, scrap, delivery notes).
    void appendHeader(const QString& number, const QString& type, const QDate& day, double net) {
        TableHandle h(dir.path(), std::string(H::kTable));
        h.open();
        h.append();
        h.setString(H::SZAMLASZAM, number);
        h.setString(H::SZAMLATIP, type);
        h.setDate(H::KIALLIT, day);
        h.setFloat(H::AFAALAP, net);
        h.post();
    }
};

TEST_F(FinancialStatisticsTest, TurnoverListsCashOnlyOrEveryDocumentWithItsWholeForintTotal) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 1, 1000, 900}});   // 1 270
    store(SalesMode::Invoice, kDay, kCash, {{"A1", 1, 1000.4, 900, 0}});  // 1 000.4
    store(SalesMode::CashSale, kDay.addDays(1), kCash, {{"A1", 1, 1234567.5, 900, 0}});
    store(SalesMode::Invoice, kDay.addDays(2), kCash, {{"A1", 1, 1000, 900}});

    const int64_t all = collectTurnoverList(folder(), kDay, kDay.addDays(1), false, rows);
    EXPECT_EQ(rows.recordCount(), 3u);
    EXPECT_EQ(all, 1270 + 1000 + 1234568);
    EXPECT_EQ(forintText(all), QStringLiteral("1 236 838 Ft"));
    const int64_t cash = collectTurnoverList(folder(), kDay, kDay.addDays(1), true, rows);
    EXPECT_EQ(rows.recordCount(), 2u);
    EXPECT_EQ(cash, 1000 + 1234568);
    for (rows.first(); !rows.eof(); rows.next()) EXPECT_EQ(rows.asString(turnoverlist::FIZMOD), kCash);

    const QDate today(2026, 12, 10);
    EXPECT_EQ(turnoverPeriod(QDate(1999, 12, 31), QDate(1999, 1, 1), today), std::make_pair(QDate(2000, 1, 1), today));
    EXPECT_EQ(turnoverPeriod(kDay, kDay, today), std::make_pair(kDay, kDay));
}

TEST_F(FinancialStatisticsTest, ProfitDeductsTheCommissionAndCostsAtTodaysPurchasePrice) {
    setProduct(1, {{A::BESZERZAR, 600}});
    // Net 10 000 at 1 000, today's purchase price 600: cost 6 000. Commission 1 000.
    const QString withAgent = store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 999}});
    setHeader(withAgent, H::POSSZEG, QStringLiteral("1000"));
    // A product that is gone costs the line's own net value; a free document has no percentage.
    const QString gone = store(SalesMode::Invoice, kDay, kCash, {{"A9", 1, 500, 100}});
    const QString free = store(SalesMode::CashSale, kDay, kCash, {{"A2", 1, 0, 0}});

    const ProfitTotals t = collectProfitList(folder(), kDay, kDay, ProfitBasis::Invoices, rows);
    namespace P = profitlist;
    ASSERT_EQ(rows.recordCount(), 3u);
    ASSERT_TRUE(rows.locate({{P::szamlaszam, withAgent}}));
    EXPECT_DOUBLE_EQ(rows.asFloat(P::eladar), 9000);
    EXPECT_DOUBLE_EQ(rows.asFloat(P::beszar), 6000);
    EXPECT_DOUBLE_EQ(rows.asFloat(P::haszonft), 3000);
    EXPECT_DOUBLE_EQ(rows.asFloat(P::haszonsz), 33.33);
    ASSERT_TRUE(rows.locate({{P::szamlaszam, gone}}));
    EXPECT_DOUBLE_EQ(rows.asFloat(P::beszar), 500);
    EXPECT_DOUBLE_EQ(rows.asFloat(P::haszonsz), 0);
    ASSERT_TRUE(rows.locate({{P::szamlaszam, free}}));
    EXPECT_TRUE(rows.isNull(P::haszonsz));
    ASSERT_TRUE(t.shown());
    EXPECT_EQ(t.saleForints(), 9500);
    EXPECT_EQ(t.costForints(), 6500);
    EXPECT_EQ(t.profitForints(), 3000);
    EXPECT_DOUBLE_EQ(t.percent(), 31.58);

    EXPECT_FALSE(collectProfitList(folder(), kDay.addDays(1), kDay.addDays(1), ProfitBasis::Invoices, rows).shown());
    EXPECT_EQ(profitPeriod(QDate(1899, 1, 1), QDate(1800, 1, 1)), std::make_pair(QDate(1900, 1, 1), QDate(2100, 1, 1)));
}

TEST_F(FinancialStatisticsTest, ProfitOfDeliveryNotesTakesOnlyThoseNotYetInvoiced) {
    appendHeader(QStringLiteral("SZL-1"), QStringLiteral("F"), kDay, 0);
    appendHeader(QStringLiteral("SZL-2"), QStringLiteral("F"), kDay, 0);
    setHeader(QStringLiteral("SZL-2"), H::ALLAPOT, QStringLiteral("számlázva"));
    store(SalesMode::Invoice, kDay, kCash, {{"A1", 1, 500, 100}});
    collectProfitList(folder(), kDay, kDay, ProfitBasis::DeliveryNotes, rows);
    ASSERT_EQ(rows.recordCount(), 1u);
    rows.first();
    EXPECT_EQ(rows.asString(profitlist::szamlaszam), QStringLiteral("SZL-1"));
}

TEST_F(FinancialStatisticsTest, StockValueListsGoodsInStockAndNegativeStockOnRequest) {
    // The fixture's products hold 1 000 each; a service and two others are changed.
    setProduct(1, {{A::MENNYISEG, 2}, {A::BESZERZAR, 100}, {A::AR1, 150}, {A::bbesz, 127}, {A::bar1, 190.5}});
    setProduct(2, {{A::MENNYISEG, -3}, {A::BESZERZAR, 10}, {A::bbesz, 12.7}});
    setProduct(3, {{A::MENNYISEG, 0}, {A::BESZERZAR, 10}});
    for (double code : {4, 5, 6}) setProduct(code, {{A::BESZERZAR, 0}});
    {
        TableHandle& p = data.AnyagTable();
        ASSERT_TRUE(p.locate({{A::ANYAGKOD, QStringLiteral("6")}}));
        p.edit();
        p.setLogical(A::TERMEK, true);
        p.post();
    }

    const StockValue positive = collectStockValue(folder(), false, rows);
    EXPECT_EQ(rows.recordCount(), 3u);  // 1, 4 and 5
    EXPECT_DOUBLE_EQ(positive.net[0], 200);
    EXPECT_DOUBLE_EQ(positive.net[1], 300);
    EXPECT_DOUBLE_EQ(positive.gross[0], 254);
    EXPECT_DOUBLE_EQ(positive.gross[1], 381);

    const StockValue all = collectStockValue(folder(), true, rows);
    EXPECT_EQ(rows.recordCount(), 4u);
    EXPECT_DOUBLE_EQ(all.net[0], 200 - 30);
    EXPECT_DOUBLE_EQ(all.gross[0], 254 - 38.1);
    ASSERT_TRUE(rows.locate({{stocklist::CIKKSZAM, QStringLiteral("C-2")}}));
    EXPECT_DOUBLE_EQ(rows.asFloat(stocklist::BESZERZAR), -30);
    EXPECT_EQ(stockTotalText(1234.5), QStringLiteral("1 234,50 Ft"));
}

TEST_F(FinancialStatisticsTest, MonthlySummaryNetsByTypeWithinTheMonth) {
    EXPECT_EQ(monthRange(2008, 12), std::make_pair(QDate(2008, 12, 1), QDate(2008, 12, 31)));
    EXPECT_EQ(monthRange(2008, 2), std::make_pair(QDate(2008, 2, 1), QDate(2008, 2, 29)));

    store(SalesMode::Invoice, kDay, kCash, {{"A1", 1, 10000, 100}});
    store(SalesMode::CashSale, kDay, kCash, {{"A1", 1, 2000.5, 100}});
    store(SalesMode::Invoice, QDate(2008, 4, 1), kCash, {{"A1", 1, 77777, 100}});
    appendHeader(QStringLiteral("BEV-1"), QStringLiteral("3"), QDate(2008, 3, 1), 3000);
    appendHeader(QStringLiteral("VIS-1"), QStringLiteral("4"), QDate(2008, 3, 31), 400);
    appendHeader(QStringLiteral("SEL-1"), QStringLiteral("5"), kDay, 50);
    appendHeader(QStringLiteral("BEV-2"), QStringLiteral("3"), QDate(2008, 2, 29), 99999);

    const std::vector<MonthRow> month = collectMonthlySummary(folder(), 2008, 3);
    ASSERT_EQ(month.size(), 6u);
    const std::vector<QString> names = {"Bevételezés", "Visszáru", "Selejt", "Pénztárgépes értékesítés",
                                        "Számla",      "Haszon"};
    const std::vector<int64_t> amounts = {3000, 400, 50, 2000, 10000, 10000 + 2000 - 3000 - 400 - 50};
    for (size_t i = 0; i < month.size(); ++i) {
        EXPECT_EQ(month[i].name, names[i]);
        EXPECT_EQ(month[i].amount, amounts[i]) << month[i].name.toStdString();
    }
}

}  // namespace
}  // namespace kavina::reports
