// Page pictures: what is laid out in millimetres lands at the same place of the paper at any
// resolution, and wrapped text stays inside the box it was measured for.

#include "report/PagePainter.h"

#include <gtest/gtest.h>

#include "report/Layout.h"

namespace kavina::report {
namespace {

bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// The smallest rectangle holding every dark pixel, in millimetres of the paper.
QRectF inkMm(const QImage& image, double perMm) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dark(image, x, y)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    return right < 0 ? QRectF()
                     : QRectF(left / perMm, top / perMm, (right - left + 1) / perMm, (bottom - top + 1) / perMm);
}

class PagePainterTest : public ::testing::Test {
protected:
    Layout layout;
    const QString text = QString("Árvíztűrő tükörfúrógép, hosszú megnevezés ").repeated(3);

    PreparedReport page(const QRectF& textBox) {
        Band& band = layout.addBand(BandKind::PageHeader, "header", 100);
        Element& e = band.addText("text", textBox, text, TextStyle{}.withSize(9).wrapped());
        e.stretch = true;
        return layout.prepare();
    }
};

TEST_F(PagePainterTest, AFrameLandsOnTheSameMillimetresAtEveryResolution) {
    layout.addBand(BandKind::PageHeader, "header", 100).addFrame("box", QRectF(20, 30, 50, 40), 0.5);
    const PreparedReport r = layout.prepare();
    for (double dpi : {96.0, 200.0}) {
        const double perMm = dpi / 25.4;
        const QImage image = renderPage(r, 0, pagePictureSize(r.setup(), dpi / kPictureDpi));
        const QRectF ink = inkMm(image, perMm);
        SCOPED_TRACE(dpi);
        EXPECT_NEAR(ink.left(), 10 + 20, 0.5);  // the 10 mm margin
        EXPECT_NEAR(ink.top(), 10 + 30, 0.5);
        EXPECT_NEAR(ink.width(), 50, 0.8);
        EXPECT_NEAR(ink.height(), 40, 0.8);
    }
}

TEST_F(PagePainterTest, WrappedTextStaysInsideTheBoxItWasMeasuredForAtEveryResolution) {
    const PreparedReport r = page(QRectF(0, 0, 45, 5));
    const PageItem& item = r.page(0).items.front();
    EXPECT_GT(item.rect.height(), 15) << "the text wraps onto several lines";
    for (double dpi : {96.0, 300.0}) {
        const QImage image = renderPage(r, 0, pagePictureSize(r.setup(), dpi / kPictureDpi));
        const QRectF ink = inkMm(image, dpi / 25.4);
        SCOPED_TRACE(dpi);
        EXPECT_TRUE(item.rect.adjusted(-0.3, -0.3, 0.3, 0.3).contains(ink))
            << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        EXPECT_GT(ink.height(), item.rect.height() * 0.8) << "every line is drawn";
    }
}

}  // namespace
}  // namespace kavina::report
