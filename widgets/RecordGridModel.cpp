#include "widgets/RecordGridModel.h"

#include <QColor>
#include <QFont>

#include "foundation/NumberBox.h"
#include "foundation/SzamSzov.h"

namespace kavina::widgets {

namespace {

const QString kCurrency = QStringLiteral(" Ft");

GridRows::ColumnText columnText(const RecordCursor& cursor, const GridColumn& column) {
    const int field = cursor.fieldNumber(column.field);
    if (column.kind == ColumnKind::Number)
        return [field](const RecordCursor& row) {
            return row.isNull(field) ? QString() : numberBoxText(row.asFloat(field));
        };
    if (column.kind == ColumnKind::MoneyFt)
        return [field](const RecordCursor& row) {
            return row.isNull(field) ? QString() : moneyText(row.asFloat(field)).trimmed();
        };
    // The program's text of a date-time begins with its day: "2008.03.15 10:15:00".
    if (column.kind == ColumnKind::Day)
        return [field](const RecordCursor& row) { return row.asString(field).left(10); };
    if (column.kind == ColumnKind::Money)
        return [field](const RecordCursor& row) {
            if (row.isNull(field)) return QString();
            QString text = moneyText(row.asFloat(field)).trimmed();
            if (text.endsWith(kCurrency)) text.chop(kCurrency.size());
            return text;
        };
    return [field](const RecordCursor& row) { return row.asString(field); };
}

}  // namespace

RecordGridModel::RecordGridModel(RecordCursor& cursor, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_cursor(cursor), m_columns(std::move(columns)), m_rows(cursor) {
    std::vector<GridRows::ColumnText> texts;
    for (const GridColumn& c : m_columns) texts.push_back(columnText(m_cursor, c));
    m_rows.setColumns(std::move(texts));
    reload();
}

void RecordGridModel::reload() {
    // Walking would post a record being changed: the rows wait for its post or cancel.
    if (m_cursor.isEditing()) return;
    beginResetModel();
    m_rows.reload();
    endResetModel();
}

void RecordGridModel::setRowTag(GridRows::RowTag tag) {
    m_rows.setRowTag(std::move(tag));
}

int RecordGridModel::currentRow() const {
    if (m_cursor.isEmpty()) return -1;
    return m_rows.rowOf(m_cursor.bookmark());
}

bool RecordGridModel::moveTo(int row) {
    if (row < 0 || row >= m_rows.size()) return false;
    return m_cursor.gotoBookmark(m_rows.mark(row));
}

void RecordGridModel::setSortColumn(int column) {
    m_sortColumn = column;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void RecordGridModel::setMarkedColumn(int column) {
    m_markedColumn = column;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.size();
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size()) return {};
    if (role == Qt::TextAlignmentRole && m_columns[size_t(index.column())].kind != ColumnKind::Text)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == kRowTagRole) return m_rows.row(index.row()).tag;
    if (role != Qt::DisplayRole) return {};
    return m_rows.row(index.row()).texts.value(index.column());
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || size_t(section) >= m_columns.size()) return {};
    const GridColumn& c = m_columns[size_t(section)];
    if (role == Qt::DisplayRole) return section == m_sortColumn ? c.title + QStringLiteral(" ▲") : c.title;
    if (role == Qt::ForegroundRole && section == m_markedColumn) return QColor(Qt::red);
    if (role == Qt::FontRole && (c.bold || section == m_markedColumn)) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

}  // namespace kavina::widgets
