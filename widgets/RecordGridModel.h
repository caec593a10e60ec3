#pragma once
// A grid's model over a table handle or an in-memory record set: the shown columns of the
// records the cursor shows, in its order. Reloading finds which records those are; a row's
// texts are read when the row is painted and kept in a bounded cache (GridRows), so a list of
// fifty thousand products opens, scrolls and searches without reading them all. Painting the
// grid never moves the cursor, which other windows share; selecting a row moves it (moveTo).
// Call reload() after the records, the order or the filter changed.

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <vector>

#include "foundation/RecordCursor.h"
#include "widgets/GridRows.h"

namespace kavina::widgets {

enum class ColumnKind {
    Text,
    Number,   // right-aligned, in the number boxes' form (decimal comma); an empty field stays empty
    Day,      // the day of a date or date-time field, year first (2008.03.15), without the time
    Money,    // right-aligned, as money without the currency: 1 234,50; an empty field stays empty
    MoneyFt,  // right-aligned, as printed on documents: "1 234,50 Ft"; an empty field stays empty
};

struct GridColumn {
    QString title;
    Field field;
    bool bold = false;  // the titles of columns the list can be sorted by
    ColumnKind kind = ColumnKind::Text;
};

class RecordGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The data role of the number a row style gave the row (setRowTag).
    static constexpr int kRowTagRole = Qt::UserRole + 1;

    RecordGridModel(RecordCursor& cursor, std::vector<GridColumn> columns, QObject* parent = nullptr);

    // Finds the shown records again and forgets the rows read; the cursor does not move. Does
    // nothing while the cursor holds a record in edit.
    void reload();
    // The row of the cursor's current record, or -1.
    int currentRow() const;
    // Moves the cursor to the row's record; false when the row is out of range or gone.
    bool moveTo(int row);
    // Marks a column as the current sort column (its title gets a mark), -1 for none.
    void setSortColumn(int column);
    // Shows a column's title highlighted (red and bold), -1 for none: a choice the title stands
    // for, such as the price group a picker prices at.
    void setMarkedColumn(int column);
    const std::vector<GridColumn>& columns() const { return m_columns; }
    // A number kept with each row, read with its texts (for example the row's colour), given
    // by kRowTagRole. Takes effect at the next reload.
    void setRowTag(GridRows::RowTag tag);
    // Sees every shown record while a reload finds them (GridRows::Visitor).
    void setRowVisitor(GridRows::Visitor visitor) { m_rows.setVisitor(std::move(visitor)); }
    // How many rows the model has read from its cursor so far.
    uint64_t rowsRead() const { return m_rows.rowsRead(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RecordCursor& m_cursor;
    std::vector<GridColumn> m_columns;
    mutable GridRows m_rows;
    int m_sortColumn = -1;
    int m_markedColumn = -1;
};

}  // namespace kavina::widgets
