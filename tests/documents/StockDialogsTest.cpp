#include <gtest/gtest.h>

#include "StockFolder.h"
#include "documents/stock/StockDialogs.h"

namespace kavina::documents {
namespace {

namespace A = fields::Anyag;
using B = StockBox;

class StockDialogsTest : public StockFolder {
protected:
    StockDialogSettings settings{.severalLevels = true, .rounding = 1, .multipliers = {25, 20, 10}};

    const RecordCursor& productAt(const ProductRecord& p) {
        data.AnyagTable().refresh();
        EXPECT_TRUE(data.AnyagTable().gotoBookmark({p.recNo}));
        return data.AnyagTable();
    }
    void setPrices(const ProductRecord& p, double purchase, double fixed) {
        TableHandle& products = data.AnyagTable();
        ASSERT_TRUE(products.gotoBookmark({p.recNo}));
        products.edit();
        products.setFloat(A::BESZERZAR, purchase);
        products.setFloat(A::FIXAR, fixed);
        products.setFloat(A::bfixar, fixed * 1.27);
        products.post();
    }
    static QStringList texts(const Receiving& r) {
        QStringList all;
        for (int b = 0; b < kStockBoxCount; ++b) all << r.text(StockBox(b));
        return all;
    }
};

TEST_F(StockDialogsTest, ReceivingOpensOnTheProductsPrices) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4);
    Receiving empty(productAt(p), settings, prompt);
    EXPECT_EQ(texts(empty), (QStringList{"0", "0", "", "", "", "", "", "", "", "", ""}));
    setPrices(p, 1000.5, 1250);
    Receiving priced(productAt(p), settings, prompt);
    EXPECT_EQ(priced.text(B::PurchaseNet), QStringLiteral("1000,5"));
    EXPECT_EQ(priced.text(B::FixedNet), QStringLiteral("1250"));
    EXPECT_EQ(priced.text(B::FixedGross), QStringLiteral("1587,5"));
    EXPECT_EQ(priced.product().name, QStringLiteral("Fúrógép"));
    EXPECT_EQ(priced.product().stock, 4);
}

TEST_F(StockDialogsTest, ThePurchasePriceDerivesTheSalePrices) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4);
    setPrices(p, 0, 9999);
    Receiving r(productAt(p), settings, prompt);
    r.typed(B::PurchaseNet, QStringLiteral("1000"));
    r.left(B::PurchaseNet);
    EXPECT_EQ(texts(r),
              (QStringList{"0", "1000", "1270", "1250", "1587,5", "1200", "1524", "1100", "1397", "1250", "1587,5"}));
}

TEST_F(StockDialogsTest, WithOnePriceLevelTheFixedPriceStays) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4);
    setPrices(p, 0, 2000);
    settings.severalLevels = false;
    Receiving r(productAt(p), settings, prompt);
    r.typed(B::PurchaseNet, QStringLiteral("1000"));
    r.left(B::PurchaseNet);
    EXPECT_EQ(r.text(B::Level1Net), QStringLiteral("1250"));  // filled although hidden
    EXPECT_EQ(r.text(B::FixedNet), QStringLiteral("2000"));
    EXPECT_EQ(r.text(B::FixedGross), QStringLiteral("2540"));
}

TEST_F(StockDialogsTest, TheRoundingOfTheSettingsAppliesToDerivedPrices) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4, 25);
    settings.rounding = 3;
    settings.multipliers = {30, 25, 0};
    Receiving r(productAt(p), settings, prompt);
    r.typed(B::PurchaseNet, QStringLiteral("1000"));
    r.left(B::PurchaseNet);
    EXPECT_EQ(r.text(B::Level1Net), QStringLiteral("1300"));
    EXPECT_EQ(r.text(B::Level2Net), QStringLiteral("1300"));  // 1250 rounds half away from zero
    EXPECT_EQ(r.text(B::Level1Gross), QStringLiteral("1625"));
}

TEST_F(StockDialogsTest, ATypedGrossPriceSetsOnlyItsNetPrice) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4, 25);
    setPrices(p, 800, 1000);
    Receiving r(productAt(p), settings, prompt);
    const QStringList before = texts(r);
    r.typed(B::Level2Gross, QStringLiteral("1250"));
    r.left(B::Level2Gross);
    QStringList after = before;
    after[int(B::Level2Gross)] = QStringLiteral("1250");
    after[int(B::Level2Net)] = QStringLiteral("1000");
    EXPECT_EQ(texts(r), after);
    // The net box was not typed into: leaving it now overwrites nothing, as the gross one is
    // the marked box.
    r.left(B::Level2Net);
    EXPECT_EQ(texts(r), after);
}

TEST_F(StockDialogsTest, AGrossPurchasePriceLeavesTheLevelsAlone) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4, 25);
    setPrices(p, 800, 1000);
    Receiving r(productAt(p), settings, prompt);
    r.typed(B::PurchaseGross, QStringLiteral("1250"));
    r.left(B::PurchaseGross);
    EXPECT_EQ(r.text(B::PurchaseNet), QStringLiteral("1000"));
    EXPECT_EQ(r.text(B::Level1Net), QString());
    EXPECT_EQ(r.text(B::FixedNet), QStringLiteral("1000"));
    // Leaving the net box afterwards does not derive either: the gross box keeps its mark.
    r.left(B::PurchaseNet);
    EXPECT_EQ(r.text(B::Level1Net), QString());
    EXPECT_EQ(r.marked(), B::PurchaseGross);
}

