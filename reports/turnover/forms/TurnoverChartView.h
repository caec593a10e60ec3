#pragma once
// Draws the bar charts of the statistics with Qt Charts: in the preview beside the printed
// pages, and as the picture the printed statistic carries after its table. An empty chart
// shows its text alone, with no axes.

#include <QImage>
#include <QSize>

#include "reports/turnover/TurnoverCharts.h"

class QWidget;
QT_BEGIN_NAMESPACE
class QChart;
QT_END_NAMESPACE

namespace kavina::reports {

// A new chart of the figures; the caller owns it.
QChart* buildChart(const BarChart& figures);

// A chart view of the figures, owned by parent.
QWidget* chartWidget(const BarChart& figures, QWidget* parent = nullptr);

// The chart drawn offscreen on white, laid out at size and drawn scale times as many pixels
// in each direction, so that a printed page shows it sharp.
QImage chartPicture(const BarChart& figures, const QSize& size, double scale);

}  // namespace kavina::reports
