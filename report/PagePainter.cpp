#include "report/PagePainter.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPen>
#include <cmath>

namespace kavina::report {
namespace {

QRectF toDesign(const QRectF& mm) {
    return QRectF(mm.x() * kDesignPerMm, mm.y() * kDesignPerMm, mm.width() * kDesignPerMm, mm.height() * kDesignPerMm);
}

// Rich text lays out its point-sized fonts against this device, so it measures as plain text does.
QPaintDevice& designDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(kDesignDpi / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

void layOut(QTextDocument& document, double widthMm) {
    if (document.documentLayout()->paintDevice() != &designDevice())
        document.documentLayout()->setPaintDevice(&designDevice());
    const double width = widthMm * kDesignPerMm;
    if (document.textWidth() != width) document.setTextWidth(width);
}

void drawText(const PreparedReport& report, const PageItem& item, QPainter& painter) {
    const TextStyle& style = report.style(item);
    painter.setFont(designFont(style));
    painter.setPen(style.color);
    painter.drawText(toDesign(item.rect), textFlags(style), item.text);
}

void drawPicture(const PreparedReport& report, const PageItem& item, QPainter& painter) {
    if (item.image.isNull()) return;
    const QRectF box = toDesign(item.rect);
    QSizeF size = QSizeF(item.image.size()).scaled(box.size(), Qt::KeepAspectRatio);
    const Qt::Alignment align = report.style(item).alignment;
    double x = box.left(), y = box.top();
    if (align & Qt::AlignHCenter) x += (box.width() - size.width()) / 2;
    if (align & Qt::AlignRight) x += box.width() - size.width();
    if (align & Qt::AlignVCenter) y += (box.height() - size.height()) / 2;
    if (align & Qt::AlignBottom) y += box.height() - size.height();
    painter.drawImage(QRectF(QPointF(x, y), size), item.image);
}

void drawRichText(const PageItem& item, QPainter& painter) {
    if (!item.document) return;
    layOut(*item.document, item.rect.width());
    const QRectF box = toDesign(item.rect);
    painter.save();
    painter.translate(box.topLeft());
    painter.setPen(Qt::black);
    item.document->drawContents(&painter, QRectF(QPointF(0, 0), box.size()));
    painter.restore();
}

void drawItem(const PreparedReport& report, const PageItem& item, QPainter& painter) {
    switch (item.kind) {
        case ElementKind::Text: drawText(report, item, painter); break;
        case ElementKind::Line:
            painter.setPen(QPen(item.color, item.penWidth * kDesignPerMm));
            painter.drawLine(toDesign(item.rect).topLeft(), toDesign(item.rect).bottomRight());
            break;
        case ElementKind::Frame:
            painter.setPen(QPen(item.color, item.penWidth * kDesignPerMm));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(toDesign(item.rect));
            break;
        case ElementKind::Picture: drawPicture(report, item, painter); break;
        case ElementKind::RichText: drawRichText(item, painter); break;
    }
}

}  // namespace

QFont designFont(const TextStyle& style) {
    QFont font(style.family);
    font.setPixelSize(std::max(1, int(std::lround(style.pointSize * kDesignDpi / 72.0))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    // Unhinted outlines scale linearly, so what is measured here is what every target draws.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

int textFlags(const TextStyle& style) {
    return int(style.alignment) | (style.wordWrap ? int(Qt::TextWordWrap) : 0);
}

double textHeight(const TextStyle& style, const QString& text, double widthMm) {
    const QFontMetricsF metrics(designFont(style));
    if (text.isEmpty()) return metrics.height() / kDesignPerMm;
    const QRectF bounds(0, 0, widthMm * kDesignPerMm, 1e9);
    return metrics.boundingRect(bounds, textFlags(style) & ~int(Qt::AlignVertical_Mask), text).height() / kDesignPerMm;
}

double textWidth(const TextStyle& style, const QString& text) {
    return QFontMetricsF(designFont(style)).horizontalAdvance(text) / kDesignPerMm;
}

double richTextHeight(QTextDocument& document, double widthMm) {
    layOut(document, widthMm);
    return document.size().height() / kDesignPerMm;
}

void paintPage(const PreparedReport& report, int pageIndex, QPainter& painter, const QRectF& target) {
    const QSizeF paper = report.setup().paperSize();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / (paper.width() * kDesignPerMm), target.height() / (paper.height() * kDesignPerMm));
    for (const PageItem& item : report.page(pageIndex).items) drawItem(report, item, painter);
    painter.restore();
}

QImage renderPage(const PreparedReport& report, int pageIndex, const QSize& pixels) {
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    paintPage(report, pageIndex, painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

QSize pagePictureSize(const PageSetup& setup, double factor) {
    const QSizeF paper = setup.paperSize();
    const double perMm = kPictureDpi / 25.4 * factor;
    return QSize(int(std::lround(paper.width() * perMm)), int(std::lround(paper.height() * perMm)));
}

}  // namespace kavina::report
