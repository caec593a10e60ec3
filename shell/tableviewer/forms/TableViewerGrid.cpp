#include "shell/tableviewer/forms/TableViewerGrid.h"

#include <QApplication>
#include <QTableView>
#include <algorithm>

namespace kavina::shell {

QVariant TableViewerHeaders::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::FontRole) {
        QFont font = QApplication::font();
        font.setBold(m_model.isIndexed(section));
        return font;
    }
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && m_model.isIndexed(section))
        return QStringLiteral("Kattintson a rendezéshez");
    return QIdentityProxyModel::headerData(section, orientation, role);
}

void sizeColumns(QTableView& grid, const RecordCursor& cursor) {
    const int unit = grid.fontMetrics().averageCharWidth();
    for (int c = 0; c < cursor.fieldCount(); ++c) {
        const dbase::FieldInfo& f = cursor.fields()[size_t(c)];
        const int chars = std::max(int(f.name.size()) + 3, f.logical == dbase::FieldType::Character ? f.length : 10);
        grid.setColumnWidth(c, unit * std::clamp(chars, 6, 32) + 12);
    }
}

}  // namespace kavina::shell
