#include "shell/tableviewer/TableViewerModel.h"

#include <filesystem>

#include "dbase/DbError.h"
#include "foundation/DbErrorText.h"
#include "foundation/RecordEdit.h"

namespace kavina::shell {

namespace {

constexpr int kPageRows = 100;

bool sameName(const std::string& a, const QString& b) {
    return QString::fromStdString(a).compare(b, Qt::CaseInsensitive) == 0;
}

bool isNumeric(dbase::FieldType type) {
    using dbase::FieldType;
    return type == FieldType::Integer || type == FieldType::Short || type == FieldType::Float;
}

QString quoted(QString text) {
    return "'" + text.replace("'", "''") + "'";
}

QString engineText(const std::exception& e) {
    return errorText(e);
}

}  // namespace

TableViewerModel::TableViewerModel(TableHandle& handle, ErrorSink errors, QObject* parent)
    : QAbstractTableModel(parent), m_handle(handle), m_errors(std::move(errors)) {
    m_saved.order = handle.order();
    m_saved.filter = handle.filter();
    m_saved.filtered = handle.filtered();
    m_saved.options = handle.table().filterOptions();
    if (!handle.isEmpty()) m_saved.mark = handle.bookmark();
    readTags();
    reload();
}

TableViewerModel::~TableViewerModel() = default;

void TableViewerModel::readTags() {
    const std::filesystem::path path(m_handle.table().path());
    try {
        for (const auto& tag : dbase::Table::readTagDefinitions(path.parent_path().string(), path.filename().string()))
            m_tags.emplace_back(tag.name, tag.expression);
    } catch (const dbase::DbError&) {
        // A table without a readable index simply has no column to order by.
    }
}

int TableViewerModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TableViewerModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_handle.fieldCount();
}

QVariant TableViewerModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const dbase::FieldType type = m_handle.fields()[size_t(index.column())].logical;
    if (role == Qt::TextAlignmentRole)
        return isNumeric(type) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const QString text = cellText(index.row(), index.column());
    if (role == Qt::DisplayRole && type == dbase::FieldType::Memo) return text.section('\n', 0, 0).trimmed();
    return text;
}

QVariant TableViewerModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    return QString::fromStdString(m_handle.fields()[size_t(section)].name);
}

Qt::ItemFlags TableViewerModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // A memo keeps its line breaks only when edited in a window of its own.
    if (m_handle.fields()[size_t(index.column())].logical != dbase::FieldType::Memo) f |= Qt::ItemIsEditable;
    return f;
}

bool TableViewerModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !moveTo(index.row())) return false;
    try {
        RecordEdit change = RecordEdit::edit(m_handle);
        m_handle.setString(index.column(), value.toString());
        change.post();
    } catch (const std::exception& e) {
        m_errors("Az értéket a tábla nem fogadta el:\n" + engineText(e));
        return false;
    }
    // A changed key moves the record in the order, or out of the filter.
    if (index.column() == orderColumn() || m_handle.filtered()) {
        reload();
    } else {
        m_cache[size_t(index.row())].reset();
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    }
    return true;
}

void TableViewerModel::reload() {
    beginResetModel();
    m_rows.clear();
    m_cache.clear();
    if (m_handle.isOpen() && !m_handle.isEmpty()) {
        const CursorMark current = m_handle.bookmark();
        m_handle.first();
        while (!m_handle.isEmpty()) {
            m_rows.push_back(m_handle.bookmark());
            m_handle.next();
            if (m_handle.eof()) break;
        }
        m_handle.gotoBookmark(current);
    }
    m_cache.resize(m_rows.size());
    endResetModel();
}

int TableViewerModel::currentRow() const {
    if (m_handle.isEmpty()) return -1;
    const uint64_t id = m_handle.bookmark().id;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == id) return int(i);
    return -1;
}

bool TableViewerModel::moveTo(int row) {
    if (row < 0 || row >= rowCount()) return false;
    try {
        return m_handle.gotoBookmark(m_rows[size_t(row)]);
    } catch (const std::exception& e) {
        m_errors(engineText(e));
        return false;
    }
}

void TableViewerModel::loadPage(int row) const {
    const int start = row / kPageRows * kPageRows;
    const int end = std::min(start + kPageRows, rowCount());
    const CursorMark current = m_handle.bookmark();
    for (int r = start; r < end; ++r) {
        std::vector<QString> values(static_cast<size_t>(columnCount()));
        if (m_handle.gotoBookmark(m_rows[size_t(r)]))
            for (int c = 0; c < columnCount(); ++c) {
                try {
                    values[size_t(c)] = m_handle.asString(c);
                } catch (const dbase::DbError&) {
                    values[size_t(c)] = QStringLiteral("#?");  // a damaged value is shown, not fatal
                }
            }
        m_cache[size_t(r)] = std::move(values);
    }
    m_handle.gotoBookmark(current);
}

