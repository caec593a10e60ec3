#include "foundation/TextFormat.h"

#include <gtest/gtest.h>
#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include "QtPrinters.h"

namespace kavina {
namespace {

TEST(TextFormatTest, DatesAreYearFirstAndTimesHaveSeconds) {
    EXPECT_EQ(dateText(QDate(2008, 3, 15)), QStringLiteral("2008.03.15"));
    EXPECT_EQ(dateText(QDate()), QString());
    EXPECT_EQ(timeText(QTime(14, 5, 9)), QStringLiteral("14:05:09"));
}

TEST(TextFormatTest, ParsingRefusesImpossibleAndMisshapenDates) {
    EXPECT_EQ(parseDateText(QStringLiteral("2008.03.15")), QDate(2008, 3, 15));
    EXPECT_EQ(parseDateText(QStringLiteral("2008.03.15.")), QDate(2008, 3, 15));
    EXPECT_EQ(parseDateText(QStringLiteral("2008.02.29")), QDate(2008, 2, 29));
    EXPECT_FALSE(parseDateText(QStringLiteral("2009.02.29")));
    EXPECT_FALSE(parseDateText(QStringLiteral("2008-03-15")));
    EXPECT_FALSE(parseDateText(QStringLiteral("2008.3.15")));
    EXPECT_FALSE(parseDateText(QString()));
}

// Without a font that has the Hungarian long umlauts every screen draws empty boxes and
// nothing else would fail.
TEST(TextFormatTest, TheDefaultFontDrawsHungarianLetters) {
    const QRawFont raw = QRawFont::fromFont(QFont());
    ASSERT_TRUE(raw.isValid());
    for (const QChar ch : QStringLiteral("őűŐŰáé")) EXPECT_TRUE(raw.supportsCharacter(ch)) << QString(ch).toStdString();
}

}  // namespace
}  // namespace kavina
