#include <gtest/gtest.h>

#include "foundation/NumberBox.h"

namespace kavina {
namespace {

TEST(NumberBoxTest, ShowsFourDecimalsAtMostWithACommaAndNoTrailingZeros) {
    EXPECT_EQ(numberBoxText(1587.5), QStringLiteral("1587,5"));
    EXPECT_EQ(numberBoxText(100.0), QStringLiteral("100"));
    EXPECT_EQ(numberBoxText(79.99200001), QStringLiteral("79,992"));
    EXPECT_EQ(numberBoxText(0.00005), QStringLiteral("0,0001"));  // halves away from zero
    EXPECT_EQ(numberBoxText(-0.00004), QStringLiteral("0"));
    EXPECT_EQ(numberBoxText(-2.5), QStringLiteral("-2,5"));
    EXPECT_EQ(numberBoxText(1234567.0), QStringLiteral("1234567"));
}

TEST(NumberBoxTest, ReadsCommaOrPointAndTakesAnEmptyBoxForZero) {
    EXPECT_EQ(readNumberBox(QStringLiteral("12,5")), 12.5);
    EXPECT_EQ(readNumberBox(QStringLiteral("12.5")), 12.5);
    EXPECT_EQ(readNumberBox(QStringLiteral("-0,03")), -0.03);
    EXPECT_EQ(readNumberBox(QStringLiteral(",5")), 0.5);
    EXPECT_EQ(readNumberBox(QStringLiteral("7,")), 7.0);
    EXPECT_EQ(readNumberBox(QString()), 0.0);
    EXPECT_EQ(readNumberBox(QStringLiteral("  ")), 0.0);
    for (const char* bad : {"-", "1,2,3", "12a", "1 000", "--1", "1e5", ","})
        EXPECT_EQ(readNumberBox(QString::fromLatin1(bad)), std::nullopt) << bad;
}

TEST(NumberBoxTest, TheBoxesTakeDigitsCommaAndMinusOnly) {
    EXPECT_TRUE(isNumberBoxInput(QStringLiteral("-12,50")));
    EXPECT_FALSE(isNumberBoxInput(QStringLiteral("12.5")));
    EXPECT_FALSE(isNumberBoxInput(QStringLiteral("١٢")));  // digits of another script
    EXPECT_FALSE(isNumberBoxInput(QStringLiteral("a")));
}

}  // namespace
}  // namespace kavina
