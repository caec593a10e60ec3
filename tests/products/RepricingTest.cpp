#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "products/pricing/Promotions.h"
#include "products/pricing/Repricing.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;

class RepricingTest : public ProductFolder {
protected:
    RepricingSettings settings_{true, true, {{30, 25, 10}, 2}};

    void SetUp() override {
        ProductFolder::SetUp();
        addRow(43, QStringLiteral("Kalapács"), 5);
        select(QStringLiteral("Kalapács"));
    }
    void setRate(double rate) {
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setFloat(A::AFAKULCS, rate);
        p.post();
    }
    void setPrice(const Field& field, double value) {
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setFloat(field, value);
        p.post();
    }
    std::unique_ptr<Repricing> open() { return std::make_unique<Repricing>(data.AnyagTable(), settings_, prompt); }
    static void type(Repricing& r, PriceBox box, const QString& text) {
        r.typed(box, text);
        r.left(box);
    }
    static QStringList texts(const Repricing& r) {
        QStringList all;
        for (int i = 0; i < kPriceBoxCount; ++i) all << r.text(PriceBox(i));
        return all;
    }
};

TEST_F(RepricingTest, OpensWithTheStoredPricesAndAZeroForAnEmptyPurchasePrice) {
    setPrice(A::AR1, 1000);
    setPrice(A::bar1, 1270);
    const auto r = open();
    EXPECT_EQ(texts(*r), (QStringList{"0", "", "1000", "1270", "", "", "", "", "", ""}));
    EXPECT_EQ(r->product().name, QStringLiteral("Kalapács"));
    EXPECT_EQ(r->product().unit, QStringLiteral("db"));
    EXPECT_EQ(r->product().stock, 5);
    EXPECT_FALSE(r->marked());
}

TEST_F(RepricingTest, ThePurchasePriceDerivesTheLevelsWithTheRoundingStep) {
    setRate(25);
    auto r = open();
    type(*r, PriceBox::PurchaseNet, QStringLiteral("1000"));
    // Level 1: 1 000 × 1.3 = 1 300, gross 1 625; level 2: 1 250 (tens); level 3: 1 100.
    EXPECT_EQ(texts(*r),
              (QStringList{"1000", "1250", "1300", "1625", "1250", "1562,5", "1100", "1375", "1300", "1625"}));
    // With hundreds 1 250 goes up to 1 300.
    settings_.rule.rounding = 3;
    r = open();
    type(*r, PriceBox::PurchaseNet, QStringLiteral("1000"));
    EXPECT_EQ(r->text(PriceBox::Level2Net), QStringLiteral("1300"));
}

TEST_F(RepricingTest, TheSameDerivationsAtTwentySevenPercent) {
    settings_.rule = {{0, 0, 0}, 1};
    auto r = open();
    type(*r, PriceBox::PurchaseNet, QStringLiteral("1000"));
    EXPECT_EQ(r->text(PriceBox::PurchaseGross), QStringLiteral("1270"));
    EXPECT_EQ(r->text(PriceBox::Level1Gross), QStringLiteral("1270"));
    r = open();
    type(*r, PriceBox::Level2Gross, QStringLiteral("1000"));
    EXPECT_EQ(r->text(PriceBox::Level2Net), QStringLiteral("787,4016"));
}

TEST_F(RepricingTest, AFixedPriceShownStaysAndAnEmptyOneTakesTheHighestLevel) {
    setRate(25);
    setPrice(A::FIXAR, 2000);
    auto r = open();
    type(*r, PriceBox::PurchaseNet, QStringLiteral("1000"));
    EXPECT_EQ(r->text(PriceBox::FixedNet), QStringLiteral("2000"));
    EXPECT_EQ(r->text(PriceBox::FixedGross), QStringLiteral("1625")) << "only the gross box was empty";
    // Emptied by the clerk, the fixed price is derived again.
    r->typed(PriceBox::FixedNet, QString());
    r->typed(PriceBox::FixedGross, QString());
    type(*r, PriceBox::PurchaseNet, QStringLiteral("2000"));
    EXPECT_EQ(r->text(PriceBox::FixedNet), QStringLiteral("2600"));
    EXPECT_EQ(r->text(PriceBox::FixedGross), QStringLiteral("3250"));
}

TEST_F(RepricingTest, WithOnePriceLevelTheFixedPriceIsNotDerived) {
    settings_.severalLevels = false;
    auto r = open();
    type(*r, PriceBox::PurchaseNet, QStringLiteral("1000"));
    EXPECT_EQ(r->text(PriceBox::FixedNet), QString());
    EXPECT_EQ(r->text(PriceBox::Level1Net), QStringLiteral("1300")) << "the hidden levels follow all the same";
}