QString TableViewerModel::cellText(int row, int column) const {
    if (!m_cache[size_t(row)]) loadPage(row);
    return (*m_cache[size_t(row)])[size_t(column)];
}

bool TableViewerModel::isIndexed(int column) const {
    if (column < 0 || column >= columnCount()) return false;
    const QString field = QString::fromStdString(m_handle.fields()[size_t(column)].name);
    for (const auto& tag : m_tags)
        if (sameName(tag.second, field)) return true;
    return false;
}

QString TableViewerModel::orderField() const {
    const std::string& order = m_handle.order();
    if (order.empty()) return {};
    for (const auto& tag : m_tags)
        if (sameName(tag.first, QString::fromStdString(order))) return QString::fromStdString(tag.second);
    return QString::fromStdString(order);
}

int TableViewerModel::orderColumn() const {
    const QString field = orderField();
    return field.isEmpty() ? -1 : m_handle.fieldIndex(field.toStdString());
}

bool TableViewerModel::orderBy(int column) {
    if (!isIndexed(column)) return false;
    try {
        m_handle.setOrder(m_handle.fields()[size_t(column)].name);
    } catch (const std::exception& e) {
        m_errors(engineText(e));
        return false;
    }
    reload();
    return true;
}

QString TableViewerModel::quickSearch(const QString& text) {
    const QString field = orderField();
    const bool filter = text.startsWith('%');
    if (m_quickFilter && (!filter || text.size() == 1)) {
        clearQuickFilter();
        reload();
    }
    if (text.isEmpty() || (filter && text.size() == 1)) return {};
    if (field.isEmpty()) return "A kereséshez rendezze a táblát: kattintson egy indexelt oszlop fejlécére.";
    if (filter) return applyPrefixFilter(field, text.mid(1));
    try {
        dbase::LocateOptions options;
        options.caseInsensitive = true;
        options.partialKey = true;
        if (!m_handle.locate({{m_handle.fieldAt(m_handle.fieldNumber(field.toStdString())), text}}, options))
            return "Nincs ilyen kezdetű rekord: " + text;
    } catch (const std::exception& e) {
        return "A keresett érték nem megfelelő: " + engineText(e);
    }
    return {};
}

QString TableViewerModel::applyPrefixFilter(const QString& field, const QString& prefix) {
    const dbase::FieldType type = m_handle.fields()[size_t(m_handle.fieldNumber(field.toStdString()))].logical;
    QString expression;
    if (type == dbase::FieldType::Character) {
        expression = field + "=" + quoted(prefix + "*");
    } else if (isNumeric(type)) {
        bool number = false;
        prefix.toDouble(&number);
        if (!number) return "A rendezés mezője szám: a % után számot írjon.";
        expression = field + "=" + prefix;
    } else {
        expression = field + "=" + quoted(prefix);
    }
    try {
        dbase::FilterOptions options = m_saved.options;
        options.caseInsensitive = true;
        m_handle.setFilterOptions(options);
        m_handle.setFilter(expression.toStdString());
        m_handle.setFiltered(true);
    } catch (const std::exception& e) {
        m_quickFilter = true;
        clearQuickFilter();
        reload();
        return "A szűrés nem végezhető el: " + engineText(e);
    }
    m_quickFilter = true;
    reload();
    return {};
}

void TableViewerModel::clearQuickFilter() {
    if (!m_quickFilter) return;
    m_quickFilter = false;
    m_handle.setFilterOptions(m_saved.options);
    m_handle.setFilter(m_saved.filter);
    m_handle.setFiltered(m_saved.filtered);
}

void TableViewerModel::appendRecord() {
    try {
        RecordEdit::append(m_handle).post();
    } catch (const std::exception& e) {
        m_errors("Az új rekord nem menthető:\n" + engineText(e));
    }
    reload();
}

void TableViewerModel::deleteCurrent() {
    if (m_handle.isEmpty()) return;
    try {
        m_handle.deleteRecord();
    } catch (const std::exception& e) {
        m_errors("A rekord nem törölhető:\n" + engineText(e));
    }
    reload();
}

void TableViewerModel::restoreHandle() {
    try {
        if (m_handle.isEditing()) m_handle.cancel();
        clearQuickFilter();
        if (m_handle.order() != m_saved.order) m_handle.setOrder(m_saved.order);
        if (m_saved.mark) m_handle.gotoBookmark(*m_saved.mark);
    } catch (const std::exception& e) {
        m_errors(engineText(e));
    }
}

}  // namespace kavina::shell
