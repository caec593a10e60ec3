// The drawn chart of a statistic: its bars and axis labels are the figures', and an empty
// chart has no bars, only its text.

#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <memory>

#include "reports/turnover/forms/TurnoverChartView.h"

namespace kavina::reports {
namespace {

BarChart figures() {
    BarChart c;
    c.title = QStringLiteral("Forgalom és haszon naponként");
    c.categoryTitle = QStringLiteral("Nap");
    c.valueTitle = QStringLiteral("Összeg (Ft)");
    c.categories = {"03.10.", "03.11."};
    c.series = {{QStringLiteral("Bruttó össz."), {12700, 0}}, {QStringLiteral("Haszon"), {1000, -200}}};
    c.ticks = valueTicks(-200, 12700);
    c.emptyText = QStringLiteral("Az időszakban nem volt forgalom.");
    c.sold = true;
    return c;
}

TEST(TurnoverChartViewTest, BarsAndAxesCarryTheFiguresAndTheirForintLabels) {
    const std::unique_ptr<QChart> chart(buildChart(figures()));
    EXPECT_EQ(chart->title(), QStringLiteral("Forgalom és haszon naponként"));
    ASSERT_EQ(chart->series().size(), 1);
    auto* bars = qobject_cast<QBarSeries*>(chart->series()[0]);
    ASSERT_TRUE(bars);
    ASSERT_EQ(bars->barSets().size(), 2);
    EXPECT_EQ(bars->barSets()[0]->label(), QStringLiteral("Bruttó össz."));
    EXPECT_EQ(bars->barSets()[1]->at(1), -200);
    EXPECT_TRUE(chart->legend()->isVisible());

    auto* days = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal)[0]);
    ASSERT_TRUE(days);
    EXPECT_EQ(days->categories(), (QStringList{"03.10.", "03.11."}));
    EXPECT_EQ(days->titleText(), QStringLiteral("Nap"));
    auto* amounts = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Vertical)[0]);
    ASSERT_TRUE(amounts);
    EXPECT_EQ(amounts->categoriesLabels(), (QStringList{"-5 000 Ft", "0 Ft", "5 000 Ft", "10 000 Ft", "15 000 Ft"}));
    EXPECT_DOUBLE_EQ(amounts->min(), -5000);
    EXPECT_DOUBLE_EQ(amounts->max(), 15000);
}

TEST(TurnoverChartViewTest, AnEmptyChartShowsItsTextWithoutBarsOrAxes) {
    BarChart empty = figures();
    empty.sold = false;
    const std::unique_ptr<QChart> chart(buildChart(empty));
    EXPECT_TRUE(chart->series().isEmpty());
    EXPECT_TRUE(chart->axes().isEmpty());
    QStringList texts;
    for (QGraphicsItem* item : chart->childItems())
        if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item)) texts << text->text();
    EXPECT_EQ(texts, QStringList{"Az időszakban nem volt forgalom."});

    // The text keeps to the middle while the chart is resized.
    chart->resize(700, 500);
    for (QGraphicsItem* item : chart->childItems())
        if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item)) {
            const QRectF box = text->mapRectToParent(text->boundingRect());
            EXPECT_NEAR(box.center().x(), 350, 1);
            EXPECT_NEAR(box.center().y(), 250, 1);
        }
}

}  // namespace
}  // namespace kavina::reports