TEST_F(RepricingTest, WithoutAutomaticPricesOnlyTheGrossPurchasePriceFollows) {
    settings_.derive = false;
    setPrice(A::AR1, 500);
    auto r = open();
    type(*r, PriceBox::PurchaseNet, QStringLiteral("1000,123456"));
    EXPECT_EQ(texts(*r), (QStringList{"1000,1235", "1270,1568", "500", "", "", "", "", "", "", ""}));
}

TEST_F(RepricingTest, AGrossPurchasePriceGivesTheNetAndLeavesTheLevels) {
    setRate(25);
    setPrice(A::AR1, 900);
    setPrice(A::bar1, 1125);
    auto r = open();
    type(*r, PriceBox::PurchaseGross, QStringLiteral("1250"));
    EXPECT_EQ(texts(*r), (QStringList{"1000", "1250", "900", "1125", "", "", "", "", "", ""}));
    // Leaving the net purchase box next changes nothing either: the gross one is marked.
    r->left(PriceBox::PurchaseNet);
    EXPECT_EQ(r->text(PriceBox::Level1Net), QStringLiteral("900"));
}

TEST_F(RepricingTest, TheMarkedBoxIsNeverOverwrittenByItsPartner) {
    auto r = open();
    type(*r, PriceBox::Level1Net, QStringLiteral("1000"));
    EXPECT_EQ(r->text(PriceBox::Level1Gross), QStringLiteral("1270"));
    // A key in the gross box marks it: leaving the net box then leaves the gross alone.
    r->keyPressed(PriceBox::Level1Gross);
    EXPECT_EQ(r->marked(), PriceBox::Level1Gross);
    r->typed(PriceBox::Level1Net, QStringLiteral("2000"));
    r->keyPressed(PriceBox::Level1Gross);
    r->left(PriceBox::Level1Net);
    EXPECT_EQ(r->text(PriceBox::Level1Gross), QStringLiteral("1270"));
    // The gross box left follows into the net (the net is not marked).
    type(*r, PriceBox::Level1Gross, QStringLiteral("2540"));
    EXPECT_EQ(r->text(PriceBox::Level1Net), QStringLiteral("2000"));
    // A box holding no number changes nothing when left.
    type(*r, PriceBox::FixedNet, QStringLiteral("abc"));
    EXPECT_EQ(r->text(PriceBox::FixedGross), QString());
}

TEST_F(RepricingTest, AcceptRoundsTheNetsKeepsTheGrossesAndCountsEmptyAsZero) {
    auto r = open();
    r->typed(PriceBox::Level1Net, QStringLiteral("1000,123456"));
    r->typed(PriceBox::Level1Gross, QStringLiteral("1270,56789"));
    r->typed(PriceBox::PurchaseNet, QString());
    const std::optional<RepricedValues> v = r->accept({15, 20, 25});
    ASSERT_TRUE(v);
    EXPECT_DOUBLE_EQ(v->price(PriceBox::Level1Net), 1000.1235);
    EXPECT_DOUBLE_EQ(v->price(PriceBox::Level1Gross), 1270.56789);
    EXPECT_DOUBLE_EQ(v->price(PriceBox::PurchaseNet), 0);
    EXPECT_DOUBLE_EQ(v->price(PriceBox::FixedGross), 0);
    EXPECT_EQ(v->multipliers, (std::array<double, 3>{15, 20, 25}));
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(RepricingTest, AcceptRefusesATextThatIsNoNumber) {
    auto r = open();
    r->typed(PriceBox::Level2Gross, QStringLiteral("12a"));
    r->typed(PriceBox::FixedNet, QStringLiteral("x"));
    EXPECT_FALSE(r->accept({15, 20, 25}));
    EXPECT_EQ(prompt.transcript(), (QStringList{"message|warning|Figyelem!|12a: érvénytelen szám!"}));
    EXPECT_EQ(r->firstRefused(), PriceBox::Level2Gross);
}

TEST_F(RepricingTest, WrittenValuesLeaveTheStock) {
    RepricedValues v;
    for (int i = 0; i < kPriceBoxCount; ++i) v.prices[size_t(i)] = 100 + i;
    v.multipliers = {15, 20, 25};
    TableHandle& p = data.AnyagTable();
    p.edit();
    writeRepricedValues(p, v);
    p.post();
    EXPECT_EQ(p.asFloat(A::BESZERZAR), 100);
    EXPECT_EQ(p.asFloat(A::bbesz), 101);
    EXPECT_EQ(p.asFloat(A::AR3), 106);
    EXPECT_EQ(p.asFloat(A::bfixar), 109);
    EXPECT_EQ(p.asFloat(A::SZ2), 20);
    EXPECT_EQ(p.asFloat(A::MENNYISEG), 5);
}

TEST_F(RepricingTest, SettingsComeFromTheSettingsRecordAndTheWorkstation) {
    IniSettings ini;
    ini.tobbar = 0;
    ini.automataar = 1;
    const RepricingSettings s = readRepricingSettings(data.UserTable(), ini);
    EXPECT_FALSE(s.severalLevels);
    EXPECT_FALSE(s.derive);
    EXPECT_EQ(s.rule.rounding, 1);
    EXPECT_EQ(s.rule.markups, (std::array<double, 3>{25, 20, 10}));
}

}  // namespace
}  // namespace kavina::products

