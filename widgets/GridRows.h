#pragma once
// The rows of a grid over a cursor: which records it shows, in the cursor's order (kept as
// marks, a few bytes a row), and the texts of a row, read only when the row is painted and
// kept in a cache of bounded size. Scrolling therefore reads only the rows it shows, and
// memory does not grow with it.
//
// Over a table handle nothing here moves the handle, which other windows share: the order is
// found by reading the table through a reader of its own in physical order, sorting the
// records by the key the handle's index tag keeps for them (the engine's key and collation,
// equal keys by record number, as the tag keeps them), and rows are read through a second
// reader positioned by record number. Where that cannot be done (a detail handle, a tag the
// catalogue does not know, a descending or non-character tag) the reader walks the tag
// instead. A record set is read whole on reload: record sets are small.

#include <QStringList>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "foundation/RecordCursor.h"
#include "foundation/TableHandle.h"

namespace kavina::widgets {

// A row as painted: the text of each column, and the tag the grid's row style gave it.
struct GridRowTexts {
    QStringList texts;
    int tag = 0;
};

class GridRows {
public:
    // The column's text of the row's record.
    using ColumnText = std::function<QString(const RecordCursor& row)>;
    // A number the grid keeps with each row (for example a colour), read with its texts.
    using RowTag = std::function<int(const RecordCursor& row)>;
    // Sees every record the grid shows while reload finds them, so that a window can gather
    // what it needs of the list without reading the table once more.
    using Visitor = std::function<void(const RecordCursor& record)>;

    explicit GridRows(RecordCursor& cursor, size_t cacheRows = 512);
    ~GridRows();

    void setColumns(std::vector<ColumnText> columns);
    void setRowTag(RowTag tag);
    void setVisitor(Visitor visitor);

    // Finds the records the cursor shows, in its order. Forgets every cached row.
    void reload();
    int size() const { return int(m_marks.size()); }
    CursorMark mark(int row) const { return m_marks[size_t(row)]; }
    // The row of the record, or -1 when the grid does not show it.
    int rowOf(const CursorMark& mark) const;
    // The row's texts, read now unless cached. A record gone meanwhile shows empty texts.
    const GridRowTexts& row(int index);

    // How the last reload found the order: the sorted scan is what keeps a long list fast.
    enum class Source { RecordSet, PhysicalScan, SortedScan, TagWalk };
    Source source() const { return m_source; }

    // How many rows have been read from the table (or record set) so far.
    uint64_t rowsRead() const { return m_rowsRead; }
    size_t cachedRows() const { return m_cache.size(); }

private:
    void reloadTable(TableHandle& handle);
    void reloadRecordSet();
    GridRowTexts read(const RecordCursor& at) const;
    void sortedScan(TableHandle& handle, int field);
    void walkInOrder(TableHandle& handle, bool visit);
    void physicalScan(TableHandle& handle);

    RecordCursor& m_cursor;
    TableHandle* m_table = nullptr;  // the cursor, when it is a table handle
    size_t m_cacheRows;
    std::vector<ColumnText> m_columns;
    RowTag m_tag;
    Visitor m_visitor;
    std::vector<CursorMark> m_marks;
    std::unordered_map<uint64_t, int> m_rowOf;
    std::unique_ptr<TableHandle> m_rowReader;
    // The cache: rows by index, most recently used first.
    std::list<std::pair<int, GridRowTexts>> m_cache;
    std::unordered_map<int, std::list<std::pair<int, GridRowTexts>>::iterator> m_cached;
    std::vector<GridRowTexts> m_allRows;  // record sets: every row, read on reload
    GridRowTexts m_gone;
    uint64_t m_rowsRead = 0;
    Source m_source = Source::RecordSet;
};

}  // namespace kavina::widgets
