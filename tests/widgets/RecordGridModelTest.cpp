#include "widgets/RecordGridModel.h"

#include <gtest/gtest.h>

#include <QFont>

#include "foundation/CatalogueFields.h"
#include "foundation/MemTable.h"

namespace kavina::widgets {
namespace {

namespace T = fields::Telep;

class RecordGridModelTest : public ::testing::Test {
protected:
    MemTable towns{"towns"};

    void SetUp() override {
        towns.setFields({{T::IRSZAM.text(), dbase::FieldType::Character, 4},
                         {T::TELEPULES.text(), dbase::FieldType::Character, 30}});
        const std::pair<const char*, const char*> rows[] = {
            {"6720", "Szeged"}, {"1051", "Budapest"}, {"6721", "Algyő"}};
        for (const auto& [postcode, town] : rows) {
            towns.append();
            towns.setString(T::IRSZAM, QString::fromUtf8(postcode));
            towns.setString(T::TELEPULES, QString::fromUtf8(town));
            towns.post();
        }
    }
};

TEST_F(RecordGridModelTest, ShowsEveryRecordWithoutMovingTheSharedCursor) {
    towns.first();
    towns.next();  // another window stands on Budapest
    RecordGridModel model(towns,
                          {{QStringLiteral("Irsz."), T::IRSZAM}, {QStringLiteral("Település"), T::TELEPULES, true}});
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.data(model.index(2, 1), Qt::DisplayRole).toString(), QStringLiteral("Algyő"));
    EXPECT_EQ(towns.asString(T::TELEPULES), QStringLiteral("Budapest"));
    EXPECT_EQ(model.currentRow(), 1);
    EXPECT_TRUE(model.headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model.headerData(0, Qt::Horizontal, Qt::FontRole).isValid());
}

TEST_F(RecordGridModelTest, SelectingARowMovesTheCursorAndReloadFollowsChanges) {
    RecordGridModel model(towns, {{QStringLiteral("Település"), T::TELEPULES}});
    ASSERT_TRUE(model.moveTo(2));
    EXPECT_EQ(towns.asString(T::TELEPULES), QStringLiteral("Algyő"));
    EXPECT_FALSE(model.moveTo(3));
    towns.sort({{T::TELEPULES}});
    model.reload();
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("Algyő"));
    EXPECT_EQ(model.currentRow(), 0);
    model.setSortColumn(0);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Település ▲"));
}

TEST(RecordGridMoneyTest, MoneyColumnsShowTwoDecimalsWithGroupedThousandsAndEmptyStaysEmpty) {
    MemTable amounts{"amounts"};
    amounts.setFields({{"OSSZEG", dbase::FieldType::Float}});
    const Field amount{"amounts", "OSSZEG"};
    for (const double value : {1234567.5, -12.0}) {
        amounts.append();
        amounts.setFloat(amount, value);
        amounts.post();
    }
    amounts.append();
    amounts.post();
    RecordGridModel model(amounts, {{QStringLiteral("Összeg"), amount, false, ColumnKind::Money}});
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("1 234 567,50"));
    EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("-12,00"));
    EXPECT_EQ(model.data(model.index(2, 0), Qt::DisplayRole).toString(), QString());
    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace
}  // namespace kavina::widgets