namespace kavina::products {
namespace {

namespace A = fields::Anyag;

class RepricingInTheRegisterTest : public ProductFolder {
protected:
    std::unique_ptr<ProductWindow> window;

    void SetUp() override {
        ProductFolder::SetUp();
        addRow(1, QStringLiteral("Első"), 5);
        addRow(2, QStringLiteral("Második"), 5);
        window = std::make_unique<ProductWindow>(data, prompt, dialogs, desktop, options());
        window->open();
        select(QStringLiteral("Első"));
    }
    // Another workstation changes the product while the window is open.
    void elsewhere(const std::function<void(TableHandle&)>& change) {
        TDataModule1 other;
        other.open(dir.path());
        ASSERT_TRUE(other.AnyagTable().locate({{A::ANYAGKOD, QStringLiteral("1")}}));
        change(other.AnyagTable());
    }
    const RecordCursor& product(double code) {
        TableHandle& p = data.AnyagTable();
        p.refresh();
        p.setFiltered(false);
        EXPECT_TRUE(p.locate({{A::ANYAGKOD, QString::number(code)}}));
        return p;
    }
};

TEST_F(RepricingInTheRegisterTest, TheWindowsPricesAreStoredAndAStockMovedElsewhereStays) {
    dialogs.repricings.push_back([this](const RecordCursor& p) {
        Repricing r(p, readRepricingSettings(data.UserTable(), settings), prompt);
        r.typed(PriceBox::PurchaseNet, QStringLiteral("1000"));
        r.left(PriceBox::PurchaseNet);
        elsewhere([](TableHandle& other) {
            other.edit();
            other.setFloat(A::MENNYISEG, 12);
            other.post();
        });
        return r.accept(currentMultipliers(data.UserTable()));
    });
    EXPECT_TRUE(window->reprice());
    EXPECT_EQ(dialogs.calls, QStringList{"reprice:Első"});
    const RecordCursor& p = product(1);
    // SZORZO 25/20/10 at whole forints, 27 %.
    EXPECT_EQ(p.asFloat(A::BESZERZAR), 1000);
    EXPECT_EQ(p.asFloat(A::bbesz), 1270);
    EXPECT_EQ(p.asFloat(A::AR1), 1250);
    EXPECT_EQ(p.asFloat(A::bar1), 1587.5);
    EXPECT_EQ(p.asFloat(A::AR3), 1100);
    EXPECT_EQ(p.asFloat(A::FIXAR), 1250);
    EXPECT_EQ(p.asFloat(A::bfixar), 1587.5);
    EXPECT_EQ(p.asFloat(A::SZ1), 25);
    EXPECT_EQ(p.asFloat(A::SZ3), 10);
    EXPECT_EQ(p.asFloat(A::MENNYISEG), 12);
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_EQ(currentName(), QStringLiteral("Első")) << "the list stays on the product";
}

TEST_F(RepricingInTheRegisterTest, AProductDeletedMeanwhileGetsNothingAndNoOtherProductEither) {
    dialogs.repricings.push_back([this](const RecordCursor&) {
        elsewhere([](TableHandle& other) { other.deleteRecord(); });
        RepricedValues v;
        v.prices.fill(777);
        return std::optional<RepricedValues>(v);
    });
    EXPECT_FALSE(runCommand(prompt, [&] { window->reprice(); }));
    EXPECT_EQ(prompt.transcript(),
              QStringList{"message|warning|Figyelem!|A terméket közben egy másik munkaállomás törölte."});
    EXPECT_TRUE(product(2).isNull(A::AR1));
}

TEST_F(RepricingInTheRegisterTest, ACancelledWindowOrAMissingRightChangesNothing) {
    EXPECT_FALSE(window->reprice());
    ProductWindow limited(data, prompt, dialogs, desktop, options(QStringLiteral("TU")));
    limited.open();
    EXPECT_FALSE(limited.canReprice());
    EXPECT_FALSE(limited.reprice());
    limited.promotions();
    EXPECT_EQ(dialogs.calls, QStringList{"reprice:Első"});
    EXPECT_TRUE(product(1).isNull(A::AR1));
    EXPECT_FALSE(data.AnyagTable().isEditing());
}

TEST_F(RepricingInTheRegisterTest, PromotionsOpenOnTheProductAndNeedTheirTable) {
    window->promotions();
    EXPECT_EQ(dialogs.calls, QStringList{"promotions:1:2008-03-15"});
    data.closeTable(TableId::Akcio);
    EXPECT_FALSE(runCommand(prompt, [&] { window->promotions(); }));
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|" + kNoPromotionsMessage});
    EXPECT_EQ(dialogs.calls.size(), 1);
}

}  // namespace
}  // namespace kavina::products
