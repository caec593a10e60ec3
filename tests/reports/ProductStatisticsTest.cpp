// The product statistics: goods sold and services used, goods by article number, and the
// detailed product list, with their printed reports.

#include <gtest/gtest.h>

#include <random>

#include "StatisticsFolder.h"
#include "foundation/SzamSzov.h"
#include "reports/products/ProductReports.h"
#include "reports/products/ProductStatistics.h"

namespace kavina::reports {
namespace {

namespace A = fields::Anyag;
namespace S = soldlist;
namespace R = articlelist;
namespace P = productlist;

class ProductStatisticsTest : public StatisticsFolder {
protected:
    MemTable rows;

    QStringList column(const Field& f) {
        QStringList values;
        for (rows.first(); !rows.eof(); rows.next()) values << rows.asString(f).trimmed();
        return values;
    }
    QStringList reportTexts(report::Layout& layout) {
        const report::PreparedReport pages = layout.prepare();
        QStringList all;
        for (int page = 0; page < pages.pageCount(); ++page) all += pages.texts(page);
        return all;
    }
};

TEST_F(ProductStatisticsTest, SoldGoodsFallIntoOneRowPerNameIgnoringCaseAndServicesApart) {
    store({.lines = {{"Szőlőprés", 2, 100}, {"Javítás", 1, 5000, 27, true}}});
    store({.lines = {{"SZŐLŐPRÉS", 1, 150}}});
    // Visited in document-number order: the cash-register sale ("PGÉ...") comes first.
    store({.mode = SalesMode::CashSale, .lines = {{"javítás", 2, 4000, 27, true}}});
    // Proformas, corrective invoices and scrap records are no sale.
    store({.mode = SalesMode::Proforma, .lines = {{"Szőlőprés", 50, 100}}});
    store({.mode = SalesMode::Corrective, .lines = {{"Szőlőprés", 50, 100}}});
    store({.day = kSaleDay.addDays(1), .lines = {{"Szőlőprés", 50, 100}}});

    collectSold(folder(), kSaleDay, kSaleDay, SoldKind::Goods, 10, rows);
    ASSERT_EQ(rows.recordCount(), 1u);
    rows.first();
    EXPECT_EQ(rows.asString(S::NEV).trimmed(), QStringLiteral("Szőlőprés"));  // the first spelling
    EXPECT_DOUBLE_EQ(rows.asFloat(S::FORGALOM), 3);
    EXPECT_EQ(rows.asInteger(S::ERTEK), 350);
    EXPECT_DOUBLE_EQ(rows.asFloat(S::EGYSEGAR), 350.0 / 3);
    EXPECT_DOUBLE_EQ(rows.asFloat(S::BRUTTO), 350 * 1.27);
    EXPECT_DOUBLE_EQ(rows.asFloat(S::BRUTTOOSSZ), double(roundTo(4, 350 * 1.27 / 3)));

    collectSold(folder(), kSaleDay, kSaleDay, SoldKind::Services, 0, rows);
    ASSERT_EQ(rows.recordCount(), 1u);
    rows.first();
    EXPECT_EQ(rows.asString(S::NEV).trimmed(), QStringLiteral("javítás"));
    EXPECT_DOUBLE_EQ(rows.asFloat(S::FORGALOM), 3);
    // Without a range the unit price is still the average of every sale.
    EXPECT_DOUBLE_EQ(rows.asFloat(S::EGYSEGAR), 13000.0 / 3);
}

TEST_F(ProductStatisticsTest, RangeKeepsTheLargestQuantitiesLargestFirst) {
    std::vector<SoldLine> lines;
    for (int i = 1; i <= 10; ++i) lines.push_back({QStringLiteral("Áru %1").arg(i), double(i), 100.0 * i});
    store({.lines = lines});
    store({.lines = {{"Áru 8", 1, 50}}});
    collectSold(folder(), kSaleDay, kSaleDay, SoldKind::Goods, 3, rows);
    EXPECT_EQ(column(S::NEV), QStringList({"Áru 10", "Áru 8", "Áru 9"}));
    ASSERT_TRUE(rows.locate({{S::NEV, QStringLiteral("Áru 8")}}));
    EXPECT_DOUBLE_EQ(rows.asFloat(S::FORGALOM), 9);
    EXPECT_DOUBLE_EQ(rows.asFloat(S::EGYSEGAR), (8 * 800.0 + 50) / 9);
}

TEST_F(ProductStatisticsTest, NetValueIsAWholeNumberRoundedAtEverySum) {
    // 0.5 and 2.5 round to even: 0, then 0 + 2.5 = 2; the gross is kept exact.
    store({.lines = {{"Csavar", 1, 0.5, 0}, {"csavar", 1, 2.5, 0}}});
    collectSold(folder(), kSaleDay, kSaleDay, SoldKind::Goods, 0, rows);
    rows.first();
    EXPECT_EQ(rows.asInteger(S::ERTEK), 2);
    EXPECT_DOUBLE_EQ(rows.asFloat(S::BRUTTO), 3);
}

TEST_F(ProductStatisticsTest, VatBreakdownListsEveryRateInTheOrderItFirstOccurs) {
    store({.lines = {{"A", 6, 100, 27},
                     {"B", 5, 100, 18},
                     {"C", 4, 100, 5},
                     {"D", 3, 100, 0},
                     {"E", 2, 100, 20},
                     {"F", 1, 100, 27}}});
    collectSold(folder(), kSaleDay, kSaleDay, SoldKind::Goods, 0, rows);
    const std::vector<VatSum> sums = vatBreakdown(rows);
    ASSERT_EQ(sums.size(), 5u);
    const double rates[] = {27, 18, 5, 0, 20};
    for (size_t i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(sums[i].rate, rates[i]);
    EXPECT_DOUBLE_EQ(sums[0].gross, 700 * 1.27);
    EXPECT_DOUBLE_EQ(sums[4].gross, 200 * 1.2);

    auto layout = soldReport(rows, SoldKind::Goods, kSaleDay, kSaleDay, QStringLiteral("Kovács Anna"));
    const QStringList texts = reportTexts(*layout);
    for (const char* rate : {"27 %", "18 %", "5 %", "0 %", "20 %"}) EXPECT_TRUE(texts.contains(rate)) << rate;
    EXPECT_TRUE(texts.contains(moneyText(200 * 1.2)));
    EXPECT_TRUE(texts.contains(moneyText(700 * 1.27 + 500 * 1.18 + 400 * 1.05 + 300 + 200 * 1.2)));
    EXPECT_TRUE(texts.contains(QStringLiteral("Eladott termékek")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Időszak: 2008.03.10-2008.03.10")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Kiállította: Kovács Anna")));
}

TEST_F(ProductStatisticsTest, ArticleRangeComparesTextAndValuesAtTodaysPrices) {
    addProduct(1, QStringLiteral("Kalapács"), 7);
    setProduct(QStringLiteral("C-1"), {{A::BESZERZAR, 600}, {A::FIXAR, 1000.12345}});
    store({.lines = {{"Kalapács", 2, 900, 27, false, "C-1"},
                     {"KALAPÁCS", 3, 950, 27, false, "C-1"},
                     {"Fogó", 1, 500, 27, false, "12"},  // no such product: nothing to value it at
                     {"Véső", 1, 500, 27, false, "A1"},
                     {"Szerelés", 1, 500, 27, true, "C-1"}}});
    const auto [first, last] = articleRange(QString(), QStringLiteral(" "));
    EXPECT_EQ(first, QStringLiteral("00000"));
    EXPECT_EQ(last, QStringLiteral("99999"));
    const double total = collectByArticle(folder(), kSaleDay, kSaleDay, first, last, rows);
    EXPECT_EQ(column(R::CIKKSZAM), QStringList({"12"}));

    collectByArticle(folder(), kSaleDay, kSaleDay, QStringLiteral("0"), QStringLiteral("d"), rows);
    EXPECT_EQ(column(R::CIKKSZAM), QStringList({"12", "A1", "C-1"}));
    ASSERT_TRUE(rows.locate({{R::CIKKSZAM, QStringLiteral("C-1")}}));
    EXPECT_EQ(rows.asString(R::NEV).trimmed(), QStringLiteral("Kalapács"));
    EXPECT_DOUBLE_EQ(rows.asFloat(R::KESZLET), 7);
    EXPECT_DOUBLE_EQ(rows.asFloat(R::FORGALOM), 5);
    EXPECT_DOUBLE_EQ(rows.asFloat(R::ARRES), 5 * 400.1235);
    ASSERT_TRUE(rows.locate({{R::CIKKSZAM, QStringLiteral("12")}}));
    EXPECT_DOUBLE_EQ(rows.asFloat(R::NBESZ), 0);
    EXPECT_DOUBLE_EQ(rows.asFloat(R::ARRES), 0);
    EXPECT_DOUBLE_EQ(total, 0);
}

TEST_F(ProductStatisticsTest, ProductListMarksMissingPurchasePriceAndAveragesOverEveryRow) {
    auto product = [&](double code, const QString& name, double stock, double grossPurchase, double fixed,
                       bool service = false) {
        addProduct(code, name, stock, 27, service);
        setProduct(QStringLiteral("C-%1").arg(code), {{A::BESZERZAR, grossPurchase / 1.27},
                                                      {A::bbesz, grossPurchase},
                                                      {A::FIXAR, fixed},
                                                      {A::bfixar, fixed * 1.27}});
    };
    product(3, QStringLiteral("Alma"), 2, 1000, 1000);  // margin 27 %
    product(1, QStringLiteral("Körte"), 1, 0, 500);     // "HIBA"
    product(2, QStringLiteral("Barack"), 4, 100, 0);    // margin 0, still counted
    product(4, QStringLiteral("Szilva"), 0, 100, 100);  // not in stock
    product(5, QStringLiteral("Szállítás"), 3, 100, 100, true);

    const ProductListTotals totals = collectProductList(folder(), ProductOrder::ByName, rows);
    EXPECT_EQ(column(P::MEGNEVEZES), QStringList({"Alma", "Barack", "Körte"}));
    collectProductList(folder(), ProductOrder::ByArticle, rows);
    EXPECT_EQ(column(P::CIKKSZAM), QStringList({"C-1", "C-2", "C-3"}));
    EXPECT_EQ(totals.count, 3);
    EXPECT_DOUBLE_EQ(totals.averageMargin(), 27.0 / 3);
    EXPECT_DOUBLE_EQ(totals.stockValue, 2 * 1270 + 1 * 635);
    EXPECT_DOUBLE_EQ(totals.purchaseGross, 2 * 1000 + 4 * 100);
    EXPECT_DOUBLE_EQ(totals.saleNet, 2 * 1000 + 500);

    auto layout = productListReport(rows, totals, QDateTime(kSaleDay, QTime(9, 5, 0)));
    const QStringList texts = reportTexts(*layout);
    EXPECT_TRUE(texts.contains(QStringLiteral("HIBA")));
    EXPECT_TRUE(texts.contains(moneyText(2400).trimmed()));  // Σ quantity × gross purchase price
    EXPECT_TRUE(texts.contains(QStringLiteral("Átlag árrés : 9 %")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Nyomtatva: 2008.03.10, 09:05:00")));
    EXPECT_TRUE(texts.contains(QStringLiteral("1/1 oldal")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Készlet bto érték: ") + moneyText(3175).trimmed()));
}

TEST_F(ProductStatisticsTest, EmptyProductListPrintsAZeroAverage) {
    addProduct(1, QStringLiteral("Alma"), 0);
    const ProductListTotals totals = collectProductList(folder(), ProductOrder::ByName, rows);
    EXPECT_EQ(totals.count, 0);
    auto layout = productListReport(rows, totals, QDateTime(kSaleDay, QTime(9, 5, 0)));
    EXPECT_TRUE(reportTexts(*layout).contains(QStringLiteral("Átlag árrés : 0 %")));
}

// The sums of a collection over many documents equal the sums of the stored lines, read from
// the tables without the statistics.
TEST_F(ProductStatisticsTest, SoldTotalsEqualTheStoredLines) {
    std::mt19937 random(20080310);
    const QString names[] = {"Csavar", "CSAVAR", "Anya", "Alátét", "Szög", "Ék", "Őrlő", "őrlő"};
    for (int d = 0; d < 40; ++d) {
        Sale sale{.mode = d % 3 == 0   ? SalesMode::CashSale
                          : d % 7 == 0 ? SalesMode::Proforma
                                       : SalesMode::Invoice,
                  .day = kSaleDay.addDays(int(random() % 20) - 5)};
        const int count = 1 + int(random() % 4);
        for (int i = 0; i < count; ++i)
            sale.lines.push_back({names[random() % 8], double(1 + random() % 9), double(random() % 100000) / 100,
                                  i % 2 ? 27.0 : 5.0, random() % 5 == 0});
        store(sale);
    }
    const QDate from = kSaleDay, to = kSaleDay.addDays(9);
    long double gross = 0, quantity = 0;
    QSet<QString> names2;
    eachStoredLine(QStringLiteral("B1"), from, to, [&](const RecordCursor& line) {
        if (line.asLogical(fields::Szamla2::TERMEK)) return;
        gross += line.asFloat(fields::Szamla2::OSSZESEN);
        quantity += line.asFloat(fields::Szamla2::MENNYISEG);
        names2.insert(line.asString(fields::Szamla2::MEGNEVEZES).trimmed().toUpper());
    });
    collectSold(folder(), from, to, SoldKind::Goods, 0, rows);
    long double listed = 0, sold = 0;
    for (rows.first(); !rows.eof(); rows.next()) {
        listed += rows.asFloat(S::BRUTTO);
        sold += rows.asFloat(S::FORGALOM);
    }
    EXPECT_EQ(rows.recordCount(), uint32_t(names2.size()));
    EXPECT_NEAR(double(listed), double(gross), 1e-6);
    EXPECT_NEAR(double(sold), double(quantity), 1e-9);
    long double byRate = 0;
    for (const VatSum& s : vatBreakdown(rows)) byRate += s.gross;
    EXPECT_NEAR(double(byRate), double(gross), 1e-6);
}

}  // namespace
}  // namespace kavina::reports
