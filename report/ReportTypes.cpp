#include "report/ReportTypes.h"

namespace kavina::report {

TextStyle TextStyle::withSize(double points) const {
    TextStyle s = *this;
    s.pointSize = points;
    return s;
}

TextStyle TextStyle::withBold(bool on) const {
    TextStyle s = *this;
    s.bold = on;
    return s;
}

TextStyle TextStyle::withItalic(bool on) const {
    TextStyle s = *this;
    s.italic = on;
    return s;
}

TextStyle TextStyle::withAlignment(Qt::Alignment a) const {
    TextStyle s = *this;
    s.alignment = a;
    return s;
}

TextStyle TextStyle::wrapped(bool on) const {
    TextStyle s = *this;
    s.wordWrap = on;
    return s;
}

QSizeF PageSetup::paperSize() const {
    const QSizeF portrait = QPageSize(size).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
}

QRectF PageSetup::contentRect() const {
    const QSizeF paper = paperSize();
    return QRectF(margins.left(), margins.top(), paper.width() - margins.left() - margins.right(),
                  paper.height() - margins.top() - margins.bottom());
}

}  // namespace kavina::report
