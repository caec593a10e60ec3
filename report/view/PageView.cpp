#include "report/view/PageView.h"

#include <QPainter>

#include "report/PagePainter.h"

namespace kavina::report {

namespace {
constexpr int kMargin = 8;  // grey around the paper
}

PageView::PageView(const PreparedReport& report, QWidget* parent) : QWidget(parent), m_report(report) {
    setObjectName(QStringLiteral("pageView"));
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

QSize PageView::pageSize(int zoomPercent) const {
    return pagePictureSize(m_report.setup(), zoomPercent / 100.0);
}

void PageView::showPage(int index, int zoomPercent) {
    m_page = index;
    m_zoom = zoomPercent;
    setFixedSize(pageSize(zoomPercent) + QSize(2 * kMargin, 2 * kMargin));
    update();
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    if (m_page < 0 || m_page >= m_report.pageCount()) return;
    const QRectF paper(QPointF(kMargin, kMargin), QSizeF(pageSize(m_zoom)));
    painter.fillRect(paper, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(paper.adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    paintPage(m_report, m_page, painter, paper);
}

}  // namespace kavina::report
