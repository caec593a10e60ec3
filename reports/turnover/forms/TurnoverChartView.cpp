#include "reports/turnover/forms/TurnoverChartView.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QScrollArea>
#include <algorithm>

namespace kavina::reports {

namespace {

// Past this many bars the labels under them stand upright so that they do not overlap.
constexpr int kLevelLabels = 8;
// Pixels a bar group needs on screen for its label to show.
constexpr int kRoomPerBar = 28;

void addEmptyText(QChart* chart, const QString& text) {
    auto* label = new QGraphicsSimpleTextItem(text, chart);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    label->setFont(font);
    const auto centre = [chart, label] {
        const QRectF box = label->boundingRect();
        label->setPos(chart->size().width() / 2 - box.width() / 2, chart->size().height() / 2 - box.height() / 2);
    };
    QObject::connect(chart, &QChart::geometryChanged, chart, centre);
    centre();
}

void addBars(QChart* chart, const BarChart& figures) {
    auto* bars = new QBarSeries;
    for (const ChartSeries& s : figures.series) {
        auto* set = new QBarSet(s.name);
        for (double v : s.values) set->append(v);
        bars->append(set);
    }
    chart->addSeries(bars);

    auto* categories = new QBarCategoryAxis;
    categories->append(figures.categories);
    categories->setTitleText(figures.categoryTitle);
    if (figures.categories.size() > kLevelLabels) categories->setLabelsAngle(-90);
    chart->addAxis(categories, Qt::AlignBottom);
    bars->attachAxis(categories);

    // The amounts are marked with their own labels, grouped by thousands, which a number
    // format of the axis cannot do.
    auto* amounts = new QCategoryAxis;
    amounts->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const std::vector<ValueTick>& ticks = figures.ticks;
    const double step = ticks.size() > 1 ? ticks[1].value - ticks[0].value : 1;
    amounts->setStartValue(ticks.front().value - step / 1000);
    for (const ValueTick& tick : ticks) amounts->append(tick.label, tick.value);
    amounts->setRange(ticks.front().value, ticks.back().value);
    amounts->setTitleText(figures.valueTitle);
    chart->addAxis(amounts, Qt::AlignLeft);
    bars->attachAxis(amounts);
    chart->legend()->setVisible(figures.series.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
}

}  // namespace

QChart* buildChart(const BarChart& figures) {
    auto* chart = new QChart;
    chart->setTitle(figures.title);
    QFont title = chart->titleFont();
    title.setBold(true);
    chart->setTitleFont(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    if (figures.isEmpty() || figures.ticks.empty()) {
        chart->legend()->setVisible(false);
        addEmptyText(chart, figures.emptyText);
    } else {
        addBars(chart, figures);
    }
    return chart;
}

QWidget* chartWidget(const BarChart& figures, QWidget* parent) {
    auto* view = new QChartView(buildChart(figures));
    view->setObjectName(QStringLiteral("chartView"));
    view->setRenderHint(QPainter::Antialiasing);
    // The chart axis shortens every label to dots once its bars stand closer than about a
    // label's width; a chart of many bars is given that room and scrolls instead.
    view->setMinimumSize(std::max(360, int(figures.categories.size()) * kRoomPerBar + 150), 300);
    auto* scroll = new QScrollArea(parent);
    scroll->setObjectName(QStringLiteral("chartScrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // A picture to look at: the keys stay with the preview's pages and buttons.
    scroll->setFocusPolicy(Qt::NoFocus);
    view->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(view);
    return scroll;
}

QImage chartPicture(const BarChart& figures, const QSize& size, double scale) {
    QGraphicsScene scene;
    QChart* chart = buildChart(figures);
    scene.addItem(chart);  // the scene owns it
    chart->resize(size);
    // The axes measure and shorten their labels as the chart lays itself out, which it does
    // in response to posted events; outside a window nothing delivers them unless asked.
    QCoreApplication::sendPostedEvents();
    chart->layout()->invalidate();
    chart->layout()->activate();
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, QRectF(image.rect()), QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

}  // namespace kavina::reports
