#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "products/pricing/PriceRules.h"
#include "products/pricing/PromotionLookup.h"

namespace kavina::products {
namespace {

TEST(PriceRulesTest, NetAndGrossFollowEachOtherToFourDecimals) {
    EXPECT_DOUBLE_EQ(grossOf(1000, 27), 1270);
    EXPECT_DOUBLE_EQ(netOf(1000, 27), 787.4016);
    EXPECT_DOUBLE_EQ(netOf(1250, 25), 1000);
    EXPECT_DOUBLE_EQ(grossOf(1300, 25), 1625);
    // 0.00005 is a half of the fourth decimal: away from zero, on both sides.
    EXPECT_DOUBLE_EQ(grossOf(0.00005, 0), 0.0001);
    EXPECT_DOUBLE_EQ(grossOf(-0.00005, 0), -0.0001);
    EXPECT_DOUBLE_EQ(netOf(0, 27), 0);
}

TEST(PriceRulesTest, AWholeGrossPairRoundsTheGrossAndTakesTheNetBack) {
    const PricePair a = wholeGrossPair(999.99, 25);
    EXPECT_DOUBLE_EQ(a.gross, 1250);
    EXPECT_DOUBLE_EQ(a.net, 1000);
    const PricePair b = wholeGrossPair(1000, 27);
    EXPECT_DOUBLE_EQ(b.gross, 1270);
    EXPECT_DOUBLE_EQ(b.net, 1000);
    // 99.99 × 1.27 = 126.9873: gross 127, and the net shifts to 127 ÷ 1.27.
    const PricePair c = wholeGrossPair(99.99, 27);
    EXPECT_DOUBLE_EQ(c.gross, 127);
    EXPECT_DOUBLE_EQ(c.net, 100);
    EXPECT_DOUBLE_EQ(wholeGrossPair(0, 27).gross, 0);
}

TEST(PriceRulesTest, LevelsFollowTheMarkupsAndTheRoundingStep) {
    LevelRule tens{{30, 25, 10}, 2};
    DerivedLevels d = deriveLevels(1000, tens, 25);
    EXPECT_DOUBLE_EQ(d.levels[0].net, 1300);
    EXPECT_DOUBLE_EQ(d.levels[0].gross, 1625);
    EXPECT_DOUBLE_EQ(d.levels[1].net, 1250);
    EXPECT_DOUBLE_EQ(d.levels[2].net, 1100);
    EXPECT_DOUBLE_EQ(d.highest.net, 1300);
    EXPECT_DOUBLE_EQ(d.highest.gross, 1625);
    // With hundreds 1 250 is a half: it goes up to 1 300.
    EXPECT_DOUBLE_EQ(levelPrice(1000, 25, 3), 1300);
    EXPECT_DOUBLE_EQ(levelPrice(1000, 25, 2), 1250);
    EXPECT_DOUBLE_EQ(levelPrice(1234.5, 0, 1), 1235);
    EXPECT_DOUBLE_EQ(levelPrice(1000.125, 0, 0), 1000.13);
    // The highest level need not be the first.
    d = deriveLevels(1000, {{10, 40, 20}, 1}, 27);
    EXPECT_DOUBLE_EQ(d.highest.net, 1400);
    EXPECT_DOUBLE_EQ(d.highest.gross, 1778);
    // A purchase price of 0 derives levels of 0.
    d = deriveLevels(0, tens, 27);
    EXPECT_DOUBLE_EQ(d.highest.net, 0);
    EXPECT_DOUBLE_EQ(d.levels[2].gross, 0);
}

TEST(PriceRulesTest, APromotionGivesItsGrossAndTheNetAtTheRate) {
    PromotionPrices p = promotionPrices(1270, 27);
    EXPECT_DOUBLE_EQ(p.gross, 1270);
    EXPECT_DOUBLE_EQ(p.net, 1000);
    p = promotionPrices(1000, 27);
    EXPECT_DOUBLE_EQ(p.net, 787.4016);
}

class PromotionLookupTest : public ProductFolder {
protected:
    void addPromotion(double code, QDate from, QDate to, double gross) {
        namespace K = fields::Akcio;
        TableHandle& t = data.akcio();
        t.append();
        t.setInteger(K::kod, int64_t(code));
        t.setDateTime(K::mettol, QDateTime(from, QTime(0, 0), Qt::UTC));
        t.setDateTime(K::meddig, QDateTime(to, QTime(0, 0), Qt::UTC));
        t.setFloat(K::bruttoar, gross);
        t.post();
    }
    std::optional<double> grossOn(double code, QDate day) {
        const std::optional<Promotion> p = promotionOn(data.akcio(), code, day);
        return p ? std::optional<double>(p->gross) : std::nullopt;
    }
};

TEST_F(PromotionLookupTest, BothEndDaysAreCoveredAndNoDayOutside) {
    addPromotion(43, QDate(2008, 3, 1), QDate(2008, 3, 7), 990);
    EXPECT_EQ(grossOn(43, QDate(2008, 3, 1)), 990);
    EXPECT_EQ(grossOn(43, QDate(2008, 3, 4)), 990);
    EXPECT_EQ(grossOn(43, QDate(2008, 3, 7)), 990);
    EXPECT_EQ(grossOn(43, QDate(2008, 3, 8)), std::nullopt);
    EXPECT_EQ(grossOn(43, QDate(2008, 2, 29)), std::nullopt);
    EXPECT_EQ(grossOn(44, QDate(2008, 3, 4)), std::nullopt);
}

TEST_F(PromotionLookupTest, TheFirstInTableOrderWinsWhereSeveralCoverTheDay) {
    addPromotion(44, QDate(2008, 3, 1), QDate(2008, 3, 31), 500);
    addPromotion(43, QDate(2008, 3, 5), QDate(2008, 3, 20), 800);
    addPromotion(43, QDate(2008, 3, 1), QDate(2008, 3, 31), 900);
    EXPECT_EQ(grossOn(43, QDate(2008, 3, 10)), 800);
    EXPECT_EQ(grossOn(43, QDate(2008, 3, 2)), 900);
    const std::optional<Promotion> p = promotionOn(data.akcio(), 43, QDate(2008, 3, 10));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->from, QDate(2008, 3, 5));
    EXPECT_EQ(p->to, QDate(2008, 3, 20));
    EXPECT_EQ(p->record.id, 2u);
}

TEST_F(PromotionLookupTest, TheSharedHandleKeepsItsFilterAndPlace) {
    addPromotion(43, QDate(2008, 3, 1), QDate(2008, 3, 7), 990);
    addPromotion(44, QDate(2008, 3, 1), QDate(2008, 3, 7), 550);
    TableHandle& t = data.akcio();
    t.setFilter("kod = 44");
    t.setFiltered(true);
    t.first();
    EXPECT_EQ(grossOn(43, QDate(2008, 3, 3)), 990);
    EXPECT_TRUE(t.filtered());
    EXPECT_EQ(t.asFloat(fields::Akcio::bruttoar), 550);
}

TEST_F(PromotionLookupTest, AFolderWithoutPromotionsHasNone) {
    data.closeTable(TableId::Akcio);
    EXPECT_EQ(grossOn(43, QDate(2008, 3, 3)), std::nullopt);
}

}  // namespace
}  // namespace kavina::products
