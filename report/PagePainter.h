#pragma once
// Measuring and drawing prepared pages. Text is measured and laid out at one fixed design
// resolution whatever the target, then the painter is scaled to the target, so a page wraps
// and breaks the same on screen, on paper, in page pictures and in the PDF export.
// Requires a QGuiApplication (fonts).
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>

#include "report/PreparedReport.h"

namespace kavina::report {

inline constexpr double kDesignDpi = 1200;
inline constexpr double kDesignPerMm = kDesignDpi / 25.4;
// Screen resolution of a page picture at its natural size.
inline constexpr double kPictureDpi = 96;

// The style's font, sized in design units.
QFont designFont(const TextStyle& style);
// The Qt::AlignmentFlag and Qt::TextFlag bits for drawing the style.
int textFlags(const TextStyle& style);

// Millimetres the text needs when laid out in the width (wrapping when the style wraps).
double textHeight(const TextStyle& style, const QString& text, double widthMm);
// The text's natural width on one line, in millimetres.
double textWidth(const TextStyle& style, const QString& text);
// The rich text's height in millimetres when laid out in the width.
double richTextHeight(QTextDocument& document, double widthMm);

// Draws the page so that its paper fills target (painter coordinates).
void paintPage(const PreparedReport& report, int pageIndex, QPainter& painter, const QRectF& target);
// The page as a picture of that many pixels, on white paper.
QImage renderPage(const PreparedReport& report, int pageIndex, const QSize& pixels);
// The pixel size of a page picture at kPictureDpi, scaled by factor.
QSize pagePictureSize(const PageSetup& setup, double factor = 1.0);

}  // namespace kavina::report
