#include "widgets/RecordGridModel.h"

#include <QFont>

namespace kavina::widgets {

RecordGridModel::RecordGridModel(RecordCursor& cursor, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_cursor(cursor), m_columns(std::move(columns)) {
    reload();
}

void RecordGridModel::reload() {
    // Walking would post a record being changed: the rows wait for its post or cancel.
    if (m_cursor.isEditing()) return;
    beginResetModel();
    m_rows.clear();
    if (!m_cursor.isEmpty()) {
        const CursorMark current = m_cursor.bookmark();
        std::vector<int> fields;
        for (const GridColumn& c : m_columns) fields.push_back(m_cursor.fieldNumber(c.field));
        for (m_cursor.first(); !m_cursor.eof(); m_cursor.next()) {
            Row row{m_cursor.bookmark(), {}};
            for (int f : fields) row.texts << m_cursor.asString(f);
            m_rows.push_back(std::move(row));
        }
        if (!m_cursor.gotoBookmark(current)) m_cursor.first();
    }
    endResetModel();
}

int RecordGridModel::currentRow() const {
    if (m_cursor.isEmpty()) return -1;
    const CursorMark current = m_cursor.bookmark();
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].mark.id == current.id) return int(i);
    return -1;
}

bool RecordGridModel::moveTo(int row) {
    if (row < 0 || size_t(row) >= m_rows.size()) return false;
    return m_cursor.gotoBookmark(m_rows[size_t(row)].mark);
}

void RecordGridModel::setSortColumn(int column) {
    m_sortColumn = column;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return m_rows[size_t(index.row())].texts.value(index.column());
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || size_t(section) >= m_columns.size()) return {};
    const GridColumn& c = m_columns[size_t(section)];
    if (role == Qt::DisplayRole) return section == m_sortColumn ? c.title + QStringLiteral(" ▲") : c.title;
    if (role == Qt::FontRole && c.bold) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

}  // namespace kavina::widgets
