#include "foundation/Seged.h"

#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "dbase/TestFolder.h"
#include "foundation/TableHandle.h"

namespace kavina {
namespace {

TEST(SegedTest, PaddingNeverCuts) {
    EXPECT_EQ(zeroPad(42, 5), QStringLiteral("00042"));
    EXPECT_EQ(zeroPad(123456, 5), QStringLiteral("123456"));
    EXPECT_EQ(zeroPad(0, 3), QStringLiteral("000"));
    EXPECT_EQ(zeroPad(-42, 5), QStringLiteral("-0042"));
    EXPECT_EQ(padLeft(QStringLiteral("ab"), 5), QStringLiteral("   ab"));
    EXPECT_EQ(padLeft(QStringLiteral("abcdef"), 5), QStringLiteral("abcdef"));
}

TEST(SegedTest, OneYearLaterKeepsMonthAndDay) {
    EXPECT_EQ(oneYearLater(QDate(2008, 3, 15)), QDate(2009, 3, 15));
    EXPECT_EQ(oneYearLater(QDate(2008, 2, 29)), QDate(2009, 2, 28));
    EXPECT_EQ(oneYearLater(QDate(2007, 12, 31)), QDate(2008, 12, 31));
}

constexpr Field kNev{"nevek.dbf", "NEV"};

class FilterHelperTest : public ::testing::Test {
protected:
    void SetUp() override {
        dbase::Table::create(m_folder.path(), "nevek.dbf", {{kNev.text(), dbase::FieldType::Character, 10}});
        m_table.open();
        for (const char* name : {"Anna", "Béla", "Anikó", "Csaba"}) {
            m_table.append();
            m_table.setString(kNev, QString::fromUtf8(name));
            m_table.post();
        }
    }

    void moveTo(const std::string& name) { ASSERT_TRUE(m_table.locate({{kNev, QString::fromStdString(name)}})); }

    testing_support::TestFolder m_folder;
    TableHandle m_table{m_folder.path(), "nevek.dbf"};
};

TEST_F(FilterHelperTest, FilterAndCountSwitchesTheFilterOn) {
    EXPECT_EQ(filterAndCount(m_table, "NEV = 'An*'"), 2);
    EXPECT_TRUE(m_table.filtered());
    EXPECT_EQ(m_table.asString(kNev), QStringLiteral("Anna"));
}

TEST_F(FilterHelperTest, RefusedFilterKeepsThePreviousOne) {
    filterAndCount(m_table, "NEV = 'An*'");
    EXPECT_ANY_THROW(filterAndCount(m_table, "NINCS = 1"));
    EXPECT_EQ(m_table.filter(), "NEV = 'An*'");
    EXPECT_EQ(m_table.recordCount(), 2u);
}

TEST_F(FilterHelperTest, UnfilteringStaysOnTheCurrentRecord) {
    filterAndCount(m_table, "NEV = 'An*'");
    moveTo("Anikó");
    unfilterInPlace(m_table);
    EXPECT_FALSE(m_table.filtered());
    EXPECT_EQ(m_table.asString(kNev), QStringLiteral("Anikó"));
    EXPECT_EQ(m_table.recordCount(), 4u);
    EXPECT_EQ(m_table.filter(), "NEV = 'An*'");
}

TEST_F(FilterHelperTest, ClearingEmptiesTheTextAndCountsAll) {
    filterAndCount(m_table, "NEV = 'An*'");
    moveTo("Anikó");
    EXPECT_EQ(clearFilterAndCount(m_table), 4);
    EXPECT_EQ(m_table.filter(), "");
    EXPECT_FALSE(m_table.filtered());
    EXPECT_EQ(m_table.asString(kNev), QStringLiteral("Anikó"));
}

}  // namespace
}  // namespace kavina
