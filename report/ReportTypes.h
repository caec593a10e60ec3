#pragma once
// Shared vocabulary of the band engine: band kinds, element kinds, text styles and the page
// set-up. Lengths are millimetres throughout; fonts are in points.
#include <QColor>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

namespace kavina::report {

// Bands print in this order: page header on every page, title once, column header on every
// page, group headers when their field changes, one detail per record, group footers,
// summaries after the last record, page footer at the bottom of every page.
enum class BandKind { PageHeader, Title, ColumnHeader, GroupHeader, Detail, GroupFooter, Summary, PageFooter };

enum class ElementKind { Text, Line, Frame, Picture, RichText };

struct TextStyle {
    QString family = QStringLiteral("DejaVu Sans");
    double pointSize = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = false;
    QColor color = Qt::black;

    bool operator==(const TextStyle&) const = default;

    TextStyle withSize(double points) const {
        return changed([&](TextStyle& s) { s.pointSize = points; });
    }
    TextStyle withBold(bool on = true) const {
        return changed([&](TextStyle& s) { s.bold = on; });
    }
    TextStyle withItalic(bool on = true) const {
        return changed([&](TextStyle& s) { s.italic = on; });
    }
    TextStyle withAlignment(Qt::Alignment a) const {
        return changed([&](TextStyle& s) { s.alignment = a; });
    }
    TextStyle wrapped(bool on = true) const {
        return changed([&](TextStyle& s) { s.wordWrap = on; });
    }

private:
    template <typename Change>
    TextStyle changed(Change change) const {
        TextStyle copy = *this;
        change(copy);
        return copy;
    }
};

struct PageSetup {
    QPageSize::PageSizeId size = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10};

    // The paper in millimetres, turned for landscape.
    QSizeF paperSize() const;
    // The printable area inside the margins, from the paper's top left.
    QRectF contentRect() const;
};

}  // namespace kavina::report
