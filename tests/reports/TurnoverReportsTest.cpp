// The number texts of the printed statistics.

#include <gtest/gtest.h>

#include "reports/turnover/TurnoverReports.h"

namespace kavina::reports {
namespace {

TEST(PlainNumberTest, ShortestFormWithADecimalCommaAndNoSumNoise) {
    EXPECT_EQ(plainNumber(12500), QStringLiteral("12500"));
    EXPECT_EQ(plainNumber(10.25), QStringLiteral("10,25"));
    EXPECT_EQ(plainNumber(-1.5), QStringLiteral("-1,5"));
    EXPECT_EQ(plainNumber(-0.0), QStringLiteral("0"));
    EXPECT_EQ(plainNumber(1e15), QStringLiteral("1000000000000000"));
    // Four-decimal figures summed: 2600.1 + 2600.1 is 5200.200000000001 in binary.
    EXPECT_EQ(plainNumber(2600.1 + 2600.1 + 0.0000001), QStringLiteral("5200,2"));
    EXPECT_EQ(plainNumber(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(plainNumber(16.66666666), QStringLiteral("16,6667"));
}

}  // namespace
}  // namespace kavina::reports
