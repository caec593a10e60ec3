#include <gtest/gtest.h>

#include "StockFolder.h"
#include "dbase/DbError.h"
#include "dbase/Transaction.h"

namespace kavina::documents {
namespace {

namespace A = fields::Anyag;
namespace T = fields::Tranzakcio;

class StockRuleTest : public StockFolder {};

TEST_F(StockRuleTest, AddsTheSignedQuantityWithoutALowerBound) {
    const ProductRecord p = addProduct(1, QStringLiteral("Kalapács"), -1);
    StockRule rule(data.dataFolder());
    EXPECT_EQ(rule.apply(p, 2.5), 1.5);
    EXPECT_EQ(stockOf(1), 1.5);
    EXPECT_EQ(rule.apply(p, -4), -2.5);
    EXPECT_EQ(stockOf(1), -2.5);
}

TEST_F(StockRuleTest, EachResultIsRoundedToFourDecimals) {
    const ProductRecord p = addProduct(1, QStringLiteral("Szeg"), 0.1);
    StockRule rule(data.dataFolder());
    for (int i = 0; i < 3; ++i) rule.apply(p, -0.03);
    // Without rounding each step, 0.1 - 0.03 - 0.03 - 0.03 is 0.010000000000000002.
    EXPECT_EQ(stockOf(1), 0.01);
    rule.apply(p, 0.00005);
    EXPECT_EQ(stockOf(1), 0.0101);
}

TEST_F(StockRuleTest, AServiceIsNeverMoved) {
    const ProductRecord p = addProduct(7, QStringLiteral("Szerelés"), 0, 27, true);
    StockRule rule(data.dataFolder());
    bool wrote = false;
    EXPECT_EQ(rule.apply(p, 5, [&](RecordCursor&) { wrote = true; }), std::nullopt);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(stockOf(7), 0);
}

TEST_F(StockRuleTest, AHandleThatReadEarlierDoesNotUndoAnotherMovement) {
    const ProductRecord p = addProduct(3, QStringLiteral("Csavar"), 10);
    StockRule first(data.dataFolder());
    StockRule second(data.dataFolder());
    ASSERT_TRUE(second.findByCode(3));  // the second workstation has read the product at 10
    first.apply(p, 1);
    second.apply(p, 1);
    EXPECT_EQ(stockOf(3), 12);
}

TEST_F(StockRuleTest, TheRecordIsLockedFromTheReReadToThePost) {
    const ProductRecord p = addProduct(3, QStringLiteral("Csavar"), 10);
    StockRule first(data.dataFolder());
    StockRule other(data.dataFolder(), std::chrono::milliseconds(50));
    first.apply(p, 1, [&](RecordCursor&) {
        try {
            other.apply(p, 1);
            ADD_FAILURE() << "the record was not locked";
        } catch (const dbase::DbError& e) {
            EXPECT_TRUE(e.contains(dbase::errtext::kRecordLocked)) << e.what();
        }
    });
    EXPECT_EQ(stockOf(3), 11);
    EXPECT_EQ(other.apply(p, 1), 12);
}

TEST_F(StockRuleTest, InsideATransactionTheMovementStandsOrFallsWithIt) {
    const ProductRecord p = addProduct(3, QStringLiteral("Csavar"), 10);
    StockRule rule(data.dataFolder());
    {
        dbase::Transaction transaction(data.dataFolder());
        EXPECT_EQ(rule.apply(p, 5), 15);
        EXPECT_EQ(rule.apply(p, 5), 20);  // the transaction's own change is read back
    }
    EXPECT_EQ(stockOf(3), 10);
    {
        dbase::Transaction transaction(data.dataFolder());
        rule.apply(p, -2);
        transaction.commit();
    }
    EXPECT_EQ(stockOf(3), 8);
}

TEST_F(StockRuleTest, AFailureWrittenWithTheMovementStoresNothing) {
    const ProductRecord p = addProduct(3, QStringLiteral("Csavar"), 10);
    StockRule rule(data.dataFolder());
    EXPECT_THROW(rule.apply(p, 5, [](RecordCursor&) { throw std::runtime_error("no"); }), std::runtime_error);
    EXPECT_EQ(stockOf(3), 10);
    // The record is not left locked.
    StockRule other(data.dataFolder(), std::chrono::milliseconds(50));
    EXPECT_EQ(other.apply(p, 1), 11);
}

TEST_F(StockRuleTest, AProductDeletedOrReplacedMeanwhileIsNotMoved) {
    const ProductRecord p = addProduct(3, QStringLiteral("Csavar"), 10);
    addProduct(4, QStringLiteral("Anya"), 20);
    StockRule rule(data.dataFolder());
    EXPECT_THROW(rule.apply({p.recNo, 4}, 1), ProductGone);  // the record holds another product
    TableHandle& products = data.AnyagTable();
    ASSERT_TRUE(products.gotoBookmark({p.recNo}));
    products.deleteRecord();
    EXPECT_THROW(rule.apply(p, 1), ProductGone);
    EXPECT_EQ(stockOf(4), 20);
}

TEST_F(StockRuleTest, ALineFindsItsProductByCodeAndNameBoth) {
    addProduct(3, QStringLiteral("Csavar M6"), 10);
    const ProductRecord second = addProduct(3, QStringLiteral("Csavar M8"), 10);
    StockRule rule(data.dataFolder());
    const std::optional<ProductRecord> found = rule.findForLine(3, QStringLiteral("Csavar M8"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->recNo, second.recNo);
    // Renamed after the line was picked: the line moves no stock.
    EXPECT_FALSE(rule.findForLine(3, QStringLiteral("Csavar M10")));
    EXPECT_FALSE(rule.findForLine(3, QStringLiteral("csavar m8")));
    EXPECT_FALSE(rule.findForLine(5, QStringLiteral("Csavar M8")));
    EXPECT_TRUE(rule.findByCode(3));
}

TEST_F(StockRuleTest, LogRowsCarryTheirMovementType) {
    const QStringList expected{QStringLiteral("LTM"), QStringLiteral("LHM"), QStringLiteral("SZL"),
                               QStringLiteral("BEV"), QStringLiteral("VIS"), QStringLiteral("ELS"),
                               QStringLiteral("ELT"), QStringLiteral("SEL"), QStringLiteral("JÓV")};
    for (int m = 0; m < expected.size(); ++m) EXPECT_EQ(movementCode(Movement(m)), expected[m]);

    StockLogRow row;
    row.articleNumber = QStringLiteral("KSZ-0001");
    row.document = QStringLiteral("JOV2008/00003");
    row.partner = 12;
    row.item = QStringLiteral("Kalapács 500 g");
    row.quantity = -2.5;
    row.user = QStringLiteral("Rendszergazda");
    row.when = QDateTime(QDate(2008, 3, 15), QTime(10, 15, 30), Qt::UTC);
    row.movement = Movement::Corrective;
    appendStockLog(data.tranzakcio(), row);

    TableHandle& log = data.tranzakcio();
    log.refresh();
    log.first();
    EXPECT_EQ(log.asString(T::cikkszam), row.articleNumber);
    EXPECT_EQ(log.asString(T::bizonylat), row.document);
    EXPECT_EQ(log.asInteger(T::partner), 12);
    EXPECT_EQ(log.asString(T::tetel), row.item);
    EXPECT_EQ(log.asFloat(T::mennyiseg), -2.5);
    EXPECT_EQ(log.asString(T::ugyintezo), row.user);
    EXPECT_EQ(log.asDateTime(T::datum), QDateTime(QDate(2008, 3, 15), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(log.asString(T::ido), QStringLiteral("10:15:30"));
    EXPECT_EQ(log.asString(T::tipus), QStringLiteral("JÓV"));
}

}  // namespace
}  // namespace kavina::documents
