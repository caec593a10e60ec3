#pragma once
// One prepared page drawn at a zoom, 100 % being the page picture's natural size.
#include <QWidget>

#include "report/PreparedReport.h"

namespace kavina::report {

class PageView : public QWidget {
    Q_OBJECT

public:
    explicit PageView(const PreparedReport& report, QWidget* parent = nullptr);

    void showPage(int index, int zoomPercent);
    // The page's size in pixels at the zoom.
    QSize pageSize(int zoomPercent) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PreparedReport& m_report;
    int m_page = 0;
    int m_zoom = 100;
};

}  // namespace kavina::report
