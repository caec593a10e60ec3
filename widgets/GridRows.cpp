#include "widgets/GridRows.h"

#include <strings.h>
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "dbase/CodePage.h"
#include "dbase/Collation.h"
#include "dbase/IndexKey.h"
#include "foundation/Catalogue.h"
#include "foundation/TableReader.h"

namespace kavina::widgets {

namespace {

const TableDef* definitionOf(const TableHandle& handle) {
    return catalogue::findByFileName(std::filesystem::path(handle.table().path()).filename().string());
}

const TagDef* tagOf(const TableHandle& handle) {
    const TableDef* def = definitionOf(handle);
    if (!def) return nullptr;
    const std::string& order = handle.order();
    for (const TagDef& tag : def->tags)
        if (::strcasecmp(tag.name.c_str(), order.c_str()) == 0 || ::strcasecmp(tag.field.c_str(), order.c_str()) == 0)
            return &tag;
    return nullptr;
}

// The data module links the detail tables to their masters; a reader cannot follow the link.
bool isDetail(const TableHandle& handle) {
    const TableDef* def = definitionOf(handle);
    return def && def->detailOf.has_value();
}

}  // namespace

GridRows::GridRows(RecordCursor& cursor, size_t cacheRows)
    : m_cursor(cursor), m_table(dynamic_cast<TableHandle*>(&cursor)), m_cacheRows(std::max<size_t>(cacheRows, 1)) {}

GridRows::~GridRows() = default;

void GridRows::setColumns(std::vector<ColumnText> columns) {
    m_columns = std::move(columns);
    m_gone.texts = QStringList();
    for (size_t i = 0; i < m_columns.size(); ++i) m_gone.texts << QString();
}

void GridRows::setRowTag(RowTag tag) {
    m_tag = std::move(tag);
}

void GridRows::setVisitor(Visitor visitor) {
    m_visitor = std::move(visitor);
}

GridRowTexts GridRows::read(const RecordCursor& at) const {
    GridRowTexts row;
    for (const ColumnText& column : m_columns) row.texts << column(at);
    if (m_tag) row.tag = m_tag(at);
    return row;
}

void GridRows::reload() {
    m_marks.clear();
    m_rowOf.clear();
    m_cache.clear();
    m_cached.clear();
    m_allRows.clear();
    m_rowReader.reset();
    if (m_table && m_table->isOpen() && !isDetail(*m_table))
        reloadTable(*m_table);
    else
        reloadRecordSet();
    for (size_t i = 0; i < m_marks.size(); ++i) m_rowOf.emplace(m_marks[i].id, int(i));
}

// A record set, or a detail handle following its master: walked once, every row read.
void GridRows::reloadRecordSet() {
    m_source = Source::RecordSet;
    if (m_cursor.isEmpty()) return;
    const CursorMark current = m_cursor.bookmark();
    for (m_cursor.first(); !m_cursor.eof(); m_cursor.next()) {
        m_marks.push_back(m_cursor.bookmark());
        m_allRows.push_back(read(m_cursor));
        if (m_visitor) m_visitor(m_cursor);
        ++m_rowsRead;
    }
    if (!m_cursor.gotoBookmark(current)) m_cursor.first();
}

void GridRows::reloadTable(TableHandle& handle) {
    m_rowReader = readerOf(handle, ReaderView::Unfiltered);
    if (handle.order().empty()) return physicalScan(handle);
    const TagDef* tag = tagOf(handle);
    const int field = tag ? handle.table().fieldIndex(tag->field) : -1;
    if (!tag || tag->descending || field < 0 ||
        handle.table().fields()[size_t(field)].logical != dbase::FieldType::Character)
        return walkInOrder(handle, true);
    sortedScan(handle, field);
}

void GridRows::physicalScan(TableHandle& handle) {
    m_source = Source::PhysicalScan;
    const auto reader = readerOf(handle, ReaderView::SameFilter);
    for (reader->first(); !reader->eof(); reader->next()) {
        m_marks.push_back(reader->bookmark());
        if (m_visitor) m_visitor(*reader);
    }
}

void GridRows::walkInOrder(TableHandle& handle, bool visit) {
    m_source = Source::TagWalk;
    const auto reader = readerOf(handle, ReaderView::SameFilter);
    reader->setOrder(handle.order());
    for (reader->first(); !reader->eof(); reader->next()) {
        m_marks.push_back(reader->bookmark());
        if (visit && m_visitor) m_visitor(*reader);
    }
}

// The tag's order without walking the tag: every record the filter shows is read once, in
// physical order, and sorted by its key as the tag keeps it. A tag ordered otherwise than the
// table's collation says (written by other software) is found out by its first and last
// records, and walked.
void GridRows::sortedScan(TableHandle& handle, int field) {
    m_source = Source::SortedScan;
    const auto reader = readerOf(handle, ReaderView::SameFilter);
    const dbase::Table& table = reader->table();
    const size_t width = size_t(dbase::KeyShape::forField(table.fields()[size_t(field)]).length);
    const dbase::Collation collation(table.codePage());
    std::vector<uint32_t> records;
    std::string keys;
    for (reader->first(); !reader->eof(); reader->next()) {
        records.push_back(uint32_t(reader->bookmark().id));
        if (m_visitor) m_visitor(*reader);
        const std::string bytes = dbase::fromUtf8(table.codePage(), table.asString(field), width);
        keys += collation.sortKey(bytes, width, false);
    }
    std::vector<uint32_t> order(records.size());
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int c = std::memcmp(keys.data() + size_t(a) * width, keys.data() + size_t(b) * width, width);
        return c != 0 ? c < 0 : records[a] < records[b];
    });
    for (uint32_t i : order) m_marks.push_back({records[i]});
    if (m_marks.empty()) return;
    reader->setOrder(handle.order());
    reader->first();
    const bool firstAgrees = reader->bookmark().id == m_marks.front().id;
    reader->last();
    if (firstAgrees && reader->bookmark().id == m_marks.back().id) return;
    m_marks.clear();
    walkInOrder(handle, false);
}

int GridRows::rowOf(const CursorMark& mark) const {
    const auto found = m_rowOf.find(mark.id);
    return found == m_rowOf.end() ? -1 : found->second;
}

const GridRowTexts& GridRows::row(int index) {
    if (!m_rowReader) return index >= 0 && index < int(m_allRows.size()) ? m_allRows[size_t(index)] : m_gone;
    if (const auto hit = m_cached.find(index); hit != m_cached.end()) {
        m_cache.splice(m_cache.begin(), m_cache, hit->second);
        return hit->second->second;
    }
    GridRowTexts texts = m_rowReader->gotoBookmark(m_marks[size_t(index)]) ? read(*m_rowReader) : m_gone;
    ++m_rowsRead;
    m_cache.emplace_front(index, std::move(texts));
    m_cached[index] = m_cache.begin();
    if (m_cache.size() > m_cacheRows) {
        m_cached.erase(m_cache.back().first);
        m_cache.pop_back();
    }
    return m_cache.front().second;
}

}  // namespace kavina::widgets
