#include "foundation/DemoPictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace kavina {

namespace {

constexpr int kSize = 240;

void hammer(QPainter& p) {
    p.setBrush(QColor(150, 95, 45));
    p.drawRoundedRect(QRectF(108, 70, 26, 150), 8, 8);
    p.setBrush(QColor(110, 115, 125));
    p.drawRoundedRect(QRectF(50, 40, 140, 46), 6, 6);
    p.setBrush(QColor(80, 85, 95));
    p.drawRect(QRectF(176, 46, 18, 34));
}

void drill(QPainter& p) {
    p.setBrush(QColor(40, 120, 200));
    p.drawRoundedRect(QRectF(40, 60, 130, 60), 20, 20);
    p.drawRoundedRect(QRectF(80, 110, 40, 90), 10, 10);
    p.setBrush(QColor(30, 30, 35));
    p.drawRoundedRect(QRectF(66, 190, 70, 30), 6, 6);
    p.setBrush(QColor(160, 160, 170));
    p.drawRect(QRectF(170, 78, 26, 24));
    p.drawRect(QRectF(196, 86, 30, 8));
}

void bulb(QPainter& p) {
    p.setBrush(QColor(255, 220, 80));
    p.drawEllipse(QPointF(120, 95), 62, 62);
    p.setBrush(QColor(170, 170, 175));
    p.drawRect(QRectF(92, 150, 56, 50));
    p.setPen(QPen(QColor(120, 120, 125), 4));
    for (int y = 160; y < 200; y += 12) p.drawLine(92, y, 148, y);
}

void hose(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 150, 60), 12));
    for (int r = 30; r <= 90; r += 20) p.drawEllipse(QPointF(120, 120), r, r * 0.8);
    p.setPen(QPen(QColor(230, 200, 40), 1));
    p.setBrush(QColor(230, 200, 40));
    p.drawRect(QRectF(200, 108, 30, 24));
}

void paintBucket(QPainter& p) {
    QPainterPath body;
    body.moveTo(60, 70);
    body.lineTo(180, 70);
    body.lineTo(168, 210);
    body.lineTo(72, 210);
    body.closeSubpath();
    p.setBrush(QColor(235, 235, 240));
    p.drawPath(body);
    p.setBrush(QColor(200, 60, 60));
    p.drawRect(QRectF(66, 110, 108, 50));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(90, 90, 100), 5));
    p.drawArc(QRectF(60, 20, 120, 100), 0, 180 * 16);
}

}  // namespace

bool drawDemoPicture(DemoPicture picture, const QString& path) {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(QColor(246, 244, 236));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(60, 60, 60), 2));
        switch (picture) {
            case DemoPicture::Hammer: hammer(p); break;
            case DemoPicture::Drill: drill(p); break;
            case DemoPicture::Bulb: bulb(p); break;
            case DemoPicture::Hose: hose(p); break;
            case DemoPicture::PaintBucket: paintBucket(p); break;
        }
    }
    return image.save(path, "PNG");
}

}  // namespace kavina