TEST_F(StockDialogsTest, AcceptCountsAnEmptyBoxAsZeroAndRefusesText) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4);
    Receiving r(productAt(p), settings, prompt);
    r.typed(B::Quantity, QStringLiteral("2,5"));
    const std::optional<ReceivingValues> values = r.accept({15, 20, 25});
    ASSERT_TRUE(values);
    EXPECT_EQ(values->quantity, 2.5);
    EXPECT_EQ(values->levelGross[2], 0);
    EXPECT_EQ(values->multipliers[2], 25);
    r.typed(B::Level3Gross, QStringLiteral("12a"));
    EXPECT_FALSE(r.accept({15, 20, 25}));
    r.typed(B::Level3Gross, QStringLiteral("-"));
    EXPECT_FALSE(r.accept({15, 20, 25}));
    EXPECT_EQ(prompt.transcript(), (QStringList{"message|warning|Figyelem!|12a: érvénytelen szám!",
                                                "message|warning|Figyelem!|-: érvénytelen szám!"}));
}

TEST_F(StockDialogsTest, ReceivingNothingStoresOnlyPricesAndMultipliers) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4);
    Receiving r(productAt(p), settings, prompt);
    r.typed(B::PurchaseNet, QStringLiteral("1000"));
    r.left(B::PurchaseNet);
    StockRule rule(data.dataFolder());
    EXPECT_EQ(storeReceiving(rule, p, *r.accept({25, 20, 10})), 4);
    const RecordCursor& stored = productAt(p);
    EXPECT_EQ(stored.asFloat(A::MENNYISEG), 4);
    EXPECT_EQ(stored.asFloat(A::BESZERZAR), 1000);
    EXPECT_EQ(stored.asFloat(A::bbesz), 1270);
    EXPECT_EQ(stored.asFloat(A::AR2), 1200);
    EXPECT_EQ(stored.asFloat(A::bar3), 1397);
    EXPECT_EQ(stored.asFloat(A::FIXAR), 1250);
    EXPECT_EQ(stored.asFloat(A::bfixar), 1587.5);
    EXPECT_EQ(stored.asFloat(A::SZ1), 25);
    EXPECT_EQ(stored.asFloat(A::SZ3), 10);
}

TEST_F(StockDialogsTest, IssueRefusesMoreThanTheStock) {
    const ProductRecord p = addProduct(1, QStringLiteral("Szeg"), 2.5);
    Issue issue(productAt(p), prompt);
    EXPECT_EQ(issue.text(B::Quantity), QStringLiteral("0"));
    issue.typed(QStringLiteral("2,5001"));
    EXPECT_FALSE(issue.leftQuantity());
    EXPECT_FALSE(issue.accept());
    issue.typed(QStringLiteral("x"));
    EXPECT_FALSE(issue.accept());
    issue.typed(QStringLiteral("2,5"));
    EXPECT_TRUE(issue.leftQuantity());
    EXPECT_EQ(issue.accept(), 2.5);
    EXPECT_EQ(
        prompt.transcript(),
        (QStringList{"message|warning|Figyelem!|A kivételezett anyagmennyiség nem lehet több a jelenlegi készletnél!",
                     "message|warning|Figyelem!|A kivételezett anyagmennyiség nem lehet több a jelenlegi készletnél!",
                     "message|warning|Figyelem!|x: érvénytelen szám!"}));
    StockRule rule(data.dataFolder());
    EXPECT_EQ(storeIssue(rule, p, 2.5), 0);
}

TEST_F(StockDialogsTest, IssueShowsTheNetPricesOfTheProduct) {
    const ProductRecord p = addProduct(1, QStringLiteral("Szeg"), 2.5);
    setPrices(p, 100, 160);
    Issue issue(productAt(p), prompt);
    EXPECT_EQ(issue.text(B::PurchaseNet), QStringLiteral("100"));
    EXPECT_EQ(issue.text(B::FixedNet), QStringLiteral("160"));
    EXPECT_EQ(issue.text(B::FixedGross), QString());
}

TEST_F(StockDialogsTest, TheIssueIsCheckedAgainUnderTheLock) {
    const ProductRecord p = addProduct(1, QStringLiteral("Szeg"), 3);
    Issue issue(productAt(p), prompt);
    issue.typed(QStringLiteral("3"));
    const std::optional<double> quantity = issue.accept();
    ASSERT_TRUE(quantity);
    StockRule elsewhere(data.dataFolder());
    elsewhere.apply(p, -1);  // another workstation took one meanwhile
    StockRule rule(data.dataFolder());
    EXPECT_THROW(storeIssue(rule, p, *quantity), IssueAboveStock);
    EXPECT_EQ(stockOf(1), 2);
}

TEST_F(StockDialogsTest, SettingsAreReadFromTheSettingsRecord) {
    const StockDialogSettings read = readStockDialogSettings(data.UserTable(), false);
    EXPECT_FALSE(read.severalLevels);
    EXPECT_EQ(read.rounding, 1);
    EXPECT_EQ(read.multipliers, (std::array<double, 3>{25, 20, 10}));
}

}  // namespace
}  // namespace kavina::documents
