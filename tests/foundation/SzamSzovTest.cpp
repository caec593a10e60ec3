#include "foundation/SzamSzov.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include "QtPrinters.h"

namespace kavina {
namespace {

QString words(int64_t n) {
    return SzamSzov(n);
}

TEST(SzamSzovTest, SmallNumbersUseTheUnitsAndTensWords) {
    EXPECT_EQ(words(0), QString());
    EXPECT_EQ(words(5), QStringLiteral("öt"));
    EXPECT_EQ(words(10), QStringLiteral("tíz"));
    EXPECT_EQ(words(12), QStringLiteral("tizenkettő"));
    EXPECT_EQ(words(20), QStringLiteral("húsz"));
    EXPECT_EQ(words(22), QStringLiteral("huszonkettő"));
    EXPECT_EQ(words(99), QStringLiteral("kilencvenkilenc"));
    EXPECT_EQ(words(105), QStringLiteral("egyszázöt"));
    EXPECT_EQ(words(200), QStringLiteral("kettőszáz"));
}

TEST(SzamSzovTest, HyphensFollowTheSizeOfTheAmountOnly) {
    EXPECT_EQ(words(2000), QStringLiteral("kettőezer"));
    EXPECT_EQ(words(2001), QStringLiteral("kettőezer-egy"));
    EXPECT_EQ(words(3000), QStringLiteral("háromezer-"));
    EXPECT_EQ(words(1999), QStringLiteral("egyezerkilencszázkilencvenkilenc"));
    EXPECT_EQ(words(21000), QStringLiteral("huszonegyezer-"));
    EXPECT_EQ(words(20000), QStringLiteral("húszezer-"));
    EXPECT_EQ(words(300000), QStringLiteral("háromszázezer-"));
    EXPECT_EQ(words(310000), QStringLiteral("háromszáztízezer-"));
    EXPECT_EQ(words(1000000), QStringLiteral("egymillió-"));
    EXPECT_EQ(words(1000001), QStringLiteral("egymillió--egy"));
    EXPECT_EQ(words(1000000000), QStringLiteral("--"));
}

TEST(SzamSzovTest, MillionsAndTheSignWord) {
    EXPECT_EQ(words(1234567), QStringLiteral("egymillió-kettőszázharmincnégyezer-ötszázhatvanhét"));
    EXPECT_EQ(words(-1234567), QStringLiteral("mínusz egymillió-kettőszázharmincnégyezer-ötszázhatvanhét"));
    EXPECT_EQ(words(2147483647), QStringLiteral("egyszáznegyvenhétmillió-négyszáznyolcvanháromezer-hatszáznegyvenhét"));
    EXPECT_EQ(words(20000000), QStringLiteral("húszmillió--"));
    EXPECT_EQ(words(500000000), QStringLiteral("ötszázmillió--"));
    EXPECT_EQ(words(-5), QStringLiteral("mínusz öt"));
    EXPECT_EQ(words(std::numeric_limits<int64_t>::min()).left(7), QStringLiteral("mínusz "));
}

TEST(KerekitTest, ModesRoundHalvesAwayFromZero) {
    EXPECT_EQ(Kerekit(1, 2.5), 3);
    EXPECT_EQ(Kerekit(1, -2.5), -3);
    EXPECT_EQ(Kerekit(2, 1234.5), 1230);
    EXPECT_EQ(Kerekit(2, 1235), 1240);
    EXPECT_EQ(Kerekit(3, 1250), 1300);
    EXPECT_EQ(Kerekit(3, -1250), -1300);
    EXPECT_DOUBLE_EQ(double(Kerekit(0, 0.125)), 0.13);
    EXPECT_DOUBLE_EQ(double(Kerekit(-1, 1.23455)), 1.2346);
    EXPECT_EQ(Kerekit(5, 100), 0);
    EXPECT_EQ(Kerekit(-2, 100), 0);
}

TEST(KerekitTest, RoundingHelpersShareTheHalfAwayRule) {
    EXPECT_EQ(KerekitRound(0.5), 1);
    EXPECT_EQ(KerekitRound(-0.5), -1);
    EXPECT_EQ(KerekitRound(0.49), 0);
    EXPECT_EQ(KerekitRound(-0.49), 0);
    // 2.675 is held as 2.67499999999999982...; times 100 that is exact in long double and
    // stays below the half, where double arithmetic would round it up to 267.5.
    EXPECT_DOUBLE_EQ(double(roundTo(2, 2.675)), 2.67);
    EXPECT_DOUBLE_EQ(double(Kerekit(0, 2.675)), 2.67);
    EXPECT_DOUBLE_EQ(double(roundTo(4, -0.00005)), -0.0001);
    EXPECT_THROW(KerekitRound(std::numeric_limits<double>::quiet_NaN()), std::range_error);
    EXPECT_THROW(KerekitRound(1e300), std::range_error);
}

TEST(KerekitTest, PlainConversionRoundsTiesToEven) {
    EXPECT_EQ(floatToInteger(2.5), 2);
    EXPECT_EQ(floatToInteger(3.5), 4);
    EXPECT_EQ(floatToInteger(-2.5), -2);
    EXPECT_EQ(floatToInteger(-3.5), -4);
    EXPECT_EQ(floatToInteger(2.51), 3);
    EXPECT_EQ(floatToInteger(-0.4), 0);
    EXPECT_THROW(floatToInteger(std::numeric_limits<double>::infinity()), std::range_error);
}

TEST(CashRoundTest, LastDigitGoesToTheNearestZeroOrFive) {
    const std::pair<double, int64_t> cases[] = {{100, 100},   {101, 100},   {102, 100},   {103, 105},   {104, 105},
                                                {105, 105},   {106, 105},   {107, 105},   {108, 110},   {109, 110},
                                                {-103, -105}, {-101, -100}, {-108, -110}, {-106, -105}, {102.5, 105},
                                                {0.4, 0},     {0, 0}};
    for (const auto& [amount, expected] : cases) EXPECT_EQ(cashRound(amount), expected) << amount;
}

TEST(GroupDigitsTest, EveryThirdCharacterFromTheRightGetsABlank) {
    EXPECT_EQ(groupDigits(1234567), QStringLiteral("1 234 567"));
    EXPECT_EQ(groupDigits(123), QStringLiteral(" 123"));
    EXPECT_EQ(groupDigits(123456), QStringLiteral(" 123 456"));
    EXPECT_EQ(groupDigits(-123), QStringLiteral("- 123"));
    EXPECT_EQ(groupDigits(-1234), QStringLiteral("-1 234"));
    EXPECT_EQ(groupDigits(12), QStringLiteral("12"));
    EXPECT_EQ(groupDigits(0), QStringLiteral("0"));
}

TEST(MoneyTextTest, HungarianCurrencyRightAlignedInTwelve) {
    EXPECT_EQ(moneyText(1234.5), QStringLiteral(" 1 234,50 Ft"));
    EXPECT_EQ(moneyText(0), QStringLiteral("     0,00 Ft"));
    EXPECT_EQ(moneyText(-1234.5), QStringLiteral("-1 234,50 Ft"));
    EXPECT_EQ(moneyText(-5), QStringLiteral("    -5,00 Ft"));
    EXPECT_EQ(moneyText(0.125), QStringLiteral("     0,13 Ft"));
    EXPECT_EQ(moneyText(123456), QStringLiteral("123 456,00 Ft"));
    EXPECT_EQ(moneyText(1234567.891), QStringLiteral("1 234 567,89 Ft"));
    EXPECT_EQ(moneyText(-0.001), QStringLiteral("     0,00 Ft"));
}

}  // namespace
}  // namespace kavina
