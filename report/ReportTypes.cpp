#include "report/ReportTypes.h"

namespace kavina::report {

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
